#include "common/host_path.h"

#ifndef _WIN32

namespace venuecheck {

std::filesystem::path HostPath(std::string_view gameName) {
    return std::filesystem::path(std::string(gameName));
}

std::string GameName(const std::filesystem::path& hostPath) {
    return hostPath.string();
}

}  // namespace venuecheck

#endif
