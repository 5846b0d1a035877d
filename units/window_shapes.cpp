// The shapes, each a routine of the window's width and height. Outlines are given in
// thousandths of the window's size, so a shape stretches with the window.
#include "window_shapes.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace units {
namespace {

struct Permille {
    int x, y;
};

using ShapeRoutine = HRGN (*)(int w, int h);

POINT Scaled(double x, double y, int w, int h) { return POINT{LONG(std::lround(x * w / 1000)), LONG(std::lround(y * h / 1000))}; }

HRGN Outline(int w, int h, std::initializer_list<Permille> corners) {
    std::vector<POINT> points;
    for (const Permille &c : corners) points.push_back(Scaled(c.x, c.y, w, h));
    return CreatePolygonRgn(points.data(), int(points.size()), WINDING);
}

// A regular polygon (or, with an inner radius, a star) filling the window.
HRGN Radial(int w, int h, int corners, double innerRatio, double turn) {
    const double pi = std::acos(-1.0);
    int steps = innerRatio > 0 ? corners * 2 : corners;
    std::vector<POINT> points;
    for (int i = 0; i < steps; ++i) {
        double r = (innerRatio > 0 && i % 2) ? innerRatio : 1.0;
        double a = turn + 2 * pi * i / steps;
        points.push_back(Scaled(500 + 500 * r * std::sin(a), 500 - 500 * r * std::cos(a), w, h));
    }
    return CreatePolygonRgn(points.data(), int(points.size()), WINDING);
}

// `into` becomes `into` combined with `part`; `part` is deleted.
HRGN Join(HRGN into, HRGN part, int mode = RGN_OR) {
    CombineRgn(into, into, part, mode);
    DeleteObject(part);
    return into;
}

HRGN Ellipse(int w, int h) { return CreateEllipticRgn(0, 0, w, h); }
HRGN RoundedSmall(int w, int h) {
    int r = std::min(w, h) / 4;
    return CreateRoundRectRgn(0, 0, w, h, r, r);
}
HRGN RoundedLarge(int w, int h) {
    int r = std::min(w, h) / 2;
    return CreateRoundRectRgn(0, 0, w, h, r, r);
}
HRGN Circle(int w, int h) {
    int d = std::min(w, h);
    return CreateEllipticRgn((w - d) / 2, (h - d) / 2, (w - d) / 2 + d, (h - d) / 2 + d);
}
HRGN Capsule(int w, int h) {
    int d = std::min(w, h);
    return CreateRoundRectRgn(0, 0, w, h, d, d);
}
HRGN Diamond(int w, int h) { return Outline(w, h, {{500, 0}, {1000, 500}, {500, 1000}, {0, 500}}); }
HRGN TriangleUp(int w, int h) { return Outline(w, h, {{500, 0}, {1000, 1000}, {0, 1000}}); }
HRGN TriangleDown(int w, int h) { return Outline(w, h, {{0, 0}, {1000, 0}, {500, 1000}}); }
HRGN TriangleLeft(int w, int h) { return Outline(w, h, {{0, 500}, {1000, 0}, {1000, 1000}}); }
HRGN TriangleRight(int w, int h) { return Outline(w, h, {{0, 0}, {1000, 500}, {0, 1000}}); }
HRGN Pentagon(int w, int h) { return Radial(w, h, 5, 0, 0); }
HRGN Hexagon(int w, int h) { return Outline(w, h, {{250, 0}, {750, 0}, {1000, 500}, {750, 1000}, {250, 1000}, {0, 500}}); }
HRGN Octagon(int w, int h) {
    return Outline(w, h, {{293, 0}, {707, 0}, {1000, 293}, {1000, 707}, {707, 1000}, {293, 1000}, {0, 707}, {0, 293}});
}
HRGN CutCorners(int w, int h) {
    return Outline(w, h, {{100, 0}, {900, 0}, {1000, 100}, {1000, 900}, {900, 1000}, {100, 1000}, {0, 900}, {0, 100}});
}
HRGN Parallelogram(int w, int h) { return Outline(w, h, {{200, 0}, {1000, 0}, {800, 1000}, {0, 1000}}); }
HRGN Trapezium(int w, int h) { return Outline(w, h, {{200, 0}, {800, 0}, {1000, 1000}, {0, 1000}}); }
HRGN FivePointStar(int w, int h) { return Radial(w, h, 5, 0.4, 0); }
HRGN SixPointStar(int w, int h) { return Radial(w, h, 6, 0.55, 0); }
HRGN Cross(int w, int h) {
    return Outline(w, h, {{333, 0}, {667, 0}, {667, 333}, {1000, 333}, {1000, 667}, {667, 667}, {667, 1000},
                          {333, 1000}, {333, 667}, {0, 667}, {0, 333}, {333, 333}});
}
HRGN ArrowRight(int w, int h) {
    return Outline(w, h, {{0, 300}, {600, 300}, {600, 0}, {1000, 500}, {600, 1000}, {600, 700}, {0, 700}});
}
HRGN ArrowLeft(int w, int h) {
    return Outline(w, h, {{1000, 300}, {400, 300}, {400, 0}, {0, 500}, {400, 1000}, {400, 700}, {1000, 700}});
}
HRGN ArrowUp(int w, int h) {
    return Outline(w, h, {{300, 1000}, {300, 400}, {0, 400}, {500, 0}, {1000, 400}, {700, 400}, {700, 1000}});
}
HRGN ArrowDown(int w, int h) {
    return Outline(w, h, {{300, 0}, {300, 600}, {0, 600}, {500, 1000}, {1000, 600}, {700, 600}, {700, 0}});
}
HRGN Chevron(int w, int h) { return Outline(w, h, {{0, 0}, {700, 0}, {1000, 500}, {700, 1000}, {0, 1000}, {300, 500}}); }
// Two round lobes over a point.
HRGN Heart(int w, int h) {
    HRGN heart = CreateEllipticRgn(0, 0, w / 2 + w / 20, h / 2);
    heart = Join(heart, CreateEllipticRgn(w / 2 - w / 20, 0, w, h / 2));
    return Join(heart, Outline(w, h, {{20, 330}, {980, 330}, {500, 1000}}));
}
// A rounded box with a tail at its lower left.
HRGN SpeechBubble(int w, int h) {
    int r = std::min(w, h) / 4;
    HRGN bubble = CreateRoundRectRgn(0, 0, w, h * 4 / 5, r, r);
    return Join(bubble, Outline(w, h, {{150, 700}, {400, 700}, {100, 1000}}));
}
// An ellipse with an elliptic hole: the window shows only its rim.
HRGN Ring(int w, int h) { return Join(CreateEllipticRgn(0, 0, w, h), CreateEllipticRgn(w / 4, h / 4, w - w / 4, h - h / 4), RGN_DIFF); }
HRGN Cloud(int w, int h) {
    HRGN cloud = CreateEllipticRgn(0, h * 35 / 100, w * 45 / 100, h);
    cloud = Join(cloud, CreateEllipticRgn(w * 20 / 100, 0, w * 70 / 100, h * 75 / 100));
    cloud = Join(cloud, CreateEllipticRgn(w * 50 / 100, h * 20 / 100, w, h * 90 / 100));
    return Join(cloud, CreateRectRgn(w * 20 / 100, h * 60 / 100, w * 80 / 100, h));
}
// A rectangle under a round top.
HRGN Arch(int w, int h) {
    HRGN arch = CreateEllipticRgn(0, 0, w, h * 2 / 3);
    return Join(arch, CreateRectRgn(0, h / 3, w, h));
}

const ShapeRoutine kShapes[kWindowShapeCount] = {
    Ellipse,      RoundedSmall, RoundedLarge, Circle,        Capsule,    Diamond,    TriangleUp,   TriangleDown,
    TriangleLeft, TriangleRight, Pentagon,    Hexagon,       Octagon,    CutCorners, Parallelogram, Trapezium,
    FivePointStar, SixPointStar, Cross,       ArrowRight,    ArrowLeft,  ArrowUp,    ArrowDown,    Chevron,
    Heart,        SpeechBubble, Ring,         Cloud,         Arch,
};

} // namespace

HRGN MakeWindowShape(int32_t shape, int width, int height) {
    if (shape < 1 || shape > kWindowShapeCount || width <= 0 || height <= 0) return nullptr;
    return kShapes[shape - 1](width, height);
}

} // namespace units
