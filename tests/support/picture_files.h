// Small picture files written byte by byte, so that the tests need no image library
// and build for Windows too. Every picture is 16 by 16 pixels in four 8 by 8 quarters:
// top-left red, top-right green, bottom-left blue, bottom-right yellow; in the icon and
// cursor the bottom-right quarter is transparent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace picture_files {

struct Rgb {
    uint8_t r, g, b;
};
constexpr Rgb kQuarters[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
constexpr int kSide = 16;

// The quarter (0 to 3) of a pixel, rows counted from the top.
inline int QuarterAt(int x, int y) { return (y >= kSide / 2 ? 2 : 0) + (x >= kSide / 2 ? 1 : 0); }

inline void Put(std::string &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i));
}
inline void PutBigEndian(std::string &out, uint32_t value) {
    for (int i = 3; i >= 0; --i) out += char(value >> (8 * i));
}

// A BMP file: file header, information header (height negative for top-down rows),
// then `extra` (bit masks or palette) and the pixel bytes.
inline std::string BmpFile(int width, int height, int bits, uint32_t compression, const std::string &extra,
                           const std::string &pixels, uint32_t colours = 0) {
    std::string out = "BM";
    Put(out, uint32_t(54 + extra.size() + pixels.size()), 4);
    Put(out, 0, 4);
    Put(out, uint32_t(54 + extra.size()), 4);
    Put(out, 40, 4);
    Put(out, uint32_t(width), 4);
    Put(out, uint32_t(height), 4);
    Put(out, 1, 2);
    Put(out, uint32_t(bits), 2);
    Put(out, compression, 4);
    Put(out, uint32_t(pixels.size()), 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, colours, 4);
    Put(out, 0, 4);
    return out + extra + pixels;
}

inline std::string Palette() {
    std::string out;
    for (const Rgb &c : kQuarters) out += {char(c.b), char(c.g), char(c.r), 0};
    return out;
}

// Rows in file order: bottom-up unless `topDown`; each row padded to 4 bytes.
inline std::string DirectRows(int bits, bool topDown) {
    std::string out;
    for (int row = 0; row < kSide; ++row) {
        int y = topDown ? row : kSide - 1 - row;
        std::string line;
        for (int x = 0; x < kSide; ++x) {
            Rgb c = kQuarters[QuarterAt(x, y)];
            if (bits == 16) Put(line, uint32_t((c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3)), 2);
            else line += {char(c.b), char(c.g), char(c.r)};
            if (bits == 32) line += char(0);
        }
        while (line.size() % 4) line += char(0);
        out += line;
    }
    return out;
}

inline std::string Bmp24(bool topDown = false) {
    return BmpFile(kSide, topDown ? -kSide : kSide, 24, 0, "", DirectRows(24, topDown));
}

inline std::string Bmp16BitFields() {
    std::string masks;
    Put(masks, 0xF800, 4), Put(masks, 0x07E0, 4), Put(masks, 0x001F, 4);
    return BmpFile(kSide, kSide, 16, 3, masks, DirectRows(16, false));
}

inline std::string Bmp32BitFields() {
    std::string masks;
    Put(masks, 0x00FF0000, 4), Put(masks, 0x0000FF00, 4), Put(masks, 0x000000FF, 4);
    return BmpFile(kSide, kSide, 32, 3, masks, DirectRows(32, false));
}

// 4 bits per pixel, two pixels a byte, indexes into the four-colour palette.
inline std::string Bmp4() {
    std::string rows;
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; x += 2) rows += char(QuarterAt(x, y) << 4 | QuarterAt(x + 1, y));
    return BmpFile(kSide, kSide, 4, 0, Palette(), rows, 4);
}

// 8 bits per pixel, run-length encoded: two runs of eight per row, end of line, end
// of picture.
inline std::string Bmp8Rle() {
    std::string runs;
    for (int y = kSide - 1; y >= 0; --y) runs += {8, char(QuarterAt(0, y)), 8, char(QuarterAt(8, y)), 0, 0};
    runs += {0, 1};
    return BmpFile(kSide, kSide, 8, 1, Palette(), runs, 4);
}

// A bottom-up 32-bit image with its AND mask, as icon directories hold them; the
// bottom-right quarter is transparent.
inline std::string IconImage() {
    std::string out;
    Put(out, 40, 4), Put(out, kSide, 4), Put(out, kSide * 2, 4), Put(out, 1, 2), Put(out, 32, 2);
    for (int i = 0; i < 6; ++i) Put(out, 0, 4);
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; ++x) {
            Rgb c = kQuarters[QuarterAt(x, y)];
            bool clear = QuarterAt(x, y) == 3;
            out += {char(clear ? 0 : c.b), char(clear ? 0 : c.g), char(clear ? 0 : c.r), char(clear ? 0 : 255)};
        }
    for (int y = kSide - 1; y >= 0; --y) {
        uint16_t mask = y >= kSide / 2 ? 0x00FF : 0; // bit 1: transparent; leftmost pixel in the high bit
        out += {char(mask >> 8), char(mask & 0xFF), 0, 0};
    }
    return out;
}

// An icon (type 1) or a cursor (type 2, hot spot 3,5) with one image.
inline std::string IconFile(int type) {
    std::string image = IconImage(), out;
    Put(out, 0, 2), Put(out, uint32_t(type), 2), Put(out, 1, 2);
    out += {char(kSide), char(kSide), 0, 0};
    Put(out, type == 2 ? 3 : 1, 2), Put(out, type == 2 ? 5 : 32, 2);
    Put(out, uint32_t(image.size()), 4), Put(out, 22, 4);
    return out + image;
}

inline uint32_t Crc32(const std::string &bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline void PngChunk(std::string &out, const std::string &type, const std::string &data) {
    PutBigEndian(out, uint32_t(data.size()));
    out += type + data;
    PutBigEndian(out, Crc32(type + data));
}

// 8-bit RGB, each row with filter 0, in one stored (uncompressed) deflate block.
inline std::string Png() {
    std::string raw;
    for (int y = 0; y < kSide; ++y) {
        raw += char(0);
        for (int x = 0; x < kSide; ++x) {
            Rgb c = kQuarters[QuarterAt(x, y)];
            raw += {char(c.r), char(c.g), char(c.b)};
        }
    }
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
    std::string zlib = {0x78, 0x01, 0x01};
    Put(zlib, uint32_t(raw.size()), 2);
    Put(zlib, uint32_t(~raw.size() & 0xFFFF), 2);
    zlib += raw;
    PutBigEndian(zlib, b << 16 | a);
    std::string header;
    PutBigEndian(header, kSide), PutBigEndian(header, kSide);
    header += {8, 2, 0, 0, 0};
    std::string out = "\x89PNG\r\n\x1a\n";
    PngChunk(out, "IHDR", header);
    PngChunk(out, "IDAT", zlib);
    PngChunk(out, "IEND", "");
    return out;
}

// LZW codes of 3 bits for a four-colour image: a clear code before every pair of
// pixels keeps the code width from growing.
inline std::string GifImageData(const std::vector<int> &pixels) {
    std::string bytes;
    uint32_t buffer = 0;
    int count = 0;
    auto code = [&](int c) {
        buffer |= uint32_t(c) << count;
        for (count += 3; count >= 8; count -= 8, buffer >>= 8) bytes += char(buffer & 0xFF);
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % 2 == 0) code(4);
        code(pixels[i]);
    }
    code(5);
    if (count) bytes += char(buffer & 0xFF);
    std::string out = {2};
    for (size_t at = 0; at < bytes.size(); at += 255) {
        std::string block = bytes.substr(at, 255);
        out += char(block.size()) + block;
    }
    return out + char(0);
}

inline std::string GifFrame(const std::vector<int> &pixels) {
    std::string out = {0x21, char(0xF9), 4, 0, 10, 0, 0, 0, 0x2C};
    Put(out, 0, 2), Put(out, 0, 2), Put(out, kSide, 2), Put(out, kSide, 2);
    return out + char(0) + GifImageData(pixels);
}

// Two frames; only the first (the quarters) is the picture, the second is all yellow.
inline std::string Gif() {
    std::string out = "GIF89a";
    Put(out, kSide, 2), Put(out, kSide, 2);
    out += {char(0x81), 0, 0};
    for (const Rgb &c : kQuarters) out += {char(c.r), char(c.g), char(c.b)};
    std::vector<int> first, second(kSide * kSide, 3);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) first.push_back(QuarterAt(x, y));
    return out + GifFrame(first) + GifFrame(second) + char(0x3B);
}

// Baseline JPEG with only DC coefficients: each 8 by 8 block is one colour, which
// decodes back to within rounding of the YCbCr conversion. The DC table gives every
// size category a 4-bit code; the AC table's only code "0" ends each block.
inline std::string Jpeg() {
    auto segment = [](std::string &out, int marker, const std::string &body) {
        out += {char(0xFF), char(marker), char((body.size() + 2) >> 8), char((body.size() + 2) & 0xFF)};
        out += body;
    };
    std::string out = {char(0xFF), char(0xD8)};
    segment(out, 0xDB, std::string(1, 0) + std::string(64, 1));
    std::string frame = {8, 0, char(kSide), 0, char(kSide), 3};
    for (char id = 1; id <= 3; ++id) frame += {id, 0x11, 0};
    segment(out, 0xC0, frame);
    std::string dc = {0x00, 0, 0, 0, 12};
    dc += std::string(12, 0);
    for (char s = 0; s < 12; ++s) dc += s;
    std::string ac = {0x10, 1};
    ac += std::string(15, 0);
    ac += char(0);
    segment(out, 0xC4, dc + ac);
    segment(out, 0xDA, {3, 1, 0, 2, 0, 3, 0, 0, 63, 0});
    std::string scan;
    uint32_t bits = 0;
    int count = 0;
    auto putBits = [&](uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) {
            bits = bits << 1 | ((value >> i) & 1);
            if (++count == 8) {
                scan += char(bits);
                if (bits == 0xFF) scan += char(0);
                bits = 0, count = 0;
            }
        }
    };
    int previous[3] = {0, 0, 0};
    for (int block = 0; block < 4; ++block) {
        Rgb c = kQuarters[block];
        double y = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
        double levels[3] = {y, 128 + (c.b - y) / 1.772, 128 + (c.r - y) / 1.402};
        for (int k = 0; k < 3; ++k) {
            int level = int(levels[k] + 0.5);
            level = level < 0 ? 0 : level > 255 ? 255 : level;
            int value = 8 * (level - 128), diff = value - previous[k];
            previous[k] = value;
            int size = 0;
            for (int m = diff < 0 ? -diff : diff; m; m >>= 1) ++size;
            putBits(uint32_t(size), 4);
            if (size) putBits(uint32_t(diff < 0 ? diff + (1 << size) - 1 : diff), size);
            putBits(0, 1);
        }
    }
    if (count) putBits(0x7F, 8 - count);
    out += scan;
    return out + char(0xFF) + char(0xD9);
}

// A BMP header whose depth (7 bits) no reader accepts.
inline std::string DamagedBmp() {
    std::string data = Bmp24();
    data[28] = 7;
    return data;
}

// A BMP declaring 100000 by 100000 pixels with the bytes of a 16 by 16 one.
inline std::string OversizedBmp() {
    return BmpFile(100000, 100000, 24, 0, "", DirectRows(24, false));
}

} // namespace picture_files
