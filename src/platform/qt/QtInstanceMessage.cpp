#include "platform/qt/QtInstanceMessage.h"

#include <QString>

namespace dz {

namespace {

constexpr std::uint32_t kNullString = 0xFFFFFFFF;

std::uint32_t be32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (std::uint32_t{u[0]} << 24) | (std::uint32_t{u[1]} << 16) | (std::uint32_t{u[2]} << 8) |
           u[3];
}

std::string utf16be_to_utf8(const char* p, std::size_t bytes) {
    std::u16string units(bytes / 2, u'\0');
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>((u[2 * i] << 8) | u[2 * i + 1]);
    }
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()))
        .toUtf8()
        .toStdString();
}

}  // namespace

QtInstanceMessage::State QtInstanceMessage::feed(std::string_view bytes) {
    if (state_ != State::kNeedMore) return state_;
    received_ += bytes.size();
    if (received_ > max_bytes_) return state_ = State::kBad;
    pending_.append(bytes);
    state_ = parse();
    pending_.erase(0, pos_);  // only what a later chunk completes stays
    pos_ = 0;
    return state_;
}

QtInstanceMessage::State QtInstanceMessage::parse() {
    auto available = [this] { return pending_.size() - pos_; };
    if (!have_count_) {
        if (available() < 4) return State::kNeedMore;
        count_ = be32(pending_.data() + pos_);
        pos_ += 4;
        have_count_ = true;
        if (count_ > (max_bytes_ - 4) / 4) return State::kBad;
    }
    while (paths_.size() < count_) {
        if (available() < 4) return State::kNeedMore;
        const std::uint32_t length = be32(pending_.data() + pos_);
        if (length == kNullString) {
            pos_ += 4;
            paths_.emplace_back();
            continue;
        }
        if ((length & 1) != 0 || length > max_bytes_) return State::kBad;
        if (available() < 4 + std::size_t{length}) return State::kNeedMore;
        paths_.push_back(utf16be_to_utf8(pending_.data() + pos_ + 4, length));
        pos_ += 4 + std::size_t{length};
    }
    return State::kDone;
}

}  // namespace dz
