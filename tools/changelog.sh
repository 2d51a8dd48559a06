#!/usr/bin/env bash
# CHANGELOG.md is the one list of changes; the others are made from it:
#   bash tools/changelog.sh debian            the Debian package's changelog
#   bash tools/changelog.sh notes ru|en VER   one version's release notes
# Its form: "## VERSION (YYYY-MM-DD)", then "### По-русски" and
# "### In English", each a list of "- " items (continued by indented lines).
set -euo pipefail
export LC_ALL=C.UTF-8
changes=$(dirname "$0")/../CHANGELOG.md

# The items of one version in one language, one a line.
items() { # version, heading
    awk -v version="$1" -v heading="$2" '
        /^## / { inVersion = ($2 == version); next }
        /^### / { inLanguage = inVersion && substr($0, 5) == heading; next }
        inLanguage && /^- / { if (item) print item; item = substr($0, 3); next }
        inLanguage && /^  +[^ ]/ { sub(/^ +/, ""); item = item " " $0 }
        END { if (item) print item }' "$changes"
}

case ${1:-} in
debian)
    # Each version's English items, newest first, as dpkg-parsechangelog reads them.
    grep '^## ' "$changes" | while read -r _ version date; do
        echo "zulcalc ($version) unstable; urgency=medium"
        echo
        english=$(items "$version" "In English")
        if [ -z "$english" ]; then # an entry dpkg would refuse: the build stops here instead
            echo "CHANGELOG.md: version $version lists no change in English" >&2
            exit 1
        fi
        while read -r item; do
            fold -s -w 72 <<<"$item" | sed -E '1s/^/  * /; 2,$s/^/    /; s/ +$//'
        done <<<"$english"
        echo
        echo " -- zulcalc developers <developers@zulcalc.example.org>  $(date -u -R -d "${date//[()]/} 12:00")"
        echo
    done | sed '$d'
    ;;
notes)
    heading=$([ "${2:-}" = ru ] && echo "По-русски" || echo "In English")
    title=$([ "${2:-}" = ru ] && echo "Расчет ЗУЛ (zulcalc) $3: что нового" || echo "zulcalc $3: what is new")
    printf '# %s\n\n' "$title"
    items "$3" "$heading" | sed 's/^/- /'
    ;;
*)
    echo "usage: $0 debian | notes ru|en VERSION" >&2
    exit 2
    ;;
esac
