#!/usr/bin/env bash
# Makes a release of the commit checked out, everything a user downloads, in
# dist/zulcalc-VERSION/: the Windows installer and portable program, the
# Debian package, the user guide and the calculation method as HTML, release
# notes in Russian and English from CHANGELOG.md, and SHA256SUMS over them.
# Every file carries the commit's date, so another clone of the same commit,
# in any folder, locale or time zone, gives the same SHA256SUMS.
#   bash tools/release.sh        (last line: the folder)
# Needs Qt for Windows, which tools/windows-build.sh builds once (half an hour).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release: the clone has changes that are not committed; a release is of a commit" >&2
    exit 1
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^project(zulcalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The version's entry in the changelog, in both languages, and in the AppStream metadata
for language in ru en; do
    if [ "$(bash tools/changelog.sh notes $language "$version" | grep -c '^- ')" = 0 ]; then
        echo "release: CHANGELOG.md lists no change of version $version ($language)" >&2
        exit 1
    fi
done
if ! grep -q "<release version=\"$version\"" window/desktop/org.example.zulcalc.metainfo.xml; then
    echo "release: the AppStream metadata has no <release> of version $version" >&2
    exit 1
fi

bash tools/package.sh >/dev/null
mapfile -t windows < <(bash tools/windows-build.sh --program | tail -n 2)
dist=dist/zulcalc-$version
rm -rf "$dist" && mkdir -p "$dist"
cp "build-package/zulcalc_${version}_amd64.deb" "${windows[1]}" build-package/docs/*.html "$dist"
cp "${windows[0]}" "$dist/zulcalc-$version-x64.exe" # the portable program
for language in ru en; do
    bash tools/changelog.sh notes "$language" "$version" >"$dist/RELEASE-NOTES.$language.md"
done
touch -d "@$SOURCE_DATE_EPOCH" "$dist"/*
# The names first: a glob in the pipeline could meet SHA256SUMS already made by its redirection.
(cd "$dist" && files=(*) && sha256sum -- "${files[@]}" | LC_ALL=C sort -k 2 >SHA256SUMS &&
    sha256sum --quiet -c SHA256SUMS)
echo "$PWD/$dist"
