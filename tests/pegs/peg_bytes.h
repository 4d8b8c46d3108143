#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace venuecheck::test {

struct CellBytes {
    uint32_t mask = 0;
    uint8_t depth = 0;
};

// The bytes of a peg data file: `objects` slots of the object table in use,
// the cell size, then the cells.
inline std::string PegBytes(int objects, int16_t cellHeight, int16_t cellWidth,
                            const std::vector<CellBytes>& cells) {
    std::string bytes(424 + 7 * cells.size(), '\0');
    for (int slot = 0; slot < objects; ++slot) bytes[static_cast<size_t>(slot) * 13] = 'o';
    auto put16 = [&bytes](size_t at, int16_t value) {
        bytes[at] = static_cast<char>(value & 0xff);
        bytes[at + 1] = static_cast<char>((value >> 8) & 0xff);
    };
    put16(416, cellHeight);
    put16(418, cellWidth);
    for (size_t i = 0; i < cells.size(); ++i) {
        const size_t at = 424 + 7 * i;
        for (int b = 0; b < 4; ++b) bytes[at + b] = static_cast<char>(cells[i].mask >> (8 * b));
        bytes[at + 4] = static_cast<char>(cells[i].depth);
    }
    return bytes;
}

}  // namespace venuecheck::test
