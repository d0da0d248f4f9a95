#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <cstdlib>

#include "platform/qt/QtDialogArt.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtPopupMenus.h"
#include "platform/qt/QtSignalBridge.h"
#include "platform/qt/QtTextRenderer.h"
#include "platform/qt/QtWindowHost.h"

namespace dz {

void SetDefaultQtPlatform() {
    const char* p = std::getenv("QT_QPA_PLATFORM");
    if (!p || !*p) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

QtPlatform::QtPlatform(int& argc, char** argv, int client_width, int client_height) {
    QApplication::setApplicationName(QStringLiteral("Dezidu"));
    app_ = std::make_unique<QApplication>(argc, argv);
    app_->setQuitOnLastWindowClosed(false);  // the application ends the loop itself
    QApplication::setWindowIcon(ProgramIcon());
    host_ = std::make_unique<QtWindowHost>(client_width, client_height);
    menus_ = std::make_unique<QtPopupMenus>();
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
