#include <gtest/gtest.h>

#include "exit_codes.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "handlers.h"
#include "memory.h"
#include "runtime_fixture.h"

using namespace rt;

namespace {

// A stand-in constant area whose last 4 bytes begin a literal.
alignas(8) uint8_t area[32];

class ImageMemory : public testing::Test {
protected:
    void SetUp() override {
        testsupport::StartTestRuntime();
        std::memset(area, 0, sizeof area);
        std::memcpy(area + 28, "WXYZ", 4);
        RegisterImageRange(area, sizeof area);
    }
};

} // namespace

TEST_F(ImageMemory, FreeIgnoresNullAndImageMemory) {
    FreeMemory(nullptr);
    FreeMemory(area + 5);
    EXPECT_TRUE(IsImageOwned(area));
    EXPECT_TRUE(IsImageOwned(area + 31));
    EXPECT_FALSE(IsImageOwned(area + 32));
}

TEST_F(ImageMemory, ReallocatingALiteralCopiesOnlyWhatTheAreaHolds) {
    uint8_t *literal = area + 28; // 4 bytes before the end
    auto *copy = static_cast<uint8_t *>(ReallocateMemory(literal, 20));
    ASSERT_NE(copy, literal);
    EXPECT_FALSE(IsImageOwned(copy));
    EXPECT_EQ(std::memcmp(copy, "WXYZ", 4), 0);
    EXPECT_EQ(std::memcmp(area + 28, "WXYZ", 4), 0);
    FreeMemory(copy);
}

TEST_F(ImageMemory, ReallocatingNullAllocatesAndHeapBlocksKeepTheirBytes) {
    auto *block = static_cast<char *>(ReallocateMemory(nullptr, 8));
    std::memcpy(block, "12345678", 8);
    block = static_cast<char *>(ReallocateMemory(block, 4096));
    EXPECT_EQ(std::memcmp(block, "12345678", 8), 0);
    FreeMemory(block);
}

TEST_F(ImageMemory, AnImageArrayIsCopiedBeforeItIsModified) {
    alignas(8) static uint8_t image[8 + 3 * 4];
    uint32_t header[2] = {1, 3};
    int32_t elements[3] = {10, 20, 30};
    std::memcpy(image, header, 8);
    std::memcpy(image + 8, elements, 12);
    RegisterImageRange(image, sizeof image);
    void *variable = image;
    uintptr_t args[] = {4, reinterpret_cast<uintptr_t>(&variable)};
    RuntimeHelpers.handler(kHandlerMakeArrayWritable, args);
    ASSERT_NE(variable, static_cast<void *>(image));
    EXPECT_EQ(std::memcmp(variable, image, sizeof image), 0);
    void *heapArray = variable;
    RuntimeHelpers.handler(kHandlerMakeArrayWritable, args);
    EXPECT_EQ(variable, heapArray); // a heap block is left as it is
    FreeMemory(variable);
}

// Words that claim more than the image holds (found by fuzzing): nothing is read past
// the image's end, and the variable gets an empty array of its own.
TEST_F(ImageMemory, AnImageArrayClaimingMoreThanTheImageHoldsBecomesEmpty) {
    alignas(8) static uint8_t image[16];
    const uint32_t claims[][4] = {
        {1000, 1, 1, 1},       // more dimensions than the image has words
        {1, 3, 10, 20},        // a third element past the end
        {2, 65536, 65536, 0},  // a count beyond any image
    };
    for (const auto &words : claims) {
        std::memcpy(image, words, sizeof image);
        RegisterImageRange(image, sizeof image);
        void *variable = image;
        MakeArrayWritable(4, &variable);
        ASSERT_FALSE(IsImageOwned(variable));
        const auto *copy = static_cast<const uint32_t *>(variable);
        EXPECT_EQ(copy[0], 1u);
        EXPECT_EQ(copy[1], 0u);
        FreeMemory(variable);
    }
    const uint32_t oneDimension = 1;
    std::memcpy(image + 12, &oneDimension, 4);
    void *tail = image + 12; // one word only: no header of one dimension fits
    MakeArrayWritable(4, &tail);
    EXPECT_EQ(static_cast<const uint32_t *>(tail)[1], 0u);
    FreeMemory(tail);
}

using MemoryDeathTest = ImageMemory;

TEST_F(MemoryDeathTest, AFailedAllocationIsReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Three quarters of the address space, on 32-bit as on 64-bit targets.
    constexpr size_t kTooMuch = SIZE_MAX / 4 * 3;
    EXPECT_EXIT(AllocateMemory(kTooMuch), testing::ExitedWithCode(testsupport::kRuntimeErrorExit), std::to_string(kTooMuch));
}
