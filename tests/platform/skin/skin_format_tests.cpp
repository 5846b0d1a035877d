// The skin block format, the generated blocks and the style sheet.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "skin_format.h"
#include "skin_style.h"

using namespace skin;

namespace {

Skin Sample() {
    Skin s;
    s.name = "Sample";
    s.window = {1, 2, 3};
    s.text = {4, 5, 6};
    s.base = {7, 8, 9};
    s.button = {10, 11, 12};
    s.buttonText = {13, 14, 15};
    s.highlight = {16, 17, 18};
    s.highlightText = {19, 20, 21};
    s.frame = {22, 23, 24};
    s.frameWidth = 2;
    s.radius = 5;
    s.fontFamily = "WenQuanYi Micro Hei";
    s.fontSize = 11;
    return s;
}

std::optional<Skin> Read(const std::string &block) {
    return ReadSkinBlock(reinterpret_cast<const uint8_t *>(block.data()), block.size());
}

// Rewrites the header's field count, body length and checksum after a body edit.
std::string Reseal(std::string block, uint16_t fields) {
    uint32_t body = uint32_t(block.size() - kHeaderSize);
    uint32_t crc = Crc32(reinterpret_cast<const uint8_t *>(block.data()) + kHeaderSize, body);
    block[6] = char(fields & 0xFF);
    block[7] = char(fields >> 8);
    for (int i = 0; i < 4; ++i) {
        block[size_t(8 + i)] = char(body >> (8 * i));
        block[size_t(12 + i)] = char(crc >> (8 * i));
    }
    return block;
}

std::string ReadFile(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

} // namespace

TEST(SkinFormat, ABlockReadsBackAsWritten) {
    std::string block = WriteSkinBlock(Sample());
    EXPECT_EQ(block.substr(0, 4), ".SHE");
    auto s = Read(block);
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, Sample());
}

TEST(SkinFormat, DamagedBlocksAreRefused) {
    std::string good = WriteSkinBlock(Sample());
    EXPECT_FALSE(Read(""));
    EXPECT_FALSE(ReadSkinBlock(nullptr, 100));
    EXPECT_FALSE(Read(good.substr(0, good.size() - 1))); // cut short
    EXPECT_FALSE(Read(good + "x"));                     // trailing byte
    std::string magic = good;
    magic[1] = 's';
    EXPECT_FALSE(Read(magic));
    std::string version = good;
    version[4] = 2;
    EXPECT_FALSE(Read(version));
    std::string flipped = good;
    flipped[good.size() - 5] ^= 0x40; // a body byte: the checksum no longer fits
    EXPECT_FALSE(Read(flipped));
    // A field running past the body, even with a fitting checksum.
    std::string overrun = good;
    overrun[kHeaderSize + 1] = char(0xFF);
    EXPECT_FALSE(Read(Reseal(overrun, 13)));
    // A colour of the wrong size.
    std::string shortColour = WriteSkinBlock(Sample());
    size_t window = kHeaderSize + 3 + Sample().name.size();
    shortColour.erase(window + 3 + 2, 1);
    shortColour[window + 1] = 2;
    EXPECT_FALSE(Read(Reseal(shortColour, 13)));
}

TEST(SkinFormat, UnknownFieldsAreSkippedAndRequiredOnesChecked) {
    std::string block = WriteSkinBlock(Sample()) + std::string("\x63\x02\x00zz", 5);
    auto s = Read(Reseal(block, 14));
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, Sample());
    // Only the name: no window or text colour.
    std::string nameOnly = std::string(".SHE\x01\x00", 6) + std::string(10, '\0') + std::string("\x01\x01\x00n", 4);
    EXPECT_FALSE(Read(Reseal(nameOnly, 1)));
}

TEST(SkinFormat, ColoursAreWrittenAndParsedAsHex) {
    EXPECT_EQ(ColourText({0xdf, 0xe8, 0xf5}), "#dfe8f5");
    EXPECT_EQ(ParseColour("#DFE8F5"), (Colour{0xdf, 0xe8, 0xf5}));
    EXPECT_FALSE(ParseColour("dfe8f5"));
    EXPECT_FALSE(ParseColour("#dfe8g5"));
    EXPECT_FALSE(ParseColour("#dfe8f"));
}

TEST(SkinBlocks, The33GeneratedBlocksAreValidAndDistinct) {
    std::set<std::string> names;
    for (int n = 1; n <= 33; ++n) {
        char file[32];
        std::snprintf(file, sizeof file, "/skin%02d.she", n);
        std::string block = ReadFile(std::string(SKIN_BLOCK_DIR) + file);
        auto s = Read(block);
        ASSERT_TRUE(s) << "block " << n;
        names.insert(s->name);
        if (n == 13) {
            EXPECT_EQ(s->name, "Azure Classic");
            EXPECT_EQ(s->window, (Colour{0xdf, 0xe8, 0xf5}));
            EXPECT_EQ(s->fontFamily, "WenQuanYi Micro Hei");
        }
    }
    EXPECT_EQ(names.size(), 33u);
}

TEST(SkinStyle, TheSheetCarriesTheColoursAndAWellFormedFont) {
    Skin s = Sample();
    s.fontFamily = "Evil\"; } QWidget { color: red";
    std::string sheet = StyleSheetOf(s);
    EXPECT_NE(sheet.find("background-color: #010203"), std::string::npos);
    EXPECT_NE(sheet.find("border: 2px solid #161718; border-radius: 5px;"), std::string::npos);
    EXPECT_NE(sheet.find("font-size: 11pt;"), std::string::npos);
    EXPECT_NE(sheet.find("font-family: \"Evil  QWidget { color: red\";"), std::string::npos);
}
