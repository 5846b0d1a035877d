// Regions (rectangles without their right and bottom edges, ellipses, round
// rectangles, polygons, combinations) and a window's region as its widget's mask.
#include <gtest/gtest.h>

#include <QWidget>

#include "window_test_support.h"

namespace {

RECT BoxOf(HRGN region) {
    RECT r{-1, -1, -1, -1};
    GetRgnBox(region, &r);
    return r;
}

bool Same(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST(Regions, RectanglesLeaveOutTheirRightAndBottomEdges) {
    HRGN r = CreateRectRgn(10, 20, 30, 40);
    EXPECT_TRUE(PtInRegion(r, 10, 20));
    EXPECT_TRUE(PtInRegion(r, 29, 39));
    EXPECT_FALSE(PtInRegion(r, 30, 39));
    EXPECT_FALSE(PtInRegion(r, 29, 40));
    EXPECT_TRUE(Same(BoxOf(r), RECT{10, 20, 30, 40}));
    EXPECT_EQ(GetRgnBox(r, nullptr), ERROR);
    EXPECT_EQ(GetObjectType(r), DWORD(OBJ_REGION));
    HRGN swapped = CreateRectRgn(30, 40, 10, 20);
    EXPECT_TRUE(Same(BoxOf(swapped), RECT{10, 20, 30, 40}));
    HRGN empty = CreateRectRgn(5, 5, 5, 50);
    RECT box;
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    EXPECT_TRUE(Same(box, RECT{0, 0, 0, 0}));
    for (HRGN h : {r, swapped, empty}) EXPECT_TRUE(DeleteObject(h));
}

TEST(Regions, EllipsesAndRoundRectanglesCutTheCorners) {
    HRGN e = CreateEllipticRgn(0, 0, 100, 60);
    EXPECT_TRUE(PtInRegion(e, 50, 30));
    EXPECT_FALSE(PtInRegion(e, 1, 1));
    EXPECT_FALSE(PtInRegion(e, 98, 58));
    RECT box = BoxOf(e);
    EXPECT_LE(box.right, 100);
    EXPECT_LE(box.bottom, 60);
    HRGN rr = CreateRoundRectRgn(0, 0, 100, 60, 40, 40);
    EXPECT_TRUE(PtInRegion(rr, 50, 1));  // the straight top edge
    EXPECT_FALSE(PtInRegion(rr, 1, 1)); // a rounded corner
    EXPECT_TRUE(PtInRegion(rr, 20, 20));
    EXPECT_TRUE(Same(BoxOf(rr), RECT{0, 0, 100, 60})); // the straight edges end where a rectangle's do
    DeleteObject(e);
    DeleteObject(rr);
}

TEST(Regions, PolygonsFillByTheirMode) {
    const POINT triangle[] = {{0, 0}, {100, 0}, {0, 100}};
    HRGN t = CreatePolygonRgn(triangle, 3, ALTERNATE);
    EXPECT_TRUE(PtInRegion(t, 10, 10));
    EXPECT_FALSE(PtInRegion(t, 90, 90));
    // A star drawn in one stroke: its centre is outside in alternate mode, inside in winding mode.
    const POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    HRGN alternate = CreatePolygonRgn(star, 5, ALTERNATE), winding = CreatePolygonRgn(star, 5, WINDING);
    EXPECT_FALSE(PtInRegion(alternate, 50, 50));
    EXPECT_TRUE(PtInRegion(winding, 50, 50));
    EXPECT_EQ(CreatePolygonRgn(star, 5, 7), nullptr);
    HRGN line = CreatePolygonRgn(star, 2, ALTERNATE);
    EXPECT_EQ(GetRgnBox(line, nullptr), ERROR);
    RECT box;
    EXPECT_EQ(GetRgnBox(line, &box), NULLREGION);
    for (HRGN h : {t, alternate, winding, line}) DeleteObject(h);
}

TEST(Regions, CombiningGivesTheKindOfTheResult) {
    HRGN a = CreateRectRgn(0, 0, 20, 20), b = CreateRectRgn(10, 10, 30, 30), out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(out, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_TRUE(Same(BoxOf(out), RECT{10, 10, 20, 20}));
    EXPECT_EQ(CombineRgn(out, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(Same(BoxOf(out), RECT{0, 0, 30, 30}));
    EXPECT_FALSE(PtInRegion(out, 25, 5));
    EXPECT_EQ(CombineRgn(out, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(out, 15, 15));
    EXPECT_EQ(CombineRgn(out, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(out, a, a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(out, a, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(out, a, nullptr, RGN_AND), ERROR);
    EXPECT_EQ(CombineRgn(out, a, b, 9), ERROR);
    EXPECT_EQ(CombineRgn(out, reinterpret_cast<HRGN>(GetStockObject(WHITE_BRUSH)), b, RGN_OR), ERROR);
    EXPECT_EQ(OffsetRgn(out, 5, 7), SIMPLEREGION);
    EXPECT_TRUE(Same(BoxOf(out), RECT{5, 7, 25, 27}));
    for (HRGN h : {a, b, out}) DeleteObject(h);
}

// The region is the window's from then on: GetWindowRgn copies it, the widget is
// masked by it, and a new region (or none) replaces it.
TEST(WindowRegions, ARegionMasksTheWindowAndIsReplaced) {
    HWND child_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND h = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 60, child_parent, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(h, nullptr);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, copy), ERROR);
    EXPECT_EQ(SetWindowRgn(h, CreateEllipticRgn(0, 0, 100, 60), TRUE), 1);
    EXPECT_EQ(GetWindowRgn(h, copy), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(copy, 50, 30));
    QWidget *widget = platform::HostOf(h);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->mask().contains(QPoint(50, 30)));
    EXPECT_FALSE(widget->mask().contains(QPoint(1, 1)));
    EXPECT_EQ(SetWindowRgn(h, nullptr, FALSE), 1);
    EXPECT_TRUE(widget->mask().isEmpty());
    EXPECT_EQ(GetWindowRgn(h, copy), ERROR);
    EXPECT_EQ(SetWindowRgn(h, reinterpret_cast<HRGN>(GetStockObject(WHITE_BRUSH)), FALSE), 0);
    EXPECT_EQ(SetWindowRgn(reinterpret_cast<HWND>(intptr_t(0x7777)), copy, FALSE), 0);
    DeleteObject(copy);
    DestroyWindow(child_parent);
    window_test::Pump();
}
