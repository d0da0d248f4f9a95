// Ogg Vorbis decoding with stb_vorbis, whose own float-to-16-bit conversion is the one our
// output must match. This is the only file that compiles the stb_vorbis implementation.

#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-value"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <stb_vorbis.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include "pxtone/ToneBuilder.h"

namespace pxtone {

bool decode_ogg(std::span<const uint8_t> stream, int& channels, int& rate,
                std::vector<int16_t>& out, int64_t max_frames) {
    out.clear();
    if (stream.empty() || stream.size() > INT32_MAX) return false;
    int err = 0;
    stb_vorbis* v =
        stb_vorbis_open_memory(stream.data(), static_cast<int>(stream.size()), &err, nullptr);
    if (!v) return false;
    const stb_vorbis_info info = stb_vorbis_get_info(v);
    channels = info.channels;
    rate = static_cast<int>(info.sample_rate);
    if (channels < 1 || channels > 2) {
        stb_vorbis_close(v);
        return false;
    }
    constexpr int kChunk = 4096;
    int64_t frames = 0;
    for (;;) {
        out.resize(static_cast<size_t>((frames + kChunk) * channels));
        const int n = stb_vorbis_get_frame_short_interleaved(
            v, channels, out.data() + frames * channels, kChunk * channels);
        if (n <= 0) break;
        frames += n;
        if (frames > max_frames) {
            stb_vorbis_close(v);
            out.clear();
            return false;
        }
    }
    stb_vorbis_close(v);
    out.resize(static_cast<size_t>(frames * channels));
    return true;
}

}  // namespace pxtone
