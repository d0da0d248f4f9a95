#include "audio/WavWriter.h"

#include <cerrno>
#include <cstring>

namespace dz {
namespace {

void put_u16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put_u32(std::uint8_t* p, std::uint32_t v) {
    put_u16(p, v & 0xFFFF);
    put_u16(p + 2, v >> 16);
}

}  // namespace

std::array<std::uint8_t, WavWriter::header_size> WavWriter::make_header(int channels,
                                                                        int sample_rate, int bits,
                                                                        std::uint64_t data_bytes) {
    if (data_bytes > max_data_bytes) data_bytes = max_data_bytes;
    const auto data = static_cast<std::uint32_t>(data_bytes);
    const std::uint32_t block_align = static_cast<std::uint32_t>(channels * (bits / 8));
    std::array<std::uint8_t, header_size> h{};
    std::memcpy(&h[0], "RIFF", 4);
    put_u32(&h[4], 36 + data + (data & 1));
    std::memcpy(&h[8], "WAVE", 4);
    std::memcpy(&h[12], "fmt ", 4);
    put_u32(&h[16], 16);
    put_u16(&h[20], 1);
    put_u16(&h[22], static_cast<std::uint32_t>(channels));
    put_u32(&h[24], static_cast<std::uint32_t>(sample_rate));
    put_u32(&h[28], static_cast<std::uint32_t>(sample_rate) * block_align);
    put_u16(&h[32], block_align);
    put_u16(&h[34], static_cast<std::uint32_t>(bits));
    std::memcpy(&h[36], "data", 4);
    put_u32(&h[40], data);
    return h;
}

void WavWriter::fail(const std::string& what) {
    if (error_.empty()) error_ = what;
}

bool WavWriter::open(const std::string& path, int channels, int sample_rate, int bits) {
    finish();
    error_.clear();
    data_bytes_ = 0;
    channels_ = channels;
    sample_rate_ = sample_rate;
    bits_ = bits;
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_) {
        fail(std::strerror(errno));
        return false;
    }
    return update_header();
}

bool WavWriter::write(const void* data, std::size_t bytes) {
    if (!file_ || !error_.empty()) return false;
    if (bytes > max_data_bytes - data_bytes_) {
        bytes = static_cast<std::size_t>(max_data_bytes - data_bytes_);
        fail("too long for a WAV file");
    }
    if (bytes > 0 && std::fwrite(data, 1, bytes, file_.get()) != bytes) {
        fail(std::strerror(errno));
        return false;
    }
    data_bytes_ += bytes;
    return error_.empty();
}

bool WavWriter::update_header() {
    if (!file_) return false;
    const auto header = make_header(channels_, sample_rate_, bits_, data_bytes_);
    std::FILE* f = file_.get();
    const long end = static_cast<long>(header_size + data_bytes_);
    if (std::fseek(f, 0, SEEK_SET) != 0 ||
        std::fwrite(header.data(), 1, header.size(), f) != header.size() ||
        std::fseek(f, end, SEEK_SET) != 0 || std::fflush(f) != 0) {
        fail(std::strerror(errno));
        return false;
    }
    return true;
}

bool WavWriter::finish() {
    if (!file_) return error_.empty();
    if ((data_bytes_ & 1) != 0) {
        const std::uint8_t pad = 0;
        if (std::fwrite(&pad, 1, 1, file_.get()) != 1) fail(std::strerror(errno));
    }
    update_header();
    if (std::fclose(file_.release()) != 0) fail(std::strerror(errno));
    return error_.empty();
}

}  // namespace dz
