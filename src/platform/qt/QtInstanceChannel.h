#pragma once
// One player per settings file: a later start hands its command line to the running
// player over a local socket and ends.
//
// The socket is named after the settings file's absolute path; it lives in
// $XDG_RUNTIME_DIR, or in /tmp/dezidu-<uid> (made with mode 0700, used only when it
// belongs to this user and is not a link). A message is one QStringList in QDataStream
// form (Qt 6.0 layout); the running player answers with one byte 'K' once it has it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLocalServer;

namespace dz {

// The socket path for `settings_path` (absolute), or "" when no private folder is usable.
std::string instance_socket_path(const std::string& settings_path);

class QtInstanceChannel {
public:
    enum class Handover {
        Delivered,   // a running player took the paths
        NoInstance,  // nothing listens (no socket, or a stale one whose owner died)
        Failed,      // a player accepted the connection but did not answer in time
    };
    // Needs no QCoreApplication: blocking calls only. Waits at most a few seconds.
    static Handover hand_over(const std::string& socket_path,
                              const std::vector<std::string>& paths);

    explicit QtInstanceChannel(std::string socket_path);
    ~QtInstanceChannel();
    QtInstanceChannel(const QtInstanceChannel&) = delete;
    QtInstanceChannel& operator=(const QtInstanceChannel&) = delete;

    // UI thread, the QApplication exists: listens from now on and calls `on_paths` on the
    // UI thread for each message. A socket file nobody answers on (left by a killed
    // player) is replaced. False when listening failed.
    bool listen(std::function<void(std::vector<std::string>)> on_paths);

private:
    std::string socket_path_;
    std::function<void(std::vector<std::string>)> on_paths_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace dz
