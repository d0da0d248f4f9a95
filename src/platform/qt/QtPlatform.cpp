#include "platform/qt/QtPlatform.h"

#include <unistd.h>
#include <QApplication>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/qt/QtDialogArt.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtPopupMenus.h"
#include "platform/qt/QtSignalBridge.h"
#include "platform/qt/QtTextRenderer.h"
#include "platform/qt/QtWindowHost.h"

namespace dz {

namespace {

bool Set(const char* value) {
    return value && *value;
}

// Qt's messages while the application object is made: held back, so that a start that
// cannot open a display says so in one line instead of Qt's warnings and abort.
struct StartMessages {
    struct Held {
        QtMsgType type;
        std::string category;
        QString text;
    };
    std::mutex mutex;
    std::vector<Held> held;
    std::string no_display_line;
};
StartMessages* g_start = nullptr;

void HoldStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // The one fatal error of the start: no platform plugin could be started.
        std::fputs(g_start->no_display_line.c_str(), stderr);
        std::fflush(stderr);
        _exit(1);
    }
    std::lock_guard<std::mutex> g(g_start->mutex);
    g_start->held.push_back({type, context.category ? context.category : "", text});
}

}  // namespace

void SetDefaultQtPlatform() {
    if (Set(std::getenv("QT_QPA_PLATFORM"))) return;
    const bool x = Set(std::getenv("DISPLAY"));
    const bool wayland = Set(std::getenv("WAYLAND_DISPLAY"));
    setenv("QT_QPA_PLATFORM", !x && wayland ? "wayland" : "xcb;wayland", 1);
}

std::string NoDisplayMessage(std::string_view program, std::string_view platforms,
                             const char* x_display, const char* wayland_display) {
    std::string tried;
    while (!platforms.empty()) {
        const std::size_t end = std::min(platforms.find(';'), platforms.size());
        const std::string_view name = platforms.substr(0, end);
        platforms.remove_prefix(std::min(end + 1, platforms.size()));
        if (name.empty()) continue;
        if (!tried.empty()) tried += ", then ";
        tried += name;
        const bool x = name == "xcb";
        if (x || name == "wayland" || name.starts_with("wayland-")) {
            const char* variable = x ? "DISPLAY" : "WAYLAND_DISPLAY";
            const char* value = x ? x_display : wayland_display;
            tried += std::string(" with ") + variable +
                     (Set(value) ? "=" + std::string(value) : std::string(" unset"));
        }
    }
    if (tried.empty()) tried = "none";
    return std::string(program) + ": cannot open a display (tried the Qt platform " + tried + ")\n";
}

QtPlatform::QtPlatform(int& argc, char** argv, int client_width, int client_height) {
    QApplication::setApplicationName(QStringLiteral("Dezidu"));
    {
        StartMessages start;
        const char* platforms = std::getenv("QT_QPA_PLATFORM");
        std::string_view program = argc > 0 && argv[0] && *argv[0] ? argv[0] : "dezidu";
        program.remove_prefix(std::min(program.rfind('/') + 1, program.size()));
        start.no_display_line =
            NoDisplayMessage(program, platforms ? platforms : "", std::getenv("DISPLAY"),
                             std::getenv("WAYLAND_DISPLAY"));
        g_start = &start;
        QtMessageHandler previous = qInstallMessageHandler(HoldStartMessage);
        app_ = std::make_unique<QApplication>(argc, argv);
        qInstallMessageHandler(previous);
        g_start = nullptr;
        for (const StartMessages::Held& m : start.held) {
            const QMessageLogContext context(nullptr, 0, nullptr, m.category.c_str());
            qt_message_output(m.type, context, m.text);
        }
    }
    app_->setQuitOnLastWindowClosed(false);  // the application ends the loop itself
    QApplication::setWindowIcon(ProgramIcon());
    host_ = std::make_unique<QtWindowHost>(client_width, client_height);
    menus_ = std::make_unique<QtPopupMenus>(&host_->widget());
    dialogs_ = std::make_unique<QtDialogs>(&host_->widget());
    text_ = std::make_unique<QtTextRenderer>();
}

QtPlatform::~QtPlatform() {
    signals_.reset();
    host_.reset();
}

WindowHost& QtPlatform::host() {
    return *host_;
}
PopupMenus& QtPlatform::popup_menus() {
    return *menus_;
}
Dialogs& QtPlatform::dialogs() {
    return *dialogs_;
}
TextRenderer& QtPlatform::text_renderer() {
    return *text_;
}

void QtPlatform::raise_window() {
    QWidget& w = host_->widget();
    if (w.windowState() & Qt::WindowMinimized)
        w.setWindowState(w.windowState() & ~Qt::WindowMinimized);
    w.show();
    w.raise();
    w.activateWindow();
}

void QtPlatform::install_close_signals() {
    signals_ = std::make_unique<QtSignalBridge>([this] { host_->request_close(); });
}

int QtPlatform::run() {
    return app_->exec();
}

}  // namespace dz
