// The application shell on the real Qt window under an X server: until skins
// exist the window is 275 x 116 of protected near-black, and the close sequence
// ends the worker and destroys the window. Skipped without xcb.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "app/Application.h"
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

TEST(XcbAppTest, WindowShowsProtectedNearBlackAndClosesCleanly) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs xcb";
    QtWindowHost host(Application::kClientWidth, Application::kClientHeight);
    FakeAudioLibrary lib;
    int shutdowns = 0;
    AppHooks hooks;
    hooks.after_shutdown = [&](TAG_USERDATA&) { ++shutdowns; };
    auto app = std::make_unique<Application>(host, lib, hooks);
    app->create();
    app->start_worker();
    ASSERT_TRUE(PumpUntil([&] { return host.widget().isVisible(); }, 2000));
    PumpUntil([] { return false; }, 500);  // a few presents

    Rect r = host.window_rect();
    QImage shot =
        QGuiApplication::primaryScreen()->grabWindow(0, r.left, r.top, 275, 116).toImage();
    int wrong = 0;
    for (int y = 0; y < 116; ++y) {
        for (int x = 0; x < 275; ++x) {
            if (shot.pixelColor(x, y) != QColor(0, 1, 0)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels not near-black 0x000100";

    app->on_close_request();
    ASSERT_TRUE(PumpUntil([&] { return shutdowns == 1; }, 3000));
    EXPECT_FALSE(host.widget().isVisible());
    app.reset();
    EXPECT_EQ(shutdowns, 1);
}

}  // namespace
}  // namespace dz
