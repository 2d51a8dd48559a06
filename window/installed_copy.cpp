#include "window/installed_copy.h"

#include <QDir>

#ifdef _WIN32
#ifndef NOMINMAX // Qt 6.8 passes it to whatever links Qt
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <tuple>
#else
#include <QFileInfo>
#endif

namespace zulcalc {

#ifdef _WIN32

namespace {

// A folder's identity: the same for every path that leads to it, whatever
// its case, its short (8.3) names or the links on the way. Microsoft's
// GetFileInformationByHandle: "You can compare the VolumeSerialNumber and
// FileIndex members ... to determine if two paths map to the same target".
std::optional<std::tuple<DWORD, DWORD, DWORD>> identity(const std::wstring& folder) {
    // Only its attributes are read, which every user may of Program Files;
    // a folder opens only with FILE_FLAG_BACKUP_SEMANTICS.
    const HANDLE handle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!read)
        return std::nullopt;
    return std::tuple{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

} // namespace

bool isInstalledCopy(const QString& programDir) {
    // The installer records the folder it installed into
    // (tools/windows/zulcalc.wxs); removing the program removes the record.
    std::array<wchar_t, 32768> installed{}; // the longest path Windows has
    DWORD size = static_cast<DWORD>(installed.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\zulcalc", L"InstallFolder", RRF_RT_REG_SZ,
                     nullptr, installed.data(), &size) != ERROR_SUCCESS)
        return false;
    const auto program = identity(QDir::toNativeSeparators(programDir).toStdWString());
    return program && program == identity(installed.data());
}

#else

bool isInstalledCopy(const QString& programDir) {
    // The install rules put this file in the data folder beside the program's
    // (window/CMakeLists.txt); a copy anywhere else has none there.
    return QFileInfo(QDir(programDir).filePath(QStringLiteral(ZULCALC_INSTALLED_MARKER))).isFile();
}

#endif

} // namespace zulcalc
