#include "SoundFile.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace dz::ptrender {

namespace {

int sf_format(Format format, int bits) {
    switch (format) {
        case Format::Flac:
            return SF_FORMAT_FLAC | (bits == 8 ? SF_FORMAT_PCM_S8 : SF_FORMAT_PCM_16);
        case Format::Ogg:
            return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        case Format::Wav:
            break;
    }
    return SF_FORMAT_WAV | (bits == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16);
}

}  // namespace

SoundFile::~SoundFile() {
    finish();
}

void SoundFile::fail(const std::string& what) {
    if (error_.empty()) error_ = what;
}

// libsndfile names some failed writes vaguely ("problem with initialization of the flac
// decoder"); a system call that failed during the call (errno cleared before it) tells why.
void SoundFile::fail_call(int saved_errno, const char* library_text) {
    if (saved_errno != 0)
        fail(std::strerror(saved_errno));
    else
        fail(library_text && *library_text ? library_text : "cannot be written");
}

bool SoundFile::open(const std::string& path, Format format, int channels, int rate, int bits) {
    format_ = format;
    channels_ = channels;
    bits_ = bits;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = sf_format(format, bits);
    if (!sf_format_check(&info)) {
        fail(std::string("cannot be written as ") + format_name(format) + " at " +
             std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels");
        return false;
    }
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        fail(errno == ENXIO ? "is a pipe that nothing reads" : std::strerror(errno));
        return false;
    }
    struct stat st {};
    regular_ = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags != -1) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    file_ = sf_open_fd(fd_, SFM_WRITE, &info, SF_FALSE);
    if (!file_) {
        fail(sf_strerror(nullptr));
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

bool SoundFile::write(const void* samples, int frames) {
    if (!file_ || !error_.empty()) return false;
    const std::size_t count = static_cast<std::size_t>(frames) * channels_;
    sf_count_t written = 0;
    errno = 0;
    if (format_ == Format::Ogg) {
        floats_.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            floats_[i] = bits_ == 8 ? (static_cast<const std::uint8_t*>(samples)[i] - 128) / 128.0f
                                    : static_cast<const std::int16_t*>(samples)[i] / 32768.0f;
        written = sf_writef_float(file_, floats_.data(), frames);
    } else if (bits_ == 8) {
        shorts_.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            shorts_[i] =
                static_cast<short>((static_cast<const std::uint8_t*>(samples)[i] - 128) * 256);
        written = sf_writef_short(file_, shorts_.data(), frames);
    } else {
        written = sf_writef_short(file_, static_cast<const short*>(samples), frames);
    }
    if (written != frames) {
        fail_call(errno, sf_strerror(file_));
        return false;
    }
    return true;
}

bool SoundFile::finish() {
    if (file_) {
        errno = 0;
        const int status = sf_close(file_);
        file_ = nullptr;
        if (status != 0) fail_call(errno, sf_error_number(status));
    }
    if (fd_ >= 0) {
        if (::close(fd_) != 0) fail(std::strerror(errno));
        fd_ = -1;
    }
    return error_.empty();
}

}  // namespace dz::ptrender
