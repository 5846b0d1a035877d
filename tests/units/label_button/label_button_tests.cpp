// Labels and buttons of the test image's main window: clicks and their bindings,
// pick limits, the template data read back, and what a grabbed image shows.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "button_unit.h"
#include "gbk.h"
#include "label_unit.h"
#include "memory.h"
#include "picture_files.h"
#include "runtime_app.h"
#include "runtime_interface.h"
#include "unit_properties.h"
#include "window_host.h"
#include "window_list.h"
#include "winunit_image.h"

using namespace winunit_test;

namespace {

fw::WindowObject *ObjectOf(uint32_t window, uint32_t unit) {
    return reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, window, unit));
}

std::string TemplateData(uint32_t window, uint32_t unit) {
    units::Window *w = units::FindWindow(window);
    return w->units[size_t(units::FindUnit(*w, unit))].record.propertyData;
}

void WriteText(uint32_t unit, int32_t property, const char *text) {
    auto p = uint64_t(reinterpret_cast<uintptr_t>(text));
    units::WriteProperty(kMain, unit, property, -1, uint32_t(p), uint32_t(p >> 32));
}

std::string ReadText(uint32_t unit, int32_t property) {
    auto *text = reinterpret_cast<char *>(uintptr_t(units::ReadProperty(kMain, unit, property, -1)));
    std::string s = text ? text : "";
    rt::FreeMemory(text);
    return s;
}

QImage Grab(uint32_t window, uint32_t unit = 0) { return platform::HostOf(HandleOf(window, unit))->grab().toImage(); }

int CountNear(const QImage &image, QColor c, int tolerance = 30) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) <= tolerance && std::abs(p.green() - c.green()) <= tolerance &&
                std::abs(p.blue() - c.blue()) <= tolerance)
                ++n;
        }
    return n;
}

class LabelButton : public testing::Test {
protected:
    void SetUp() override {
        StartRuntime();
        ASSERT_EQ(Load(kMain), 0);
        Pump();
        Calls().clear();
    }
    void TearDown() override { CloseAll(); }
};

} // namespace

TEST_F(LabelButton, ClickRaisesEventZeroAndAnUnboundButtonDoesNothing) {
    SendMessageA(HandleOf(kMain, kSave), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Calls(), std::vector<std::string>{Hex(kSave)});
    Calls().clear();
    SendMessageA(HandleOf(kMain, kClear), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(Calls().empty());
}

TEST_F(LabelButton, ButtonAlignmentWritesAreLimited) {
    units::WriteProperty(kMain, kSave, 11, -1, 3, 0);
    EXPECT_EQ(units::ReadProperty(kMain, kSave, 11, -1), 2u);
    EXPECT_EQ(DWORD(GetWindowLongA(HandleOf(kMain, kSave), GWL_STYLE)) & BS_CENTER, DWORD(BS_RIGHT));
    units::WriteProperty(kMain, kSave, 11, -1, uint32_t(-1), 0xffffffff);
    EXPECT_EQ(units::ReadProperty(kMain, kSave, 11, -1), 0u);
    EXPECT_EQ(DWORD(GetWindowLongA(HandleOf(kMain, kSave), GWL_STYLE)) & BS_CENTER, DWORD(BS_LEFT));
}

TEST_F(LabelButton, KindOneMakesTheDefaultButton) {
    auto isDefault = units::Request<int (*)(fw::WindowObject *)>(units::kTypeButton, units::kRequestIsDefaultButton);
    ASSERT_NE(isDefault, nullptr);
    EXPECT_TRUE(isDefault(ObjectOf(kMain, kSelectAll)));
    EXPECT_FALSE(isDefault(ObjectOf(kMain, kSave)));
    units::WriteProperty(kMain, kSave, 9, -1, 5, 0);
    EXPECT_EQ(units::ReadProperty(kMain, kSave, 9, -1), 1u);
    EXPECT_TRUE(isDefault(ObjectOf(kMain, kSave)));
}

TEST_F(LabelButton, ButtonDataReadBackExactly) {
    std::string data = TemplateData(kMain, kClear);
    ASSERT_EQ(data.size(), 36u);
    auto serialize = units::Request<units::SerializeRoutine>(units::kTypeButton, units::kRequestSerialize);
    uint32_t size = 0;
    uint8_t *out = serialize(ObjectOf(kMain, kClear), &size);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(out), size), data);
    delete[] out;
    EXPECT_EQ(ReadText(kClear, 10), rt::GbkLiteral("清空网址"));
}

TEST_F(LabelButton, CaptionWritesReachTheWindows) {
    WriteText(kFetch, 10, "go");
    char text[16] = {};
    GetWindowTextA(HandleOf(kMain, kFetch), text, sizeof text);
    EXPECT_STREQ(text, "go");
    WriteText(kMessageLabel, 8, "saved");
    EXPECT_EQ(ReadText(kMessageLabel, 8), "saved");
    GetWindowTextA(HandleOf(kMain, kMessageLabel), text, sizeof text);
    EXPECT_STREQ(text, "saved");
}

// A written picture rebuilds the button: icons and cursors show with BS_ICON, other
// pictures with BS_BITMAP; data that do not decode are dropped and the caption shows.
TEST_F(LabelButton, RebuiltButtonShowsItsPictureOrDropsIt) {
    struct Row {
        const char *name;
        std::string data;
        DWORD style;
        WPARAM imageType;
    };
    const Row rows[] = {
        {"icon", picture_files::IconFile(1), BS_ICON, IMAGE_ICON},
        {"cursor", picture_files::IconFile(2), BS_ICON, IMAGE_ICON},
        {"JPEG", picture_files::Jpeg(), BS_BITMAP, IMAGE_BITMAP},
        {"8-bit RLE BMP", picture_files::Bmp8Rle(), BS_BITMAP, IMAGE_BITMAP},
        {"not a picture", "not a picture at all", 0, IMAGE_BITMAP},
    };
    auto write = units::Request<units::WritePropertyRoutine>(units::kTypeButton, units::kRequestWriteProperty);
    auto create = units::Request<units::CreateUnitRoutine>(units::kTypeButton, units::kRequestCreate);
    auto serialize = units::Request<units::SerializeRoutine>(units::kTypeButton, units::kRequestSerialize);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        units::PropertyValue value{reinterpret_cast<uintptr_t>(row.data.data()), row.data.size()};
        EXPECT_EQ(write(ObjectOf(kMain, kSave), 0, &value, nullptr), 1); // rebuilt
        uint32_t size = 0;
        uint8_t *data = serialize(ObjectOf(kMain, kSave), &size);
        units::CreateUnitArgs args{data, size, 0, HandleOf(kMain), 900, nullptr, 0, 0, 50, 20, kMain, kSave, {0, 0}};
        fw::WindowObject *made = create(args);
        delete[] data;
        ASSERT_NE(made, nullptr);
        auto *button = static_cast<units::ButtonUnit *>(made);
        EXPECT_EQ(button->props.data[units::kButtonPicture].empty(), row.style == 0);
        EXPECT_EQ(DWORD(GetWindowLongA(made->Handle(), GWL_STYLE)) & (BS_BITMAP | BS_ICON), row.style);
        LRESULT shown = SendMessageA(made->Handle(), BM_GETIMAGE, row.imageType, 0);
        EXPECT_EQ(shown != 0, row.style != 0);
        button->windowId = 0; // keep the framework's record out of this stray window's clean-up
        DestroyWindow(made->Handle());
    }
}

// A label draws its picture over the background colour; layout 2 stretches it.
TEST_F(LabelButton, LabelShowsAnIconPictureWithItsTransparency) {
    std::string icon = picture_files::IconFile(1);
    units::PropertyValue value{reinterpret_cast<uintptr_t>(icon.data()), icon.size()};
    auto write = units::Request<units::WritePropertyRoutine>(units::kTypeLabel, units::kRequestWriteProperty);
    units::WriteProperty(kMain, kMessageLabel, 17, -1, 0x00ffffff, 0); // white background
    units::WriteProperty(kMain, kMessageLabel, 10, -1, 0, 0);          // no border
    units::WriteProperty(kMain, kMessageLabel, 19, -1, 2, 0);
    write(ObjectOf(kMain, kMessageLabel), 18 - 8, &value, nullptr);
    WriteText(kMessageLabel, 8, "");
    Pump();
    QImage image = Grab(kMain, kMessageLabel);
    int w = image.width(), h = image.height();
    EXPECT_EQ(image.pixelColor(w / 4, h / 4), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(3 * w / 4, h / 4), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(w / 4, 3 * h / 4), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(3 * w / 4, 3 * h / 4), QColor(255, 255, 255)); // transparent quarter
}

TEST_F(LabelButton, LabelFrameWidthHasAFloorOfFive) {
    units::WriteProperty(kMain, kTitleLabel, 11, -1, 2, 0);
    EXPECT_EQ(units::ReadProperty(kMain, kTitleLabel, 11, -1), 5u);
    units::WriteProperty(kMain, kTitleLabel, 11, -1, 7, 0);
    EXPECT_EQ(units::ReadProperty(kMain, kTitleLabel, 11, -1), 7u);
    units::WriteProperty(kMain, kTitleLabel, 9, -1, 9, 0);
    EXPECT_EQ(units::ReadProperty(kMain, kTitleLabel, 9, -1), 3u);
}

TEST_F(LabelButton, GradientWithOneUsedColourPaintsTheBackgroundColour) {
    auto *label = static_cast<units::LabelUnit *>(ObjectOf(kMain, kMessageLabel));
    EXPECT_EQ(units::UsedColours(label->props, units::kLabelGradientColour1).size(), 1u);
    QImage image = Grab(kMain, kMessageLabel);
    // Right-aligned text leaves the left part inside the border to the background.
    QRect inside(3, 3, 140, image.height() - 6);
    QImage left = image.copy(inside);
    EXPECT_EQ(CountNear(left, QColor(255, 0, 0), 0), left.width() * left.height());
    // With two used colours the gradient shows.
    units::WriteProperty(kMain, kMessageLabel, 21, -1, 0x00ff00, 0);
    left = Grab(kMain, kMessageLabel).copy(inside);
    EXPECT_LT(CountNear(left, QColor(255, 0, 0), 0), left.width() * left.height() / 2);
}

TEST_F(LabelButton, MainWindowLooksRight) {
    Pump();
    QImage image = Grab(kMain);
    image.save("/tmp/winunits_main.png");
    // The title label: dark blue text over its gradient inside a red frame.
    QImage title = Grab(kMain, kTitleLabel);
    title.save("/tmp/winunits_title.png");
    EXPECT_EQ(title.pixelColor(0, 0), QColor(192, 0, 0));
    EXPECT_GT(CountNear(title, QColor(0, 0, 128), 40), 20);
    // Buttons show their captions: some dark text pixels on the button face.
    QImage button = Grab(kMain, kFetch);
    EXPECT_GT(CountNear(button, QColor(0, 0, 0), 60), 10);
    // The prompt label: black text on the button face.
    QImage prompt = Grab(kMain, kPromptLabel);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(CountNear(prompt, QColor(GetRValue(face), GetGValue(face), GetBValue(face)), 0), prompt.width() * 10);
    EXPECT_GT(CountNear(prompt, QColor(0, 0, 0), 60), 10);
}

TEST_F(LabelButton, LabelMouseEventsComeThroughTheWindowsPreFilter) {
    HWND label = HandleOf(kMain, kPromptLabel);
    PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    Pump();
    EXPECT_EQ(Calls(), std::vector<std::string>{Hex(kPromptLabel)});
}

TEST_F(LabelButton, CaptionWrittenFromAnotherThreadLandsOnTheWindowThread) {
    std::atomic<bool> done{false};
    DWORD writer = 0;
    std::thread t([&] {
        writer = GetCurrentThreadId();
        WriteText(kMessageLabel, 8, "from a job");
        done = true;
    });
    while (!done) Pump();
    t.join();
    EXPECT_NE(writer, GetCurrentThreadId());
    EXPECT_EQ(ReadText(kMessageLabel, 8), "from a job");
    char text[32] = {};
    GetWindowTextA(HandleOf(kMain, kMessageLabel), text, sizeof text);
    EXPECT_STREQ(text, "from a job");
}
