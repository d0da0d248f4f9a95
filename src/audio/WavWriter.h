#pragma once
// Writes PCM into a canonical 44-byte-header WAV file.
//
// Layout (all little-endian):
//   0 "RIFF"  4 u32 riff size (file size - 8)  8 "WAVE"
//  12 "fmt "  16 u32 16  20 u16 1 (PCM)  22 u16 channels  24 u32 rate
//  28 u32 byte rate  32 u16 block align  34 u16 bits
//  36 "data"  40 u32 data bytes  44 the samples (8-bit unsigned, 16-bit signed)
// An odd data size is followed by one pad byte, counted in the RIFF size only.

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace dz {

class WavWriter {
public:
    static constexpr std::size_t header_size = 44;
    // The largest data size a WAV file can describe.
    static constexpr std::uint64_t max_data_bytes = 0xFFFFFFFFull - 36 - 1;

    WavWriter() = default;
    ~WavWriter() { finish(); }
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    static std::array<std::uint8_t, header_size> make_header(int channels, int sample_rate,
                                                             int bits, std::uint64_t data_bytes);

    // Creates (truncates) the file and writes a header for empty data.
    bool open(const std::string& path, int channels, int sample_rate, int bits);
    // Appends sample bytes. False after an I/O error or past max_data_bytes;
    // the file then keeps what fitted.
    bool write(const void* data, std::size_t bytes);
    // Rewrites the header for the data written so far and flushes.
    bool update_header();
    // Pads, writes the final header and closes. True when every write succeeded.
    bool finish();

    bool is_open() const { return file_ != nullptr; }
    std::uint64_t data_bytes() const { return data_bytes_; }
    // The first error, e.g. "disk full"; empty when none.
    const std::string& error() const { return error_; }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    void fail(const std::string& what);

    std::unique_ptr<std::FILE, Closer> file_;
    int channels_ = 2, sample_rate_ = 44100, bits_ = 16;
    std::uint64_t data_bytes_ = 0;
    std::string error_;
};

}  // namespace dz
