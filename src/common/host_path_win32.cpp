#include "common/host_path.h"

#ifdef _WIN32

#include <windows.h>

namespace venuecheck {

// The C++ library would take 8-bit names as UTF-8 one way and give them back
// as UTF-8 the other; the game's names are in the ANSI code page.

std::filesystem::path HostPath(std::string_view gameName) {
    if (gameName.empty()) return {};
    const int size = static_cast<int>(gameName.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, gameName.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, gameName.data(), size, wide.data(), length);
    return std::filesystem::path(wide);
}

std::string GameName(const std::filesystem::path& hostPath) {
    const std::wstring& wide = hostPath.native();
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

}  // namespace venuecheck

#endif
