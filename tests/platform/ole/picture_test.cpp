// Streams over global memory and OleLoadPicture reading from them.
#include <gtest/gtest.h>

#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "picture_files.h"

namespace {

HGLOBAL BlockWith(const std::string &bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return memory;
}

LARGE_INTEGER At(LONGLONG offset) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    return at;
}

// Renders the whole (square) picture the usual way (source rows counted up from the bottom)
// into a bitmap of twice its size and reads the top-left pixel, rounded to 0 or 255.
COLORREF TopLeftRendered(IPicture *picture, OLE_XSIZE_HIMETRIC width) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateBitmap(32, 32, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    picture->Render(dc, 0, 0, 32, 32, 0, width, width, -width, nullptr);
    COLORREF c = GetPixel(dc, 2, 2);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    auto level = [](int v) { return v >= 128 ? 255 : 0; };
    return RGB(level(GetRValue(c)), level(GetGValue(c)), level(GetBValue(c)));
}

} // namespace

// The stream starts at the block's size, grows the block on writes past its end and
// shares it with its clones; released with "free on release", the block goes with it.
TEST(HGlobalStream, ReadsWritesSeeksAndClones) {
    HGLOBAL memory = BlockWith("hello");
    IStream *stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(memory, TRUE, &stream), S_OK);
    char buffer[16] = {};
    ULONG count = 0;
    EXPECT_EQ(stream->Read(buffer, sizeof buffer, &count), S_OK);
    EXPECT_EQ(std::string(buffer, count), "hello");
    EXPECT_EQ(stream->Write(", world", 7, &count), S_OK);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(stat.cbSize.QuadPart, 12u);
    EXPECT_GE(GlobalSize(memory), 12u);
    HGLOBAL same = nullptr;
    EXPECT_EQ(GetHGlobalFromStream(stream, &same), S_OK);
    EXPECT_EQ(same, memory);

    IStream *clone = nullptr;
    ASSERT_EQ(stream->Clone(&clone), S_OK);
    ULARGE_INTEGER position{};
    EXPECT_EQ(clone->Seek(At(-5), STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 7u);
    EXPECT_EQ(clone->Read(buffer, sizeof buffer, &count), S_OK);
    EXPECT_EQ(std::string(buffer, count), "world");
    EXPECT_EQ(clone->Seek(At(-1), STREAM_SEEK_SET, nullptr), STG_E_INVALIDFUNCTION);
    stream->Release();
    EXPECT_NE(GlobalLock(memory), nullptr); // alive with the clone
    GlobalUnlock(memory);
    clone->Release();
    EXPECT_EQ(GlobalLock(memory), nullptr); // freed with the last stream
    EXPECT_EQ(CreateStreamOnHGlobal(memory, FALSE, &stream), E_INVALIDARG);
}

// Icons come back as icons, other pictures as bitmaps, with their size in HIMETRIC
// units; undecodable data, and a size above the limit, give CTL_E_INVALIDPICTURE.
TEST(OleLoadPicture, PicturesFromAStream) {
    struct Row {
        std::string data;
        LONG size; // passed to OleLoadPicture; 0 reads the whole stream
        HRESULT result;
        SHORT type;
    };
    const Row rows[] = {
        {picture_files::Gif(), 0, S_OK, PICTYPE_BITMAP},
        {picture_files::IconFile(2), 0, S_OK, PICTYPE_ICON},
        {picture_files::Jpeg(), LONG(picture_files::Jpeg().size()), S_OK, PICTYPE_BITMAP},
        {picture_files::Png(), 0x7fffffff, CTL_E_INVALIDPICTURE, 0},
        {picture_files::OversizedBmp(), 0, CTL_E_INVALIDPICTURE, 0},
        {picture_files::DamagedBmp(), 0, CTL_E_INVALIDPICTURE, 0},
    };
    for (const Row &row : rows) {
        IStream *stream = nullptr;
        ASSERT_EQ(CreateStreamOnHGlobal(BlockWith(row.data), TRUE, &stream), S_OK);
        IPicture *picture = nullptr;
        EXPECT_EQ(OleLoadPicture(stream, row.size, FALSE, IID_IPicture, reinterpret_cast<void **>(&picture)), row.result);
        stream->Release();
        if (FAILED(row.result)) {
            EXPECT_EQ(picture, nullptr);
            continue;
        }
        ASSERT_NE(picture, nullptr);
        SHORT type = 0;
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_HANDLE handle = 0;
        picture->get_Type(&type);
        picture->get_Width(&width);
        picture->get_Handle(&handle);
        EXPECT_EQ(type, row.type);
        EXPECT_EQ(width, 423); // 16 pixels at 96 per inch
        EXPECT_NE(handle, 0u);
        EXPECT_EQ(TopLeftRendered(picture, width), RGB(255, 0, 0));
        EXPECT_EQ(picture->Release(), 0u);
    }
}
