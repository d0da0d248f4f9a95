// The key-colour cut and the 2x painting on a real X server (run under xvfb-run
// with QT_QPA_PLATFORM=xcb; skipped elsewhere: the offscreen platform has no masks).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "RecordingEvents.h"
#include "platform/qt/QtWindowHost.h"

namespace dz {
namespace {

void Settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void Put(RecordingEvents& ev, int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    std::uint8_t* p = ev.frame.data() + y * ev.stride() + 3 * x;
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

class XcbMaskTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "needs an X server (platform "
                         << qPrintable(QGuiApplication::platformName()) << ")";
        }
    }
    // A green window under the place where ours will be.
    void put_green_behind(int x, int y, int w, int h) {
        below = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        below->setAutoFillBackground(true);
        QPalette pal;
        pal.setColor(QPalette::Window, QColor(0, 255, 0));
        below->setPalette(pal);
        below->setGeometry(x, y, w, h);
        below->show();
        Settle(200);
    }
    QImage grab(int x, int y, int w, int h) {
        return QGuiApplication::primaryScreen()->grabWindow(0, x, y, w, h).toImage();
    }
    std::unique_ptr<QWidget> below;
};

TEST_F(XcbMaskTest, KeyColouredPixelsAreCutOutOfTheWindow) {
    put_green_behind(100, 100, 20, 10);
    RecordingEvents ev;
    ev.width = 20;
    ev.height = 10;
    ev.frame.assign(ev.stride() * ev.height, 0);
    for (int y = 0; y < 10; ++y) {
        for (int x = 10; x < 20; ++x) Put(ev, x, y, 0x00, 0x00, 0xFF);  // red right half
    }
    QtWindowHost host(20, 10);
    host.set_events(&ev);
    host.set_colour_key(0);
    host.move_window(100, 100);
    host.show();
    host.present();
    Settle(400);
    QImage shot = grab(100, 100, 20, 10);
    EXPECT_EQ(shot.pixelColor(2, 5), QColor(0, 255, 0)) << "key pixels show what lies below";
    EXPECT_EQ(shot.pixelColor(15, 5), QColor(255, 0, 0));
    // A frame without key pixels leaves the whole window opaque.
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) Put(ev, x, y, 0x00, 0x01, 0x00);
    }
    host.present();
    Settle(300);
    shot = grab(100, 100, 20, 10);
    EXPECT_EQ(shot.pixelColor(2, 5), QColor(0, 1, 0));
    host.destroy_window();
}

TEST_F(XcbMaskTest, DoubleSizeShowsEachPixelAsATwoByTwoBlock) {
    RecordingEvents ev;
    ev.width = 8;
    ev.height = 4;
    ev.zoom = 2.0;
    ev.frame.assign(ev.stride() * ev.height, 0);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            Put(ev, x, y, std::uint8_t(30 * x), std::uint8_t(60 * y + 10), 200);
        }
    }
    QtWindowHost host(16, 8);
    host.set_events(&ev);
    host.move_window(200, 200);
    host.show();
    host.present();
    Settle(400);
    QImage shot = grab(200, 200, 16, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            QColor want(200, 60 * (y / 2) + 10, 30 * (x / 2));
            ASSERT_EQ(shot.pixelColor(x, y), want) << "at " << x << "," << y;
        }
    }
    host.destroy_window();
}

}  // namespace
}  // namespace dz
