// The instance socket: messages in any chunks, and hostile counts and lengths refused
// before anything is kept for them, with the listening player going on.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QLocalSocket>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/qt/QtInstanceChannel.h"
#include "platform/qt/QtInstanceMessage.h"

namespace dz {
namespace {

using State = QtInstanceMessage::State;

std::string Serialised(const QStringList& list) {
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << list;
    return block.toStdString();
}

TEST(QtInstanceMessage, ReadsAnyChunkingAndRefusesImpossibleSizes) {
    const std::string long_path = "/" + std::string(4094, 'p');
    const QStringList list = {QString::fromStdString(long_path), QString::fromUtf8("/曲/ä b"),
                              QString(), QString("")};
    const std::string bytes = Serialised(list);
    for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{4096}, bytes.size()}) {
        QtInstanceMessage message(1 << 20);
        State state = State::kNeedMore;
        for (std::size_t at = 0; at < bytes.size(); at += chunk) {
            ASSERT_EQ(state, State::kNeedMore) << chunk;
            state = message.feed(std::string_view(bytes).substr(at, chunk));
        }
        ASSERT_EQ(state, State::kDone) << chunk;
        EXPECT_EQ(message.paths(), (std::vector<std::string>{long_path, "/曲/ä b", "", ""}));
    }

    // A count no message of 1 MiB can hold, an odd length, a length past the cap, and a
    // message past the cap.
    for (const std::string& bad :
         {std::string("\xFF\xFF\xFF\xFE", 4), std::string("\x00\x04\x00\x00", 4),
          std::string("\x00\x00\x00\x01\x00\x00\x00\x03", 8),
          std::string("\x00\x00\x00\x01\x7F\x00\x00\x00", 8)}) {
        QtInstanceMessage message(1 << 20);
        EXPECT_EQ(message.feed(bad), State::kBad);
    }
    QtInstanceMessage message(1 << 20);
    EXPECT_EQ(message.feed(std::string("\x00\x00\x00\x01\x00\x10\x00\x00", 8)), State::kNeedMore);
    EXPECT_EQ(message.feed(std::string(1 << 20, 'x')), State::kBad);
}

// A connection that declares four thousand million strings is dropped; the player goes
// on and takes the next start's paths.
TEST(QtInstanceChannel, HostileCountIsDroppedAndTheNextStartIsServed) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("dz_channel_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string socket = (dir / "s.sock").string();
    QtInstanceChannel channel(socket);
    std::vector<std::vector<std::string>> received;
    ASSERT_TRUE(channel.listen([&](std::vector<std::string> paths) { received.push_back(paths); }));

    QLocalSocket hostile;
    hostile.connectToServer(QString::fromStdString(socket));
    ASSERT_TRUE(hostile.waitForConnected(5000));
    hostile.write(QByteArray("\xFF\xFF\xFF\xFE", 4));
    hostile.flush();

    std::atomic<bool> done{false};
    QtInstanceChannel::Handover result = QtInstanceChannel::Handover::Failed;
    std::thread start([&] {
        result = QtInstanceChannel::hand_over(socket, {"/a.ptcop", "/曲.ptcop"});
        done = true;
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done && std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    start.join();
    EXPECT_EQ(result, QtInstanceChannel::Handover::Delivered);
    EXPECT_EQ(received, (std::vector<std::vector<std::string>>{{"/a.ptcop", "/曲.ptcop"}}));
    EXPECT_NE(hostile.state(), QLocalSocket::ConnectedState);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace dz
