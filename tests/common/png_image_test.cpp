#include "common/png_image.h"

#include <gtest/gtest.h>

#include <string>

#include "support/png_decode.h"

namespace venuecheck {
namespace {

IndexedImage ThreeByTwo() {
    IndexedImage image;
    image.width = 3;
    image.height = 2;
    image.palette = {{255, 0, 0}, {0, 128, 0}, {10, 20, 30}};
    image.pixels = {0, 1, 2, 2, 1, 0};
    return image;
}

TEST(EncodePng, DecodesToTheSamePixels) {
    const IndexedImage image = ThreeByTwo();
    const std::string png = EncodePng(image, {{"Title", "Peg 1"}});
    ASSERT_FALSE(png.empty());
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const auto decoded = test::DecodePng(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 3u);
    EXPECT_EQ(decoded->height, 2u);
    EXPECT_TRUE(decoded->palette);
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const PaletteColour want = image.ColourAt(x, y);
            const auto got = decoded->At(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
            EXPECT_EQ(got, (std::array<uint8_t, 3>{want.red, want.green, want.blue}))
                << x << "," << y;
        }
    }
    EXPECT_NE(png.find("tEXtTitle"), std::string::npos);
}

TEST(EncodePng, EveryPaletteSizePacksAndDecodes) {
    // 1, 2, 4 and 8 bits a pixel, rows that end inside a byte.
    for (const size_t colours : {1u, 2u, 3u, 4u, 5u, 16u, 17u, 256u}) {
        IndexedImage image;
        image.width = 13;
        image.height = 3;
        for (size_t i = 0; i < colours; ++i) {
            image.palette.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7});
        }
        for (int32_t i = 0; i < image.width * image.height; ++i) {
            image.pixels.push_back(static_cast<uint8_t>((i * 7 + i / 13) % colours));
        }
        const auto decoded = test::DecodePng(EncodePng(image));
        ASSERT_TRUE(decoded) << colours;
        ASSERT_EQ(decoded->width, 13u);
        ASSERT_EQ(decoded->height, 3u);
        for (int32_t y = 0; y < image.height; ++y) {
            for (int32_t x = 0; x < image.width; ++x) {
                const PaletteColour want = image.ColourAt(x, y);
                EXPECT_EQ(decoded->At(static_cast<uint32_t>(x), static_cast<uint32_t>(y)),
                          (std::array<uint8_t, 3>{want.red, want.green, want.blue}))
                    << colours << " colours, " << x << "," << y;
            }
        }
    }
}

TEST(EncodePng, LargePictureOfRunsStaysSmall) {
    IndexedImage image;
    image.width = 480;
    image.height = 1440;
    image.palette = {{0, 0, 0}, {255, 255, 255}};
    image.pixels.assign(480u * 1440u, 0);
    for (size_t i = 0; i < image.pixels.size(); i += 7) image.pixels[i] = 1;
    const std::string png = EncodePng(image);
    const auto decoded = test::DecodePng(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 480u);
    EXPECT_EQ(decoded->height, 1440u);
    EXPECT_EQ(decoded->At(7, 0), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(decoded->At(8, 0), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_LT(png.size(), image.pixels.size() / 10);
}

TEST(EncodePng, RefusesWhatIsNoPicture) {
    struct Case {
        const char* name;
        void (*spoil)(IndexedImage&);
    };
    const Case cases[] = {
        {"no width", [](IndexedImage& i) { i.width = 0; }},
        {"no height", [](IndexedImage& i) { i.height = 0; }},
        {"negative height", [](IndexedImage& i) { i.height = -2; }},
        {"no palette", [](IndexedImage& i) { i.palette.clear(); }},
        {"index beyond the palette", [](IndexedImage& i) { i.pixels[4] = 3; }},
        {"more than 256 colours", [](IndexedImage& i) { i.palette.resize(257); }},
        {"fewer pixels than the size", [](IndexedImage& i) { i.pixels.pop_back(); }},
        {"more pixels than the size", [](IndexedImage& i) { i.pixels.push_back(0); }},
    };
    for (const Case& c : cases) {
        IndexedImage image = ThreeByTwo();
        c.spoil(image);
        EXPECT_EQ(EncodePng(image), "") << c.name;
    }
}

TEST(PngDataUri, Base64OfEachLengthOfTheLastGroup) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},        {"M", "TQ=="},        {"Ma", "TWE="},
        {"Man", "TWFu"}, {"Many", "TWFueQ=="}, {std::string("\xff\xfe\x00\x01", 4), "//4AAQ=="},
    };
    for (const auto& [bytes, base64] : cases) {
        EXPECT_EQ(PngDataUri(bytes), "data:image/png;base64," + base64) << base64;
    }
}

}  // namespace
}  // namespace venuecheck
