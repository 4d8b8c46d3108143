#include "common/png_image.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <new>
#include <stdexcept>

namespace venuecheck {
namespace {

// Where libpng writes: the PNG bytes, grown as they come. libpng is C, so
// nothing may be thrown through it; a failure to grow stops the encoder.
struct PngSink {
    std::string bytes;
    bool failed = false;
};

void WriteToSink(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    try {
        sink->bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        sink->failed = true;
    } catch (const std::length_error&) {
        sink->failed = true;
    }
    if (sink->failed) png_error(png, "out of memory");
}

void FlushSink(png_structp) {}

void IgnoreWarning(png_structp, png_const_charp) {}

// The libpng calls, kept apart from every C++ object: a failure inside
// libpng returns here by longjmp, which skips destructors.
bool WritePng(png_structp png, png_infop info, const IndexedImage& image, int bitDepth,
              const std::vector<png_text>& texts, png_bytep* rows, PngSink& sink) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &sink, WriteToSink, FlushSink);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), bitDepth, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (size_t i = 0; i < image.palette.size(); ++i) {
        palette[i] = png_color{image.palette[i].red, image.palette[i].green, image.palette[i].blue};
    }
    png_set_PLTE(png, info, palette, static_cast<int>(image.palette.size()));
    if (!texts.empty()) {
        png_set_text(png, info, texts.data(), static_cast<int>(texts.size()));
    }
    // Palette pictures gain nothing from filters; the fastest level still
    // finds the repeats of a map.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

// Packs a row of indexes below 2^Bits into bytes, the first pixel in the
// high bits, the last byte padded with zero bits.
template <unsigned Bits>
void PackRow(const uint8_t* from, size_t width, uint8_t* to) {
    constexpr size_t kPerByte = 8 / Bits;
    const size_t whole = width / kPerByte;
    for (size_t i = 0; i < whole; ++i) {
        unsigned byte = 0;
        for (size_t k = 0; k < kPerByte; ++k) byte = byte << Bits | from[i * kPerByte + k];
        to[i] = static_cast<uint8_t>(byte);
    }
    if (whole * kPerByte < width) {
        unsigned byte = 0;
        for (size_t k = 0; k < kPerByte; ++k) {
            const size_t x = whole * kPerByte + k;
            byte = byte << Bits | (x < width ? from[x] : 0u);
        }
        to[whole] = static_cast<uint8_t>(byte);
    }
}

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string EncodePng(const IndexedImage& image, const std::vector<PngText>& texts) {
    if (image.Empty() || image.palette.empty() || image.palette.size() > 256) return {};
    const size_t width = static_cast<size_t>(image.width);
    const size_t height = static_cast<size_t>(image.height);
    if (image.pixels.size() != width * height) return {};
    // A reduction the compiler can vectorise: every map's pixels pass here.
    uint8_t highest = 0;
    for (const uint8_t index : image.pixels) highest = std::max(highest, index);
    if (highest >= image.palette.size()) return {};

    // As few bits a pixel as the palette needs, the pixels packed from the
    // high bits of each byte: fewer bytes to compress.
    const int bitDepth = image.palette.size() <= 2    ? 1
                         : image.palette.size() <= 4  ? 2
                         : image.palette.size() <= 16 ? 4
                                                      : 8;
    const size_t perByte = static_cast<size_t>(8 / bitDepth);
    const size_t rowBytes = (width + perByte - 1) / perByte;
    std::vector<uint8_t> packed;
    if (bitDepth < 8) {
        packed.resize(rowBytes * height);
        for (size_t y = 0; y < height; ++y) {
            const uint8_t* from = image.pixels.data() + y * width;
            uint8_t* to = packed.data() + y * rowBytes;
            switch (bitDepth) {
                case 1:
                    PackRow<1>(from, width, to);
                    break;
                case 2:
                    PackRow<2>(from, width, to);
                    break;
                default:
                    PackRow<4>(from, width, to);
                    break;
            }
        }
    }
    std::vector<png_bytep> rows(height);
    for (size_t y = 0; y < height; ++y) {
        // libpng only reads the rows it is given to write.
        rows[y] = bitDepth < 8 ? packed.data() + y * rowBytes
                               : const_cast<png_bytep>(image.pixels.data() + y * width);
    }
    std::vector<png_text> chunks;
    for (const PngText& text : texts) {
        png_text chunk{};
        chunk.compression = PNG_TEXT_COMPRESSION_NONE;
        chunk.key = const_cast<png_charp>(text.keyword.c_str());
        chunk.text = const_cast<png_charp>(text.text.c_str());
        chunk.text_length = text.text.size();
        chunks.push_back(chunk);
    }

    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning);
    if (png == nullptr) return {};
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    PngSink sink;
    const bool written = WritePng(png, info, image, bitDepth, chunks, rows.data(), sink);
    png_destroy_write_struct(&png, &info);
    if (!written || sink.failed) return {};
    return std::move(sink.bytes);
}

std::string PngDataUri(const std::string& png) {
    std::string uri = "data:image/png;base64,";
    uri.reserve(uri.size() + (png.size() + 2) / 3 * 4);
    size_t i = 0;
    const auto byte = [&png](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(png[at]));
    };
    for (; i + 3 <= png.size(); i += 3) {
        const uint32_t group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
        uri += kBase64[group >> 18];
        uri += kBase64[(group >> 12) & 63];
        uri += kBase64[(group >> 6) & 63];
        uri += kBase64[group & 63];
    }
    if (i + 1 == png.size()) {
        const uint32_t group = byte(i) << 16;
        uri += kBase64[group >> 18];
        uri += kBase64[(group >> 12) & 63];
        uri += "==";
    } else if (i + 2 == png.size()) {
        const uint32_t group = byte(i) << 16 | byte(i + 1) << 8;
        uri += kBase64[group >> 18];
        uri += kBase64[(group >> 12) & 63];
        uri += kBase64[(group >> 6) & 63];
        uri += '=';
    }
    return uri;
}

}  // namespace venuecheck
