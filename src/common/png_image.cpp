#include "common/png_image.h"

#include <png.h>
#include <zlib.h>

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
bool WritePng(png_structp png, png_infop info, const IndexedImage& image,
              const std::vector<png_text>& texts, png_bytep* rows, PngSink& sink) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &sink, WriteToSink, FlushSink);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (size_t i = 0; i < image.palette.size(); ++i) {
        palette[i] = png_color{image.palette[i].red, image.palette[i].green, image.palette[i].blue};
    }
    png_set_PLTE(png, info, palette, static_cast<int>(image.palette.size()));
    if (!texts.empty()) {
        png_set_text(png, info, texts.data(), static_cast<int>(texts.size()));
    }
    // Palette pictures gain nothing from filters; runs of one colour are
    // what the maps hold, and the fastest level finds them.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string EncodePng(const IndexedImage& image, const std::vector<PngText>& texts) {
    if (image.Empty() || image.palette.empty() || image.palette.size() > 256) return {};
    const size_t width = static_cast<size_t>(image.width);
    const size_t height = static_cast<size_t>(image.height);
    if (image.pixels.size() != width * height) return {};
    for (const uint8_t index : image.pixels) {
        if (index >= image.palette.size()) return {};
    }

    std::vector<png_bytep> rows(height);
    for (size_t y = 0; y < height; ++y) {
        // libpng only reads the rows it is given to write.
        rows[y] = const_cast<png_bytep>(image.pixels.data() + y * width);
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
    const bool written = WritePng(png, info, image, chunks, rows.data(), sink);
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
