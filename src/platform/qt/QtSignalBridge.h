#pragma once
// SIGINT and SIGTERM, delivered to the UI thread: the handler only writes a byte
// to a pipe; a socket notifier on the UI thread reads it and runs the callback.

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace dz {

class QtSignalBridge {
public:
    explicit QtSignalBridge(std::function<void()> on_signal);
    ~QtSignalBridge();
    QtSignalBridge(const QtSignalBridge&) = delete;
    QtSignalBridge& operator=(const QtSignalBridge&) = delete;

    bool installed() const { return notifier_ != nullptr; }

private:
    std::function<void()> on_signal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace dz
