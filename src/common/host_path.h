#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace venuecheck {

// Names in the game's data are 8-bit text. On Windows they are in the ANSI
// code page, as the game's own file calls read them; elsewhere they are the
// bytes of the host's names.

// The host path of one name from the game's data.
std::filesystem::path HostPath(std::string_view gameName);

// A host path as 8-bit text again (a character the ANSI code page lacks
// becomes '?', as for the game).
std::string GameName(const std::filesystem::path& hostPath);

}  // namespace venuecheck
