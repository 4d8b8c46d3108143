#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace venuecheck {

class GameFolder;

// The temporary plain copy of a scrambled file, relative to the game folder.
inline constexpr std::string_view kTempPlainCopy = "data/_temp.dat";

// Length of the header of a scrambled file; the payload follows it.
inline constexpr size_t kScrambledHeaderSize = 51;

uint8_t ScrambleByte(uint8_t plain);
uint8_t DescrambleByte(uint8_t scrambled);

// True when the bytes begin with the five-byte magic of a scrambled file.
bool IsScrambled(std::string_view bytes);

// The plain content of a scrambled file: every byte after the header, passed
// through the descramble permutation (empty when the file is no longer than
// its header).
std::string Descramble(std::string_view scrambled);

// A scrambled file made from plain content, as the game's tools write it
// (the header bytes after the magic are zero).
std::string Scramble(std::string_view plain);

// A data file as its reader parses it.
struct PlainText {
    std::string bytes;       // untranslated bytes of the plain content
    bool scrambled = false;  // true when the file was scrambled and descrambled
    bool opened = false;     // false when the file could not be opened
};

// Reads a venue, species or stock file the way the game does: a scrambled
// file is descrambled into the temporary plain copy, which is deleted again
// once read. When the copy cannot be written (no data folder, read-only
// folder) the file is descrambled in memory instead, never parsed as if it
// were plain.
PlainText ReadDataFile(const GameFolder& folder, std::string_view path);

}  // namespace venuecheck
