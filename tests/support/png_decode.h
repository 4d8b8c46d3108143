#pragma once

// Reads PNG bytes back with libpng, for tests that check the pictures they
// make. Only for test programs that link libpng.

#include <png.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace venuecheck::test {

struct DecodedPng {
    uint32_t width = 0;
    uint32_t height = 0;
    bool palette = false;                        // stored as palette colours
    std::vector<std::array<uint8_t, 3>> pixels;  // RGB, row after row

    std::array<uint8_t, 3> At(uint32_t x, uint32_t y) const { return pixels[y * width + x]; }
};

// None when libpng refuses the bytes.
inline std::optional<DecodedPng> DecodePng(const std::string& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
    DecodedPng decoded;
    decoded.width = image.width;
    decoded.height = image.height;
    decoded.palette = (image.format & PNG_FORMAT_FLAG_COLORMAP) != 0;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    decoded.pixels.resize(static_cast<size_t>(decoded.width) * decoded.height);
    for (size_t i = 0; i < decoded.pixels.size(); ++i) {
        decoded.pixels[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
    }
    return decoded;
}

}  // namespace venuecheck::test
