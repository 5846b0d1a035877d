// Writes every fuzz target's seed corpus: fuzz_seeds DIR makes DIR/<target>/seed-N,
// from the project's own writers (window sets, skin blocks, WAV images) and a few
// hand-made inputs in each call-driving target's form.
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "MainWindowSet.h"
#include "fuzz_input.h"
#include "picture_files.h"
#include "skin_format.h"
#include "wave_image.h"

namespace {

using fuzz::FuzzWriter;
using Seeds = std::vector<std::string>;

std::string BigEndian(uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += char((v >> (8 * i)) & 0xFF);
    return out;
}

Seeds WindowSets() { return {std::string(reinterpret_cast<const char *>(image::MainWindowSet), image::kMainWindowSetSize)}; }

Seeds SkinBlocks() {
    skin::Skin plain{"plain", {240, 240, 240}, {0, 0, 0}, {255, 255, 255}, {}, {}, {}, {}, {}, 1, 0, "", 9};
    skin::Skin round = plain;
    round.name = "round";
    round.radius = 6;
    round.fontFamily = "Sans";
    return {skin::WriteSkinBlock(plain), skin::WriteSkinBlock(round)};
}

Seeds Waves() {
    using namespace testsupport;
    std::string stereo16 = RiffImage(WaveChunk("fmt ", WaveFormatBody(1, 2, 22050, 16)) + WaveChunk("data", std::string(16, '\x10')));
    std::string float32 = RiffImage(WaveChunk("fmt ", WaveFormatBody(3, 1, 8000, 32)) + WaveChunk("data", std::string(8, '\0')));
    return {MonoWave("\x80\x90\xa0\x90\x80\x70"), stereo16, float32};
}

Seeds Songs() {
    auto track = [](const std::string &events) { return "MTrk" + BigEndian(uint32_t(events.size()), 4) + events; };
    auto song = [](uint16_t format, const Seeds &tracks) {
        std::string out = "MThd" + BigEndian(6, 4) + BigEndian(format, 2) + BigEndian(uint16_t(tracks.size()), 2) +
                          BigEndian(96, 2);
        for (const std::string &t : tracks) out += t;
        return out;
    };
    const std::string end("\x00\xff\x2f\x00", 4);
    std::string note("\x00\x90\x45\x64\x60\x80\x45\x00", 8);
    std::string drums("\x00\x99\x24\x64\x30\x89\x24\x00\x00\xff\x51\x03\x07\xa1\x20", 15);
    return {song(0, {track(note + end)}), song(1, {track(note + end), track(drums + end)})};
}

std::string Utf16(const std::string &ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

Seeds Patterns() {
    auto input = [](uint8_t flags, const std::string &pattern, const std::string &replacement, const std::string &subject) {
        return FuzzWriter().Byte(flags).Text(Utf16(pattern)).Text(Utf16(replacement)).Rest(Utf16(subject)).Bytes();
    };
    return {input(2, "(\\w+)@(\\w+)\\.com", "$2:$1", "ana@site.com, bo@web.com"),
            input(7, "^a.c$", "[$&]", "abc\r\nA-C\nxyz"), input(2, "\\u4e2d|[^]|x*", "$`$'$$", "xx")};
}

// Text command inputs: command number, argument count, then each argument as a kind
// byte and its contents (see fuzz_values.h).
Seeds TextCalls() {
    auto text = [](FuzzWriter &w, const std::string &s) -> FuzzWriter & { return w.Byte(1).Text(s); };
    auto integer = [](FuzzWriter &w, int32_t v) -> FuzzWriter & { return w.Byte(2).Integer(v); };
    Seeds seeds;
    FuzzWriter find;
    text(find.Byte(5).Byte(3), "\xd6\xd0\xce\xc4 abc \xd6\xd0");
    integer(text(find, "\xd6\xd0"), 2);
    seeds.push_back(find.Bytes());
    FuzzWriter replace;
    integer(integer(text(replace.Byte(13).Byte(4), "one two three"), 5), 3);
    text(replace, "2");
    seeds.push_back(replace.Bytes());
    FuzzWriter split;
    text(text(split.Byte(14).Byte(2), "a,b,,\xd6\xd0,c"), ",");
    seeds.push_back(split.Bytes());
    FuzzWriter trim;
    text(trim.Byte(11).Byte(1), "  \xa1\xa1 x \xa1\xa1  ");
    seeds.push_back(trim.Bytes());
    seeds.push_back(FuzzWriter().Byte(17).Byte(1).Byte(1).Text(" -12.5e3abc").Bytes());
    seeds.push_back(FuzzWriter().Byte(19).Byte(1).Byte(3).Double(-1234.5678e-9).Bytes());
    seeds.push_back(FuzzWriter().Byte(19).Byte(1).Byte(5).Double(45678.75).Bytes());
    seeds.push_back(FuzzWriter().Byte(21).Byte(1).Byte(5).Double(-657434.0).Bytes());
    return seeds;
}

// Byte-set inputs: data type, position, walk flag, the set, two further arguments.
Seeds ByteSetCalls() {
    std::string mixed("\x01\x00\x00\x00\x02\x00\x00\x00" "ab\0cd\0", 14);
    return {FuzzWriter().Byte(2).Integer(1).Byte(1).Text(mixed).Byte(2).Integer(3).Byte(7).Text("cd").Bytes(),
            FuzzWriter().Byte(9).Integer(9).Byte(1).Text(mixed).Bytes(),
            FuzzWriter().Byte(7).Integer(-3).Byte(0).Text(std::string(8, '\x40')).Bytes()};
}

Seeds Variants() {
    auto of = [](uint8_t kind, const std::string &contents) { return FuzzWriter().Byte(kind).Rest(contents).Bytes(); };
    return {of(8, Utf16(" 12.5 ")), of(8, Utf16("2024-02-29 13:45")), of(8, Utf16("#TRUE#")), of(5, std::string("\0\0\0\0\0\0\xf0\x7f", 8)),
            of(3, "\xff\xff\xff\x7f"), of(10, "\xff\xff"), of(7, std::string("\0\0\0\0\0\x4e\x16\x41", 8))};
}

// Constant-area inputs: element size, array and literal positions, grown size, the area
// (a three-element array literal of 4-byte elements, then a text literal).
Seeds ConstantAreas() {
    std::string area("\x01\0\0\0\x03\0\0\0\x0a\0\0\0\x14\0\0\0\x1e\0\0\0WXYZ\0\0\0\0", 28);
    std::string twoByTwo("\x02\0\0\0\x02\0\0\0\x02\0\0\0" "abcdefgh", 20);
    return {FuzzWriter().Byte(4).Integer(0).Integer(20).Integer(40).Rest(area).Bytes(),
            FuzzWriter().Byte(2).Integer(0).Integer(12).Integer(3).Rest(twoByTwo).Bytes()};
}

Seeds Pictures() {
    using namespace picture_files;
    return {Bmp24(), Bmp8Rle(), Bmp16BitFields(), Bmp4(), IconFile(1), IconFile(2), Png(), Gif(), Jpeg()};
}

Seeds Responses() {
    return {"HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nSet-Cookie: sid=abc; path=/\r\n"
            "Set-Cookie: b=deleted\r\nContent-Length: 21\r\n\r\n<p>\xe4\xb8\xad\xe6\x96\x87 page</p>\n",
            "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1/next?x=1\r\nContent-Length: 0\r\n\r\n",
            "HTTP/1.0 200 OK\r\n\r\n<meta charset=\"utf-8\"><b>\xd6\xd0</b>",
            "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"};
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) return 2;
    const std::map<std::string, Seeds> corpora = {
        {"window_set", WindowSets()}, {"skin_block", SkinBlocks()},   {"wave", Waves()},
        {"midi", Songs()},            {"regexp", Patterns()},         {"text_commands", TextCalls()},
        {"byte_set", ByteSetCalls()}, {"variant", Variants()},        {"web_response", Responses()},
        {"picture", Pictures()},      {"constant_area", ConstantAreas()},
    };
    for (const auto &[target, seeds] : corpora) {
        std::filesystem::path dir = std::filesystem::path(argv[1]) / target;
        std::filesystem::create_directories(dir);
        for (size_t i = 0; i < seeds.size(); ++i)
            std::ofstream(dir / ("seed-" + std::to_string(i)), std::ios::binary) << seeds[i];
    }
    return 0;
}
