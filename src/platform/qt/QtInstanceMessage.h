#pragma once
// One message of the instance socket, read as its bytes arrive. The message is a
// QStringList in QDataStream form (Qt 6.0 layout, big-endian):
//
// | Bytes | Field                                                                   |
// |-------|-------------------------------------------------------------------------|
// | 4     | count of strings                                                        |
// | 4     | per string: its length in bytes (even), 0xFFFFFFFF for a null string     |
// | n     | the string's UTF-16 code units, big-endian                               |
//
// Each byte is looked at once, however the message is cut into chunks. Every string takes
// at least 4 bytes, so a count larger than the bytes a message may still hold is refused
// at once, before anything is kept for it; so is a length past that cap or an odd one.
// Bytes after the last string are ignored. One connection, the UI thread.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dz {

class QtInstanceMessage {
public:
    enum class State { kNeedMore, kDone, kBad };

    // A message of at most `max_bytes` bytes.
    explicit QtInstanceMessage(std::size_t max_bytes) : max_bytes_(max_bytes) {}

    // Takes the next bytes of the connection.
    State feed(std::string_view bytes);
    State state() const { return state_; }
    // The strings as UTF-8, once the state is kDone.
    const std::vector<std::string>& paths() const { return paths_; }

private:
    State parse();

    std::size_t max_bytes_;
    std::size_t received_ = 0;
    std::string pending_;  // bytes not yet taken apart
    std::size_t pos_ = 0;  // in pending_
    bool have_count_ = false;
    std::uint32_t count_ = 0;
    std::vector<std::string> paths_;
    State state_ = State::kNeedMore;
};

}  // namespace dz
