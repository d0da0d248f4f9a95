#include "pxtone/PlayPlan.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pxtone {

int64_t play_frames(int64_t end_sample, int64_t repeat_sample, int64_t start, int loops) {
    const int64_t first = std::max<int64_t>(0, end_sample - start);
    const int64_t loop = std::max<int64_t>(0, end_sample - repeat_sample);
    return std::max<int64_t>(0, first + static_cast<int64_t>(loops - 1) * loop - 1);
}

int64_t looping_frames(int64_t end_sample, int64_t repeat_sample, int64_t start, int loops) {
    if (loops < 2) return 0;
    const int64_t first = std::max<int64_t>(0, end_sample - start);
    const int64_t loop = std::max<int64_t>(0, end_sample - repeat_sample);
    return first + static_cast<int64_t>(loops - 2) * loop;
}

int64_t fade_frames(double seconds, int rate, int64_t total) {
    const double frames = seconds * rate;
    if (!(frames > 0) || total <= 0) return 0;
    if (frames >= static_cast<double>(total)) return total;
    return std::min<int64_t>(total, std::llround(frames));
}

void apply_fade(void* samples, int frames, int channels, int bits, int64_t first, int64_t total,
                int64_t fade) {
    if (fade <= 0) return;
    const int64_t begin = total - fade;
    for (int f = 0; f < frames; ++f) {
        const int64_t i = first + f;
        if (i < begin) continue;
        const double gain =
            static_cast<double>(std::max<int64_t>(0, total - 1 - i)) / static_cast<double>(fade);
        for (int c = 0; c < channels; ++c) {
            const std::size_t at = static_cast<std::size_t>(f) * channels + c;
            if (bits == 8) {
                auto* s = static_cast<uint8_t*>(samples);
                s[at] = static_cast<uint8_t>(128 + std::lround((s[at] - 128) * gain));
            } else {
                auto* s = static_cast<int16_t*>(samples);
                s[at] = static_cast<int16_t>(std::lround(s[at] * gain));
            }
        }
    }
}

PlayPlan PlayPlan::make(int64_t end_sample, int64_t repeat_sample, int loops, double fade_seconds,
                        int rate) {
    PlayPlan p;
    p.end = end_sample;
    p.repeat = repeat_sample;
    p.total = play_frames(end_sample, repeat_sample, 0, loops);
    // Without a loop part there is nothing to repeat.
    p.looping = p.loop_length() > 0 ? looping_frames(end_sample, repeat_sample, 0, loops) : 0;
    p.fade = fade_frames(fade_seconds, rate, p.total);
    return p;
}

int64_t PlayPlan::sample_at(int64_t v) const {
    const int64_t loop = loop_length();
    if (v < end || loop == 0) return v;
    return repeat + (v - end) % loop;
}

int64_t PlayPlan::jumps(int64_t v, int64_t sample) const {
    const int64_t loop = loop_length();
    if (loop == 0 || v <= sample) return 0;
    return (v - sample + loop / 2) / loop;
}

}  // namespace pxtone
