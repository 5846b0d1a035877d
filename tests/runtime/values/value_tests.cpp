#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "memory.h"
#include "runtime_fixture.h"
#include "value.h"

using namespace rt;

class Values : public testing::Test {
protected:
    void SetUp() override { testsupport::StartTestRuntime(); }
};

TEST_F(Values, TypeCategoriesLookOnlyAtTheTopBits) {
    EXPECT_EQ(TypeCategoryOf(0x00010005), kCategoryLibrary);
    EXPECT_EQ(TypeCategoryOf(0x40000001), kCategoryRecord);
    EXPECT_EQ(TypeCategoryOf(0x80000004), kCategorySystem);
    EXPECT_EQ(TypeCategoryOf(0x80000008), kCategorySystem);
    EXPECT_EQ(TypeCategoryOf(0xC0000001), kCategoryLibrary);
    EXPECT_EQ(TypeCategoryOf(0), kCategoryNone);
}

TEST_F(Values, SizesOfTypes) {
    EXPECT_EQ(StorageSizeOf(0x80000007), 0u);
    EXPECT_EQ(NumericTypeSize(kTypeBoolean), 0u);
    EXPECT_EQ(NumericTypeSize(kTypeLongInteger), 8u);
    EXPECT_EQ(StorageSizeOf(kTypeText), sizeof(void *));
    EXPECT_EQ(StorageSizeOf(kTypeDateTime), 8u);
    EXPECT_EQ(StorageSizeOf(kTypeByte), 1u);
    EXPECT_TRUE(IsNumericType(kTypeDouble));
    EXPECT_FALSE(IsNumericType(kTypeDateTime));
    EXPECT_FALSE(IsNumericType(kTypeDouble | kIndirectFlag));
}

TEST_F(Values, TextFromDataStopsAtTheFirstNul) {
    TypedValue t{0, 0, kTypeText};
    const char bytes[] = {'a', 'b', '\0', 'c', 'd'};
    EXPECT_EQ(ValueFromData(t, bytes, 5), 3u);
    EXPECT_STREQ(t.Pointer<char>(), "ab");
    FreeValue(t);

    TypedValue whole{0, 0, kTypeText};
    EXPECT_EQ(ValueFromData(whole, "xyz", 3), 3u);
    EXPECT_STREQ(whole.Pointer<char>(), "xyz");
    FreeValue(whole);
}

TEST_F(Values, EmptyTextsAndByteSetsAreNull) {
    EXPECT_EQ(MakeText("abc", 0), nullptr);
    EXPECT_EQ(MakeByteSet("abc", 0), nullptr);
    EXPECT_EQ(CopyText(""), nullptr);
    EXPECT_EQ(CopyText(nullptr), nullptr);
    TypedValue t{7, 7, kTypeText};
    EXPECT_EQ(ValueFromData(t, "abc", 0), 0u);
    EXPECT_EQ(t.Pointer<char>(), nullptr);
    EXPECT_EQ(ByteSetSize(nullptr), 0u);
}

TEST_F(Values, ValueDataIncludesTheTextNul) {
    TypedValue text = MakeTextValue(MakeText("abc", 3));
    ValueData d = ValueDataOf(text);
    EXPECT_EQ(d.size, 4u);
    EXPECT_EQ(std::memcmp(d.data, "abc", 4), 0);
    FreeValue(text);

    TypedValue bytes = MakeByteSetValue(MakeByteSet("\x01\x02\x03", 3));
    d = ValueDataOf(bytes);
    EXPECT_EQ(d.size, 3u);
    EXPECT_EQ(std::memcmp(d.data, "\x01\x02\x03", 3), 0);
    FreeValue(bytes);

    TypedValue i = MakeInteger(-5);
    d = ValueDataOf(i);
    EXPECT_EQ(d.size, 4u);
    EXPECT_EQ(*static_cast<const int32_t *>(d.data), -5);
    EXPECT_FALSE(ValueDataOf(TypedValue{0, 0, 0x80000007}));
}

TEST_F(Values, DateTimesAreClampedToTheirRange) {
    TypedValue t{0, 0, kTypeDateTime};
    double high = 3000000.0, low = -700000.0, nan = std::numeric_limits<double>::quiet_NaN();
    ValueFromData(t, &high, 8);
    EXPECT_EQ(t.AsDouble(), 2958465.0);
    ValueFromData(t, &low, 8);
    EXPECT_EQ(t.AsDouble(), -657434.0);
    ValueFromData(t, &nan, 8);
    EXPECT_EQ(t.AsDouble(), -657434.0);
}

TEST_F(Values, NumbersAndBooleansFromData) {
    TypedValue b{0, 0, kTypeBoolean};
    uint32_t seven = 7;
    ValueFromData(b, &seven, 4);
    EXPECT_EQ(b.low, 1u);
    TypedValue l{0, 0, kTypeLongInteger};
    int64_t big = -1234567890123;
    ValueFromData(l, &big, 8);
    EXPECT_EQ(l.AsLong(), big);
    TypedValue s{0xFFFFFFFF, 0xFFFFFFFF, kTypeShortInteger};
    uint16_t v = 0x1234;
    ValueFromData(s, &v, 2);
    EXPECT_EQ(s.low, 0x1234u);
    EXPECT_EQ(s.high, 0u);
}

TEST_F(Values, ArrayElementsMultiplyTheDimensions) {
    uint32_t block[3 + 12] = {2, 3, 4};
    ArrayElements e = ArrayElementsOf(block);
    EXPECT_EQ(e.count, 12u);
    EXPECT_EQ(static_cast<uint8_t *>(e.first) - reinterpret_cast<uint8_t *>(block), 12);
    EXPECT_EQ(ArrayElementsOf(nullptr).count, 0u);
}

TEST_F(Values, FreeingATextArrayFreesItsElements) {
    void *array = MakeArray(kTypeText, 3);
    ArrayElements e = ArrayElementsOf(array);
    SetPointerElement(e.first, 0, MakeText("one", 3));
    SetPointerElement(e.first, 2, MakeText("three", 5));
    EXPECT_STREQ(static_cast<char *>(PointerElement(e.first, 2)), "three");
    FreeArray(kTypeText | kIndirectFlag, array); // the sanitizer build catches a bad or double free
}
