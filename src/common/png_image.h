#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace venuecheck {

struct PaletteColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

// A picture in palette colours: one byte a pixel, an index into the palette,
// row after row from the top.
struct IndexedImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<PaletteColour> palette;  // at most 256 colours
    std::vector<uint8_t> pixels;         // width * height indexes

    bool Empty() const { return width <= 0 || height <= 0; }
    uint8_t IndexAt(int32_t x, int32_t y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    PaletteColour ColourAt(int32_t x, int32_t y) const { return palette[IndexAt(x, y)]; }
};

// A text chunk of a PNG file: a keyword ("Title", "Description", ...) and
// Latin-1 text.
struct PngText {
    std::string keyword;
    std::string text;
};

// The bytes of a PNG file of the image in palette colour, with as few bits
// a pixel as the palette needs (1, 2, 4 or 8), compressed for speed over
// size (a map is written for every peg of a run). Empty when the image is
// empty, its palette holds more than 256 colours or too few for its pixels,
// or the encoder fails.
std::string EncodePng(const IndexedImage& image, const std::vector<PngText>& texts = {});

// The text of a data: URI for PNG bytes ("data:image/png;base64,...").
std::string PngDataUri(const std::string& png);

}  // namespace venuecheck
