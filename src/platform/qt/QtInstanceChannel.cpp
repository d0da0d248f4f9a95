#include "platform/qt/QtInstanceChannel.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/qt/QtInstanceMessage.h"

namespace dz {

namespace {

constexpr int kConnectMs = 1000;
constexpr int kAnswerMs = 4000;
// A client that has not sent a whole message by then is dropped.
constexpr int kServerReadMs = 5000;
// More than any command line can hold.
constexpr std::size_t kMaxMessageBytes = 16 * 1024 * 1024;
constexpr char kAnswer = 'K';

// FNV-1a, 64 bits.
std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

bool is_private_folder(const std::string& dir) {
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

std::string socket_folder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
        if (is_private_folder(runtime)) return runtime;
    }
    std::string dir = "/tmp/dezidu-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);  // fails harmlessly when it exists
    return is_private_folder(dir) ? dir : std::string();
}

}  // namespace

std::string instance_socket_path(const std::string& settings_path) {
    std::string dir = socket_folder();
    if (dir.empty()) return {};
    char name[40];
    std::snprintf(name, sizeof name, "/dezidu-%016llx.sock",
                  static_cast<unsigned long long>(fnv1a(settings_path)));
    return dir + name;
}

QtInstanceChannel::Handover QtInstanceChannel::hand_over(const std::string& socket_path,
                                                         const std::vector<std::string>& paths) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(socket_path));
    if (!socket.waitForConnected(kConnectMs)) return Handover::NoInstance;
    QStringList list;
    for (const std::string& p : paths) list << QString::fromStdString(p);
    QByteArray block;
    {
        QDataStream out(&block, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << list;
    }
    socket.write(block);
    if (!socket.waitForBytesWritten(kAnswerMs)) return Handover::Failed;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(kAnswerMs)) return Handover::Failed;
    }
    char answer = 0;
    socket.getChar(&answer);
    return answer == kAnswer ? Handover::Delivered : Handover::Failed;
}

QtInstanceChannel::QtInstanceChannel(std::string socket_path)
    : socket_path_(std::move(socket_path)) {}

QtInstanceChannel::~QtInstanceChannel() {
    if (server_) server_->close();  // removes the socket file
}

bool QtInstanceChannel::listen(std::function<void(std::vector<std::string>)> on_paths) {
    if (socket_path_.empty()) return false;
    on_paths_ = std::move(on_paths);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = QString::fromStdString(socket_path_);
    if (!server_->listen(name)) {
        // The file is there. A player that was killed left it when nobody answers now; a
        // player that started at the same moment keeps it.
        if (server_->serverError() != QAbstractSocket::AddressInUseError) return false;
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(kConnectMs)) return false;
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) return false;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QTimer::singleShot(kServerReadMs, client, [client] { client->abort(); });
            auto message = std::make_shared<QtInstanceMessage>(kMaxMessageBytes);
            auto read = [this, client, message] {
                if (message->state() != QtInstanceMessage::State::kNeedMore) return;
                const QByteArray chunk = client->readAll();
                switch (message->feed(std::string_view(chunk.constData(), chunk.size()))) {
                    case QtInstanceMessage::State::kNeedMore:
                        return;
                    case QtInstanceMessage::State::kBad:
                        client->abort();
                        return;
                    case QtInstanceMessage::State::kDone:
                        break;
                }
                client->putChar(kAnswer);
                client->flush();
                client->disconnectFromServer();
                if (on_paths_) on_paths_(message->paths());
            };
            QObject::connect(client, &QLocalSocket::readyRead, client, read);
            if (client->bytesAvailable() > 0) read();
        }
    });
    return true;
}

}  // namespace dz
