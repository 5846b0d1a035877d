// The window set: the description the builder reads, the serialized form the runtime
// reads back, validation, relocation and identifiers.
#include <gtest/gtest.h>

#include <cstring>

#include "gbk.h"
#include "TestWindows.h"
#include "window_description.h"
#include "window_set_reader.h"

using namespace units;

namespace {

const char kDescription[] = R"(
window 0x52019f78 words 7 9 texts "a" "b"
unit 0x06019f77 type 0x10001 at 1 2 589 455 visible data u32 6 text "标题"
unit 0x16019f79 type 0x10005 name "编辑框_结果" second "" source 0 at 10 20 300 -4
    container 0x06019f77 contains 0x16000001 0 0x16000002 pointer ffffffff01 tag "标记"
    visible tabstop tab 3 on -3 5 on 0 none reserved1 000102030405060708090a0b0c0d0e0f
    reserved2 77 reserved3 0102030405060708090a0b0c0d0e0f1011121314
    data u32 2 bytes 00ff raw abcd
menu 0x26019f7a name "菜单" words 1 12 state 5 caption "打开" handler 2
)";

std::string Bytes(const std::vector<WindowTemplate> &w) { return WriteWindowSet(w); }

std::vector<WindowTemplate> ReadBack(const std::string &bytes) {
    std::vector<WindowTemplate> windows;
    EXPECT_TRUE(ReadWindowSet(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), windows));
    return windows;
}

bool Reads(const std::string &bytes) {
    std::vector<WindowTemplate> windows;
    return ReadWindowSet(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), windows);
}

void PutWord(std::string &s, size_t at, uint32_t v) { std::memcpy(s.data() + at, &v, 4); }

} // namespace

TEST(WindowDescription, EveryFieldReachesTheRecords) {
    auto windows = ParseWindowDescription(kDescription);
    ASSERT_EQ(windows.size(), 1u);
    const WindowTemplate &w = windows[0];
    EXPECT_EQ(w.id, 0x52019f78u);
    EXPECT_EQ(w.words[0], 7u);
    EXPECT_EQ(w.texts[1], "b");
    ASSERT_EQ(w.units.size(), 3u);
    const UnitRecord &box = w.units[1].record;
    EXPECT_EQ(box.name, rt::ToGbk("编辑框_结果"));
    EXPECT_EQ(box.height, -4);
    EXPECT_EQ(box.contained, (std::vector<uint32_t>{0x16000001, 0, 0x16000002}));
    EXPECT_EQ(box.pointerData, std::string("\xff\xff\xff\xff\x01", 5));
    EXPECT_EQ(box.state, kStateVisible | kStateTabStop);
    EXPECT_EQ(box.tabOrder, 3);
    ASSERT_EQ(box.bindings.size(), 2u);
    EXPECT_EQ(box.bindings[0].event, -3);
    EXPECT_EQ(box.bindings[1].handler, kNoHandler);
    EXPECT_EQ(box.reserved1[15], 0x0f);
    EXPECT_EQ(box.propertyData, std::string("\x02\0\0\0\x02\0\0\0\x00\xff\xab\xcd", 12));
    EXPECT_EQ(w.units[2].record.caption, rt::ToGbk("打开"));
    EXPECT_EQ(w.units[2].record.menuHandler, 2u);
}

TEST(WindowDescription, BadEntriesNameTheirLine) {
    EXPECT_THROW(ParseWindowDescription("unit 0x06000001 type 1\n"), std::runtime_error);
    EXPECT_THROW(ParseWindowDescription("window 0x52000001\nunit 0x06000001 colour 3\n"), std::runtime_error);
    EXPECT_THROW(ParseWindowDescription("window 0x52000001\n"), std::runtime_error);
    try {
        ParseWindowDescription("window 0x52000001\n\nunit 0x06000001 tag \"open\n");
        FAIL();
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos);
    }
}

TEST(WindowSetRoundTrip, WrittenSetsReadBackFieldForFieldAndByteForByte) {
    auto written = ParseWindowDescription(kDescription);
    std::string bytes = Bytes(written);
    auto read = ReadBack(bytes);
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].units.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read[0].units[i].id, written[0].units[i].id);
        EXPECT_EQ(WriteUnitRecord(read[0].units[i].record), WriteUnitRecord(written[0].units[i].record));
    }
    EXPECT_EQ(read[0].units[1].record.propertyData, written[0].units[1].record.propertyData);
    EXPECT_EQ(Bytes(read), bytes);
}

TEST(WindowSetRoundTrip, TheTestImageWindowsReadBack) {
    std::string bytes(reinterpret_cast<const char *>(image::TestWindows), image::kTestWindowsSize);
    auto read = ReadBack(bytes);
    EXPECT_EQ(read.size(), 5u);
    EXPECT_EQ(Bytes(read), bytes);
}

TEST(WindowSetLayout, KeysComeFirstThenTheRecordsInKeyOrder) {
    std::string bytes = Bytes(ParseWindowDescription("window 0x52000001\nunit 0x06000001 type 0x10001\n"
                                                     "window 0x52000002\nunit 0x06000002 type 0x10001\n"));
    uint32_t words[5];
    std::memcpy(words, bytes.data(), sizeof words);
    EXPECT_EQ(words[0], 16u); // two keys and two placeholders
    EXPECT_EQ(words[1], 0x52000001u);
    EXPECT_EQ(words[2], 0x52000002u);
    EXPECT_EQ(words[3], 0u);
    EXPECT_EQ(words[4], 0u);
}

TEST(WindowSetValidation, DamagedSetsDoNotRead) {
    std::string good = Bytes(ParseWindowDescription(kDescription));
    EXPECT_TRUE(Reads(good));
    EXPECT_FALSE(Reads(""));
    EXPECT_FALSE(Reads(good.substr(0, good.size() / 2)));
    std::string odd = good;
    PutWord(odd, 0, 12); // not a multiple of 8
    EXPECT_FALSE(Reads(odd));
    std::string huge = good;
    PutWord(huge, 0, 0x7FFFFFF8);
    EXPECT_FALSE(Reads(huge));
    std::string badId = good;
    PutWord(badId, 4, 0x52000000); // serial number 0
    EXPECT_FALSE(Reads(badId));
    // The unit list: count, length, ids, offsets; an offset outside the list.
    size_t list = 4 + 8 + 8 + 5 + 5;
    std::string badOffset = good;
    PutWord(badOffset, list + 8 + 12, 0x10000);
    EXPECT_FALSE(Reads(badOffset));
    std::string manyUnits = good;
    PutWord(manyUnits, list, 0x40000000);
    EXPECT_FALSE(Reads(manyUnits));
}

TEST(WindowSetValidation, AMenuItemCannotBeTheWindowsOwnUnit) {
    EXPECT_FALSE(Reads(Bytes(ParseWindowDescription("window 0x52000001\nmenu 0x26000001 caption \"x\"\n"))));
}

TEST(Relocation, OffsetsIndexTheRoutineTableAndNoHandlerStaysEmpty) {
    auto windows = ParseWindowDescription(kDescription);
    EventRoutine routines[3] = {nullptr, [](const uint64_t *, int32_t, uint64_t *) { return 0; }, nullptr};
    routines[2] = routines[1];
    EventRoutineTable tooShort = {2, routines};
    auto copy = windows;
    EXPECT_FALSE(RelocateHandlers(copy, &tooShort)); // handler 5 is outside
    EventRoutine many[6] = {};
    many[5] = routines[1];
    many[2] = routines[1];
    EventRoutineTable table = {6, many};
    ASSERT_TRUE(RelocateHandlers(windows, &table));
    EXPECT_EQ(windows[0].units[1].record.bindings[0].handler, reinterpret_cast<uintptr_t>(routines[1]));
    EXPECT_EQ(windows[0].units[1].record.bindings[1].handler, 0u);
    EXPECT_EQ(windows[0].units[2].record.menuHandler, reinterpret_cast<uintptr_t>(routines[1]));
}

TEST(Identifiers, KindsAndValidity) {
    EXPECT_TRUE(IsValidIdentifier(0x52019f78));
    EXPECT_TRUE(IsValidIdentifier(0x06019f77));
    EXPECT_FALSE(IsValidIdentifier(0x52000000));
    EXPECT_FALSE(IsValidIdentifier(0x50000001)); // bits 24 to 27 are zero
    EXPECT_TRUE(IsMenuItemIdentifier(0x26000001));
    EXPECT_FALSE(IsMenuItemIdentifier(0x16000001));
    EXPECT_FALSE(IsMenuItemIdentifier(0x06000001));
}
