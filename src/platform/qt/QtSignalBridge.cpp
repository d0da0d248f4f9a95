#include "platform/qt/QtSignalBridge.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace dz {

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void OnCloseSignal(int) {
    int saved = errno;
    char b = 1;
    if (g_pipe[1] >= 0) {
        [[maybe_unused]] ssize_t n = write(g_pipe[1], &b, 1);
    }
    errno = saved;
}

}  // namespace

QtSignalBridge::QtSignalBridge(std::function<void()> on_signal) : on_signal_(std::move(on_signal)) {
    if (g_pipe[0] < 0 && pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this]() {
        char buf[64];
        while (read(g_pipe[0], buf, sizeof buf) > 0) {
        }
        if (on_signal_) on_signal_();
    });
    struct sigaction sa {};
    sa.sa_handler = OnCloseSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

QtSignalBridge::~QtSignalBridge() {
    struct sigaction sa {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

}  // namespace dz
