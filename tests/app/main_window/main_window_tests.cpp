// The main window as the image carries it, and the export name rule.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "MainWindowSet.h"
#include "app_runtime_fixture.h"
#include "gbk.h"
#include "main_window.h"
#include "main_window_units.h"
#include "window_set_reader.h"

namespace {

std::map<uint32_t, units::UnitRecord> MainWindowUnits() {
    std::vector<units::WindowTemplate> windows;
    EXPECT_TRUE(units::ReadWindowSet(image::MainWindowSet, image::kMainWindowSetSize, windows));
    std::map<uint32_t, units::UnitRecord> byId;
    if (windows.size() != 1 || windows[0].id != app::kMainWindow) return byId;
    for (const units::UnitEntry &entry : windows[0].units) byId[entry.id] = entry.record;
    return byId;
}

uint32_t HandlerOf(const units::UnitRecord &record, int32_t event) {
    for (const units::EventBinding &b : record.bindings)
        if (b.event == event) return uint32_t(b.handler);
    return units::kNoHandler;
}

} // namespace

TEST(MainWindowTemplate, HoldsTheWindowAndItsFifteenUnits) {
    auto units = MainWindowUnits();
    ASSERT_EQ(units.size(), 16u);
    const units::UnitRecord &window = units[app::kMainWindowUnit];
    EXPECT_EQ(window.type, 0x10001u);
    EXPECT_EQ(window.left, 50);
    EXPECT_EQ(window.width, 589);
    EXPECT_EQ(window.height, 455);
    EXPECT_EQ(units[app::kKeywordBox].name, rt::ToGbk("编辑框_关键字"));
    EXPECT_EQ(units[app::kExportDialog].type, 0x1001fu);
    EXPECT_TRUE(units[app::kExportDialog].propertyData.empty()); // starts with the defaults
}

TEST(MainWindowTemplate, ThePageCountBoxIsVisibleDisabledAndATabStop) {
    auto units = MainWindowUnits();
    EXPECT_EQ(units[app::kPageCountBox].state, units::kStateVisible | units::kStateDisabled | units::kStateTabStop);
    EXPECT_EQ(units[app::kResultBox].state, units::kStateVisible | units::kStateTabStop);
}

TEST(MainWindowTemplate, PropertyDataHaveTheSizesOfTheirLayouts) {
    auto units = MainWindowUnits();
    EXPECT_EQ(units[app::kResultBox].propertyData.size(), 82u);  // an empty multi-line box
    EXPECT_EQ(units[app::kClearButton].propertyData.size(), 36u); // "清空网址" is 8 bytes
    std::string keywords = units[app::kKeywordBox].propertyData;
    EXPECT_NE(keywords.find(rt::ToGbk("Lumora 官网\r\n新浪\r\nSorvel网\r\n板凳")), std::string::npos);
    EXPECT_NE(units[app::kMainWindowUnit].propertyData.find(rt::ToGbk("Sorvel关键词查询网址工具")), std::string::npos);
}

TEST(MainWindowTemplate, EventsAreBoundToTheirRoutines) {
    auto units = MainWindowUnits();
    EXPECT_EQ(HandlerOf(units[app::kMainWindowUnit], 0), 0u);
    EXPECT_EQ(HandlerOf(units[app::kStartButton], 0), 1u);
    EXPECT_EQ(HandlerOf(units[app::kSaveButton], 0), 2u);
    EXPECT_EQ(HandlerOf(units[app::kClearButton], 0), 3u);
    EXPECT_EQ(HandlerOf(units[app::kSelectAllButton], 0), 4u);
    EXPECT_EQ(HandlerOf(units[app::kResultBox], -3), 5u);
    EXPECT_EQ(app::ApplicationEventRoutines.count, 6u);
    for (uint32_t i = 0; i < app::ApplicationEventRoutines.count; ++i)
        EXPECT_NE(app::ApplicationEventRoutines.routines[i], nullptr);
}

TEST(MainWindowExport, TxtIsAddedOnlyWhenTheNameLacksIt) {
    testsupport::StartApplicationRuntime();
    EXPECT_EQ(app::ExportPath("Z:\\tmp\\a"), "Z:\\tmp\\a.txt");
    EXPECT_EQ(app::ExportPath("Z:\\tmp\\a.txt"), "Z:\\tmp\\a.txt");
    EXPECT_EQ(app::ExportPath("Z:\\tmp\\A.TXT"), "Z:\\tmp\\A.TXT");
    EXPECT_EQ(app::ExportPath("Z:\\tmp\\a.txt.bak"), "Z:\\tmp\\a.txt.bak.txt");
}
