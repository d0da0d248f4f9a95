#pragma once
// Writes the renderer's samples (interleaved uint8_t centred on 128 for 8 bits, int16_t for
// 16) to a WAV, FLAC or Ogg Vorbis file through libsndfile:
//   WAV   PCM_U8 / PCM_16, the canonical 44-byte header (odd data padded to an even size)
//   FLAC  PCM_S8 / PCM_16, lossless: it reads back as the same samples as the WAV
//   Ogg   Vorbis at libsndfile's default quality, fed floats (sample / 128 or / 32768)

#include <cstdint>
#include <string>
#include <vector>

#include "Options.h"

struct sf_private_tag;

namespace dz::ptrender {

class SoundFile {
public:
    SoundFile() = default;
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // Creates (truncates) `path`. A FIFO without a reader is refused rather than waited for.
    bool open(const std::string& path, Format format, int channels, int rate, int bits);
    // Appends `frames` frames. False after an error; error() tells which.
    bool write(const void* samples, int frames);
    // Completes and closes the file. True when every step succeeded.
    bool finish();
    // False when the path named something other than a regular file (a device, a pipe),
    // which a failed render must not remove.
    bool is_regular() const { return regular_; }
    const std::string& error() const { return error_; }

private:
    void fail(const std::string& what);
    void fail_call(int saved_errno, const char* library_text);

    sf_private_tag* file_ = nullptr;
    int fd_ = -1;
    Format format_ = Format::Wav;
    int channels_ = 2, bits_ = 16;
    bool regular_ = false;
    std::vector<short> shorts_;
    std::vector<float> floats_;
    std::string error_;
};

}  // namespace dz::ptrender
