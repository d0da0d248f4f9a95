// The program's pipeline on a real X server (xvfb-run, QT_QPA_PLATFORM=xcb): bodies
// drawn, laid out, cut by the player's polygons, shown at double size and dragged,
// checked from screenshots and with clicks and moves of the X pointer (xdotool).
// Skipped elsewhere.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Layout.h"
#include "edx/EdxCodes.h"
#include "edx/EdxDrag.h"
#include "edx/EdxDraw.h"
#include "edx/EdxRender.h"
#include "platform/WindowEvents.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/qt/QtWindowHost.h"

namespace dz {
namespace {

bool PumpUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Runs xdotool with `args`; false when it is missing or fails.
bool Xdotool(const std::string& args) {
    return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
}

// The player's colours: every logical pixel its own, never pure black.
ColorRef Pattern(int x, int y) {
    return ColorRef(0x40 + (x & 0x3F)) | ColorRef(0x40 + (y & 0x3F)) << 8 | 0xC00000u;
}

// Saves a screenshot as DEZIDU_SHOTS/<name>.png when that folder is named, for a look.
void Keep(const QImage& shot, const char* name) {
    if (const char* dir = std::getenv("DEZIDU_SHOTS"); dir && *dir) {
        shot.save(QString::fromUtf8(dir) + "/" + name + ".png");
    }
}

std::atomic<int> g_presses{0};

// The player draws the pattern and moves the window while its left button is held.
int Player(EdxBody* body, int code, TAG_USERDATA*) {
    switch (code) {
        case EDX_DRAW:
            for (int y = 0; y < body->rect.height(); ++y) {
                for (int x = 0; x < body->rect.width(); ++x) DrawPixel(body, x, y, Pattern(x, y));
            }
            break;
        case kWmLButtonDown:
            ++g_presses;
            BeginDrag(body);
            break;
        case kWmLButtonUp:
            EndDrag(body);
            break;
    }
    return 0;
}

// A green window that counts the clicks it gets, under ours.
class Below : public QWidget {
public:
    Below() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
        setAutoFillBackground(true);
        QPalette pal;
        pal.setColor(QPalette::Window, QColor(0, 255, 0));
        setPalette(pal);
    }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class XcbLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "needs an X server";
        }
        if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
        g_presses = 0;
    }
    void TearDown() override {
        if (!app) return;
        app->on_close_request();
        PumpUntil([&] { return !host.widget().isVisible(); }, 3000);
        app.reset();
    }
    // The player alone (275 x 116), cut by `polygon` when it has points.
    void start(bool double_size, std::vector<Point> polygon) {
        below.setGeometry(0, 0, 800, 600);
        below.show();
        PumpUntil([] { return false; }, 200);
        hooks.create_bodies = [double_size, polygon](TAG_USERDATA& d) {
            EdxWorld* w = d.world;
            auto make = [w](EdxHandler h, Rect r, int visible) {
                return CreateBody(w, EdxBodyInfo{h, r, visible, 0});
            };
            d.body_main = make(Player, {0, 0, 275, 116}, 1);
            d.body_main_shade = make(nullptr, {0, 0, 275, 14}, 0);
            d.body_pledit = make(nullptr, {0, 0, 275, 116}, 0);
            d.body_pledit_shade = make(nullptr, {0, 0, 275, 14}, 0);
            d.body_strip_cover = make(nullptr, {0, 0, 0, 0}, 0);
            d.body_strip_add = make(nullptr, {0, 0, 22, 54}, 0);
            d.body_strip_rem = make(nullptr, {0, 0, 22, 54}, 0);
            d.body_strip_sel = make(nullptr, {0, 0, 22, 54}, 0);
            d.body_strip_misc = make(nullptr, {0, 0, 22, 54}, 0);
            d.body_strip_list = make(nullptr, {0, 0, 22, 54}, 0);
            d.visible_pledit = 0;
            d.double_size = double_size ? 1 : 0;
            if (!polygon.empty()) {
                d.skin.region_normal.polygons.resize(1);
                d.skin.region_normal.polygons[0].points = polygon;
            }
        };
        hooks.run_layout = [](TAG_USERDATA& d) { RunLayout(d); };
        hooks.apply_shape = ApplyShapeMask;
        app = std::make_unique<Application>(host, lib, hooks);
        app->create();
        app->start_worker();
        ASSERT_TRUE(PumpUntil([&] { return host.widget().isVisible(); }, 2000));
        host.move_window(100, 100);            // all on the 800 x 600 screen, also at double size
        PumpUntil([] { return false; }, 600);  // a few composed and presented frames
    }
    QImage grab(const Rect& r) {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, r.left, r.top, r.width(), r.height())
            .toImage();
    }
    // Clicks the left button at a screen point.
    void click(int x, int y) {
        ASSERT_TRUE(
            Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"));
        PumpUntil([] { return false; }, 300);
    }

    Below below;
    QtWindowHost host{Application::kClientWidth, Application::kClientHeight};
    FakeAudioLibrary lib;
    AppHooks hooks;
    std::unique_ptr<Application> app;
};

TEST_F(XcbLayoutTest, PixelsCutByThePolygonsShowAndTakeClicksForWhatLiesBelow) {
    start(false, {{20, 20}, {200, 20}, {200, 90}, {20, 90}});
    const Rect r = host.window_rect();
    ASSERT_EQ(r.width(), 275);
    QImage shot = grab(r);
    Keep(shot, "shape");
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(0, 255, 0)) << "cut: the window below shows";
    EXPECT_EQ(shot.pixelColor(201, 50), QColor(0, 255, 0));
    for (Point p : {Point{20, 20}, Point{200, 90}, Point{100, 50}}) {
        ColorRef c = Pattern(p.x, p.y);
        EXPECT_EQ(shot.pixelColor(p.x, p.y), QColor(c & 0xFF, (c >> 8) & 0xFF, c >> 16))
            << p.x << "," << p.y;
    }
    click(r.left + 5, r.top + 5);
    EXPECT_EQ(below.presses, 1) << "a click on a cut pixel goes through";
    EXPECT_EQ(g_presses, 0);
    click(r.left + 100, r.top + 50);
    EXPECT_TRUE(PumpUntil([] { return g_presses == 1; }, 1000));
    EXPECT_EQ(below.presses, 1);
}

TEST_F(XcbLayoutTest, DoubleSizeShowsEveryLogicalPixelAsATwoByTwoBlock) {
    start(true, {{0, 0}, {274, 0}, {274, 100}, {0, 100}});  // rows 101-115 cut
    const Rect r = host.window_rect();
    ASSERT_EQ(r.width(), 550);
    ASSERT_EQ(r.height(), 232);
    EXPECT_EQ(app->world()->rect, (Rect{0, 0, 275, 116}));
    QImage shot = grab(r);
    Keep(shot, "double_size");
    int wrong = 0;
    for (int y = 0; y < 232; ++y) {
        for (int x = 0; x < 550; ++x) {
            QColor want(0, 255, 0);
            if (y / 2 <= 100) {
                ColorRef c = Pattern(x / 2, y / 2);
                want = QColor(c & 0xFF, (c >> 8) & 0xFF, c >> 16);
            }
            if (shot.pixelColor(x, y) != want && ++wrong <= 5) {
                ADD_FAILURE() << "at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(XcbLayoutTest, DraggingABodyMovesTheWindowByThePointersDistance) {
    start(false, {});
    const Rect r = host.window_rect();
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(r.left + 150) + " " +
                        std::to_string(r.top + 40) + " mousedown 1"));
    ASSERT_TRUE(PumpUntil([&] { return app->world()->dragging == 1; }, 1000));
    // To 10 pixels from the screen's left edge: the window leaves the screen and nothing
    // snaps it back.
    for (int step = 0; step < 3; ++step) {
        ASSERT_TRUE(Xdotool("mousemove_relative -- -80 5"));
        PumpUntil([] { return false; }, 50);
    }
    ASSERT_TRUE(Xdotool("mouseup 1"));
    ASSERT_TRUE(PumpUntil([&] { return app->world()->dragging == 0; }, 1000));
    PumpUntil([] { return false; }, 200);
    const Rect moved = host.window_rect();
    EXPECT_EQ(moved.left, r.left - 240);
    EXPECT_EQ(moved.top, r.top + 15);
    // The screen agrees: the player's pattern is now where the window went.
    QImage shot = grab(Rect{0, moved.top, 300, moved.top + 116});
    Keep(shot, "dragged");
    ColorRef c = Pattern(10 - moved.left, 10);
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(c & 0xFF, (c >> 8) & 0xFF, c >> 16));
}

}  // namespace
}  // namespace dz
