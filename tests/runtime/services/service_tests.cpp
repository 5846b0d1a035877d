#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include <ole2.h>

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <cstdio>

#include "icon_object.h"

#include "memory.h"
#include "picture_files.h"
#include "runtime_app.h"
#include "runtime_error.h"
#include "runtime_fixture.h"
#include "core_library.h"
#include "runtime_interface.h"
#include "sound_player.h"
#include "sound_recorder.h"
#include "temp_folder.h"

using namespace rt;

namespace {

class Services : public testing::Test {
protected:
    void SetUp() override { testsupport::StartTestRuntime(); }
};

intptr_t PlaySoundService(const SoundData &data, int32_t mode) {
    return RuntimeService(kServicePlaySound, reinterpret_cast<intptr_t>(&data), mode);
}

int32_t ToInteger(TypedValue v) { return int32_t(RuntimeService(kServiceToInteger, reinterpret_cast<intptr_t>(&v), 0)); }

bool sawArguments = false;
void WritesNothing(TypedValue *result, int32_t count, TypedValue *args) {
    sawArguments = args != nullptr && count == 0 && result->low == 0 && result->high == 0 && result->type == 0;
}

void AddsIntegers(TypedValue *result, int32_t count, TypedValue *args) {
    int32_t sum = 0;
    for (int32_t i = 0; i < count; ++i) sum += args[i].AsInteger();
    *result = MakeInteger(sum);
}

} // namespace

TEST_F(Services, NumbersBecomeIntegersTheWayTheRuntimeConvertsThem) {
    EXPECT_EQ(ToInteger(MakeDouble(-2.7)), -2);
    EXPECT_EQ(ToInteger(MakeDouble(2.7)), 2);
    EXPECT_EQ(ToInteger(TypedValue{0xFFFF, 0, kTypeShortInteger}), -1);
    EXPECT_EQ(ToInteger(TypedValue{0xFF, 0, kTypeByte}), 255);
    EXPECT_EQ(ToInteger(MakeLong(0x100000005LL)), 5);
    EXPECT_EQ(ToInteger(MakeFloat(-7.9f)), -7);
    EXPECT_EQ(ToInteger(MakeDouble(1e300)), INT32_MIN); // out of range: no undefined behaviour
    EXPECT_EQ(ToInteger(MakeDouble(std::nan(""))), INT32_MIN);
}

TEST_F(Services, PathsIntoABuffer) {
    char buffer[4096];
    std::memset(buffer, 'x', sizeof buffer);
    RuntimeService(kServicePath, 7, reinterpret_cast<intptr_t>(buffer));
    EXPECT_STREQ(buffer, "");
    RuntimeService(kServicePath, 1, reinterpret_cast<intptr_t>(buffer));
    std::string runDirectory = reinterpret_cast<const char *>(RuntimeService(kServiceRunDirectory, 0, 0));
    EXPECT_EQ(std::string(buffer), runDirectory + "\\");
    EXPECT_EQ(runDirectory.rfind("Z:\\", 0), 0u);
    RuntimeService(kServicePath, 2002, reinterpret_cast<intptr_t>(buffer));
    EXPECT_STREQ(buffer, "runtime_service_tests");
}

TEST_F(Services, TheRunDirectoryIsTheWholeDirectoryOfTheProgram) {
    std::string path(8192, '\0');
    path.resize(GetModuleFileNameA(nullptr, path.data(), DWORD(path.size())));
    std::string runDirectory = reinterpret_cast<const char *>(RuntimeService(kServiceRunDirectory, 0, 0));
    EXPECT_EQ(runDirectory, path.substr(0, path.rfind('\\')));
    EXPECT_STREQ(reinterpret_cast<const char *>(RuntimeService(kServiceExecutableName, 0, 0)),
                 path.substr(path.rfind('\\') + 1).c_str());
}

TEST_F(Services, TheRunDirectoryBecomesTheCurrentDirectory) {
    char current[4096];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_STREQ(current, reinterpret_cast<const char *>(RuntimeService(kServiceRunDirectory, 0, 0)));
}

TEST_F(Services, EventSuppressionNeverGoesBelowZero) {
    RuntimeApp &app = App();
    int before = app.eventSuppression;
    RuntimeService(kServiceSuppressEvents, 0, 0);
    EXPECT_EQ(app.eventSuppression, before + 1);
    for (int i = 0; i <= before + 1; ++i) RuntimeService(kServiceResumeEvents, 0, 0);
    EXPECT_EQ(app.eventSuppression, 0);
    RuntimeService(kServiceResumeEvents, 0, 0);
    EXPECT_EQ(app.eventSuppression, 0);
}

TEST_F(Services, ConstantsAndEmptyAnswers) {
    EXPECT_EQ(RuntimeService(kServiceConstant1, 0, 0), 1);
    EXPECT_EQ(RuntimeService(kServiceConstant5, 0, 0), 5);
    EXPECT_EQ(RuntimeService(kServiceImageKind, 0, 0), 3);
    EXPECT_EQ(RuntimeService(999, 1, 2), 0);
    EXPECT_EQ(RuntimeService(2041, 1, 2), 0);
    EXPECT_EQ(RuntimeService(kServiceWindowCount, 0, 0), 0); // no window set in this image
    EXPECT_EQ(RuntimeService(kServiceDataTypeInfo, 0x00010001, 0), 0); // the test library has no types
}

TEST_F(Services, SoundDataPlaysOnceOrRepeatedUntilStopped) {
    testsupport::SoundRecorder recorder;
    std::string wave = testsupport::MonoWave("once");
    SoundData data{reinterpret_cast<const uint8_t *>(wave.data()), uint32_t(wave.size())};
    auto play = [&](int32_t mode) { return PlaySoundService(data, mode); };
    ASSERT_EQ(play(kSoundOnce), 1);
    ASSERT_TRUE(testsupport::SoundRecorder::WaitFor([&] { return recorder.Sound(0).drained; }));
    EXPECT_EQ(recorder.Sound(0).bytes, "once");

    ASSERT_EQ(play(kSoundRepeat), 1);
    ASSERT_TRUE(testsupport::SoundRecorder::WaitFor([&] { return recorder.Sound(1).bytes.size() >= 12; }));
    EXPECT_EQ(RuntimeService(kServiceStopSound, 0, 0), 0);
    EXPECT_TRUE(recorder.Sound(1).closed);
    EXPECT_EQ(recorder.Sound(1).bytes.substr(0, 12), "onceonceonce");

    // The core library's notify code 13 plays like the service.
    ASSERT_EQ(cmd::CoreLibraryNotify(kNotifyPlaySound, reinterpret_cast<intptr_t>(&data), kSoundOnce), 1);
    ASSERT_TRUE(testsupport::SoundRecorder::WaitFor([&] { return recorder.Sound(2).drained; }));
}

// Codes 2 and 10 to 12 are the core library's own; others it does not handle.
TEST_F(Services, TheCoreLibraryAnswersItsOwnNotifyCodes) {
    for (int32_t code : {2, 10, 11, 12}) EXPECT_EQ(cmd::CoreLibraryNotify(code, 0, 0), 0) << code;
    for (int32_t code : {3, 7, 8, 9, 14}) EXPECT_EQ(cmd::CoreLibraryNotify(code, 0, 0), -1) << code;
}

TEST_F(Services, SoundDataThatCannotPlayIsRefusedAndCutShortDataPlayAsFarAsTheyGo) {
    testsupport::SoundRecorder recorder;
    std::string wave = testsupport::MonoWave(std::string(100, 'a') + std::string(100, 'b'));
    SoundData data{reinterpret_cast<const uint8_t *>(wave.data()), uint32_t(wave.size())};
    auto play = [&](int32_t mode) { return PlaySoundService(data, mode); };
    EXPECT_EQ(play(kSoundSilent), 0);
    EXPECT_EQ(play(7), 0);
    EXPECT_EQ(RuntimeService(kServicePlaySound, 0, kSoundOnce), 0);
    std::string midi = "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xff\x2f\0";
    SoundData midiData{reinterpret_cast<const uint8_t *>(midi.data()), uint32_t(midi.size())};
    EXPECT_EQ(PlaySoundService(midiData, kSoundOnce), 0); // no note
    EXPECT_EQ(recorder.SoundCount(), 0u);

    // The header promises 200 samples; only the first 100 are handed over.
    data.sizeBytes -= 100;
    ASSERT_EQ(play(kSoundOnce), 1);
    ASSERT_TRUE(testsupport::SoundRecorder::WaitFor([&] { return recorder.Sound(0).drained; }));
    EXPECT_EQ(recorder.Sound(0).bytes, std::string(100, 'a'));
}

// This program carries no resources: both handles and the answer are null.
TEST_F(Services, TheDefaultIconOfAProgramWithoutOne) {
    void *icons[2] = {&icons, &icons};
    EXPECT_EQ(RuntimeService(kServiceDefaultIcon, reinterpret_cast<intptr_t>(icons), 0), 0);
    EXPECT_EQ(icons[0], nullptr);
    EXPECT_EQ(icons[1], nullptr);
}

namespace {
HICON NewIcon() {
    QByteArray ico;
    QBuffer buffer(&ico);
    buffer.open(QIODevice::WriteOnly);
    QImage(16, 16, QImage::Format_ARGB32).save(&buffer, "ICO");
    return CreateIconFromResourceEx(reinterpret_cast<PBYTE>(ico.data()), DWORD(ico.size()), TRUE, 0x30000, 0, 0, 0);
}

// The default icons as service 1000 keeps them, then the clean-up; in a child process.
[[noreturn]] void CleanUpWithDefaultIcons() {
    HICON icons[2] = {NewIcon(), NewIcon()};
    std::copy(icons, icons + 2, App().defaultIcons);
    RuntimeCleanUp(0);
    std::fprintf(stderr, "left %d\n", int(platform::IconObjectOf(icons[0]) != nullptr) +
                                          int(platform::IconObjectOf(icons[1]) != nullptr));
    std::fflush(stderr);
    _exit(0);
}
} // namespace

// Removing an entry destroys its icon; the clean-up destroys the default icons.
TEST_F(Services, IconsOfRemovedRecordsAndTheDefaultIconsAreDestroyed) {
    HICON icon = NewIcon();
    ASSERT_NE(icon, nullptr);
    auto *record = static_cast<HICON *>(AllocateMemory(16));
    *record = icon;
    RuntimeService(kServiceIconRecordAdd, reinterpret_cast<intptr_t>(record), 0);
    EXPECT_EQ(RuntimeService(kServiceIconRecordRemove, reinterpret_cast<intptr_t>(record), 0), 1);
    EXPECT_EQ(platform::IconObjectOf(icon), nullptr);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CleanUpWithDefaultIcons(), testing::ExitedWithCode(0), "left 0");
}

TEST_F(Services, TheAttributeRegistry) {
    EXPECT_EQ(RuntimeService(kServiceRegistryQuery, 42, 0), -1);
    RuntimeService(kServiceRegistryAdd, 42, 7);
    RuntimeService(kServiceRegistryAdd, 42, 9); // present: ignored
    EXPECT_EQ(RuntimeService(kServiceRegistryQuery, 42, 0), 7);
    EXPECT_EQ(RuntimeService(kServiceRegistryRemove, 42, 0), 1);
    EXPECT_EQ(RuntimeService(kServiceRegistryRemove, 42, 0), 0);
}

TEST_F(Services, TheObjectTypeAnswersWithTheUnknownInterface) {
    uint8_t iid[16] = {};
    EXPECT_EQ(RuntimeService(kServiceInterfaceId, kTypeComObject, reinterpret_cast<intptr_t>(iid)), 1);
    const uint8_t expected[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    EXPECT_EQ(std::memcmp(iid, expected, 16), 0);
}

TEST_F(Services, MemoryThroughTheServiceEntry) {
    void *block = reinterpret_cast<void *>(RuntimeService(kServiceAllocate, 16, 0));
    ASSERT_NE(block, nullptr);
    block = reinterpret_cast<void *>(RuntimeService(kServiceReallocate, reinterpret_cast<intptr_t>(block), 64));
    RuntimeService(kServiceFree, reinterpret_cast<intptr_t>(block), 0);
    EXPECT_EQ(RuntimeService(kServiceAllocate, intptr_t(1) << 62, 1), 0); // the plain form may fail
}

TEST_F(Services, ACommandWithoutArgumentsStillGetsAnArgumentAddressAndAZeroResult) {
    TypedValue result = RuntimeHelpers.callCoreCommand(WritesNothing, 0, nullptr);
    EXPECT_TRUE(sawArguments);
    EXPECT_EQ(result.low, 0u);
    EXPECT_EQ(result.high, 0u);
    EXPECT_EQ(result.type, 0u);
    TypedValue args[] = {MakeInteger(2), MakeInteger(40)};
    TypedValue sum = RuntimeHelpers.callLibraryCommand(AddsIntegers, 2, args);
    EXPECT_EQ(sum.type, kTypeInteger);
    EXPECT_EQ(sum.AsInteger(), 42);
}

class FindFiles : public Services {
protected:
    testsupport::TempFolder folder;
    std::string dir = folder.Dos();
    void SetUp() override {
        Services::SetUp();
        ASSERT_TRUE(folder.Ok());
        for (const char *name : {"plain.txt", "hidden.txt", "readonly.txt"}) folder.Put(name, "");
        mkdir(folder.Host("sub").c_str(), 0755);
        SetFileAttributesA(folder.Dos("hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA(folder.Dos("readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    }
    void TearDown() override { SetFileAttributesA(folder.Dos("readonly.txt").c_str(), FILE_ATTRIBUTE_ARCHIVE); }

    std::set<std::string> Find(uint32_t filter, bool anyFile) {
        std::set<std::string> names;
        void *handle = nullptr;
        std::string pattern = dir + "\\*";
        uintptr_t args[] = {reinterpret_cast<uintptr_t>(pattern.c_str()), filter, anyFile, reinterpret_cast<uintptr_t>(&handle)};
        for (;;) {
            auto *name = reinterpret_cast<char *>(RuntimeHelpers.handler(kHandlerFindNextFile, args));
            if (!name) break;
            names.insert(name);
            FreeMemory(name);
            args[0] = reinterpret_cast<uintptr_t>("");
        }
        EXPECT_EQ(handle, nullptr); // the search closes itself when it runs out
        return names;
    }
};

TEST_F(FindFiles, AnyFileSkipsDirectories) {
    EXPECT_EQ(Find(0, true), (std::set<std::string>{"hidden.txt", "plain.txt", "readonly.txt"}));
}

TEST_F(FindFiles, AttributeFiltersShareABit) {
    EXPECT_EQ(Find(FILE_ATTRIBUTE_HIDDEN, false), (std::set<std::string>{"hidden.txt"}));
    EXPECT_EQ(Find(FILE_ATTRIBUTE_READONLY, false), (std::set<std::string>{"readonly.txt"}));
    EXPECT_EQ(Find(FILE_ATTRIBUTE_DIRECTORY, false), (std::set<std::string>{".", "..", "sub"}));
}

TEST_F(FindFiles, AFilterWithoutKnownBitsFindsOnlyFilesWithoutAttributes) {
    // Every file here has at least the archive or directory bit.
    EXPECT_TRUE(Find(0x40, false).empty());
}

TEST_F(FindFiles, ContinuingWithoutASearchGivesNothing) {
    void *handle = nullptr;
    uintptr_t args[] = {reinterpret_cast<uintptr_t>(""), 0, 1, reinterpret_cast<uintptr_t>(&handle)};
    EXPECT_EQ(RuntimeHelpers.handler(kHandlerFindNextFile, args), 0u);
}

namespace {
struct CountedObject : IUnknown {
    ULONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void **out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};
} // namespace

TEST_F(Services, ClearingAnObjectHolderReleasesItsReference) {
    CountedObject object;
    void *holder[2] = {static_cast<IUnknown *>(&object), nullptr};
    RuntimeService(kServiceClearObject, reinterpret_cast<intptr_t>(holder), 0);
    EXPECT_EQ(holder[0], nullptr);
    EXPECT_EQ(object.references, 0u);
    RuntimeService(kServiceClearObject, reinterpret_cast<intptr_t>(holder), 0); // empty: nothing to do
}

TEST_F(Services, TheMainThreadCanCreateObjectsAfterStartUp) {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(OLESTR("VBScript.RegExp"), &clsid), S_OK);
    IDispatch *regexp = nullptr;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void **>(&regexp)),
              S_OK);
    regexp->Release();
}

namespace {

// The colours of a bitmap at the centres of its four quarters.
std::vector<COLORREF> QuarterColours(HBITMAP bitmap) {
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<COLORREF> colours;
    for (int y : {bm.bmHeight / 4, 3 * bm.bmHeight / 4})
        for (int x : {bm.bmWidth / 4, 3 * bm.bmWidth / 4}) colours.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return colours;
}

HBITMAP PictureToBitmap(const std::string &data) {
    return reinterpret_cast<HBITMAP>(RuntimeService(kServicePictureToBitmap, reinterpret_cast<intptr_t>(data.data()),
                                                    intptr_t(data.size())));
}

} // namespace

// Service 1003 decodes picture data (an icon onto white) into a bitmap of the caller's
// own; 2034 writes a bitmap back as BMP data, which decodes to the same pixels.
TEST_F(Services, PictureDataAndBitmapsRoundTrip) {
    const std::vector<COLORREF> quarters = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    for (const std::string &data : {picture_files::Bmp8Rle(), picture_files::IconFile(1)}) {
        HBITMAP bitmap = PictureToBitmap(data);
        ASSERT_NE(bitmap, nullptr);
        std::vector<COLORREF> want = quarters;
        if (data[0] == 0) want[3] = RGB(255, 255, 255); // the icon's transparent quarter
        EXPECT_EQ(QuarterColours(bitmap), want);
        auto *block = reinterpret_cast<uint8_t *>(RuntimeService(kServiceBitmapToPicture, intptr_t(bitmap), 0));
        ASSERT_NE(block, nullptr);
        std::string bmp(reinterpret_cast<const char *>(ByteSetBytes(block)), ByteSetSize(block));
        FreeMemory(block);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(bmp.size(), 54u + 16 * 48);
        HBITMAP again = PictureToBitmap(bmp);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(QuarterColours(again), want);
        DeleteObject(again);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(PictureToBitmap(picture_files::OversizedBmp()), nullptr);
    EXPECT_EQ(PictureToBitmap("RIFF....WAVEfmt "), nullptr); // sound data are no picture
    EXPECT_EQ(RuntimeService(kServicePictureToBitmap, 0, 0), 0);
    EXPECT_EQ(RuntimeService(kServiceBitmapToPicture, 0, 0), 0);
}
