// The frame renderer. One output frame runs these steps in order:
//   A envelopes, B events at the current clock, C voice sampling into each unit's time-pan
//   ring, D mixing (groups, overdrives, delays, fade, master volume, clip), E advance
//   (glide, read positions, delay positions, fade), F end check (loop or stop).
// Gains are successive truncating integer steps; pitch steps are f32 products accumulated
// in a double read position; clock <-> sample conversions use the f32 samples-per-clock.
// Frames are rendered in blocks that end before the next frame with events, so within a
// block each unit runs steps C and E on its own, and the mixing runs frame by frame.

#include "pxtone/Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#include "pxtone/ByteReader.h"
#include "pxtone/FreqTable.h"
#include "pxtone/Numeric.h"
#include "pxtone/ToneBuilder.h"

namespace pxtone {

namespace {
constexpr int kRing = 64;
constexpr int kBlock = 256;
constexpr int kVoices = 2;
constexpr int32_t kDefaultKey = 0x6000;
// Gains (velocity, volume, pan, envelope) are 0..128 in valid songs; larger values are
// clamped here so that the 64-bit gain products cannot overflow.
constexpr int32_t kMaxGain = 1 << 16;
// Delay lines this long or longer (about 3 minutes at 44.1 kHz) are treated as off.
constexpr int64_t kMaxDelayLine = int64_t{1} << 23;

inline uint64_t mag(int32_t v) {
    return static_cast<uint64_t>(v < 0 ? -int64_t{v} : int64_t{v});
}

inline int32_t wrap_add(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
// The gain steps of one unit's voice over a block. Each step truncates toward zero, which is
// odd in both factors: the steps run on magnitudes (shifts instead of signed divisions) and
// the sign is applied after.
struct VoiceGains {
    uint64_t velocity, volume, pan[2];
    bool neg[2];
    int32_t smooth_below, smooth_len;
    VoiceGains(int32_t vel, int32_t vol, const int32_t* pan_gain, int32_t below, int32_t len)
        : velocity(mag(vel)),
          volume(mag(vol)),
          pan{mag(pan_gain[0]), mag(pan_gain[1])},
          neg{((vel < 0) != (vol < 0)) != (pan_gain[0] < 0),
              ((vel < 0) != (vol < 0)) != (pan_gain[1] < 0)},
          smooth_below(below),
          smooth_len(len) {}
};

// Adds a voice's gained samples to the unit's sums (i64 sums cut to i32: modulo 2^32).
template <int Channels, bool Env>
void sample_voice(const int16_t* body, const int32_t* idx, const int32_t* level,
                  const int32_t* lives, int count, const VoiceGains& gains, uint32_t* const* acc) {
    for (int f = 0; f < count; ++f) {
        const int16_t* p = body + static_cast<size_t>(idx[f]) * 2;
        for (int c = 0; c < Channels; ++c) {
            const int32_t x = Channels == 1 ? (int32_t{p[0]} + int32_t{p[1]}) / 2 : p[c];
            uint64_t m = mag(x);
            m = (m * gains.velocity) >> 7;
            m = (m * gains.volume) >> 7;
            m = (m * gains.pan[c]) >> 6;
            bool neg = (x < 0) != gains.neg[c];
            if constexpr (Env) {
                m = (m * mag(level[f])) >> 7;
                neg = neg != (level[f] < 0);
            }
            int64_t s = neg ? -static_cast<int64_t>(m) : static_cast<int64_t>(m);
            if (lives[f] < gains.smooth_below) s = s * lives[f] / gains.smooth_len;
            acc[c][f] += static_cast<uint32_t>(s);
        }
    }
}
}  // namespace

struct Renderer::Tone {
    const int16_t* body = nullptr;
    int32_t body_frames = 0;
    uint32_t flags = 0;
    float g = 1.0f;  // voice factor
    std::vector<int32_t> env;
    int32_t release = 0;         // samples at the output rate
    int32_t release_clocks = 0;  // trunc(f32(release) / samples-per-clock)
};

struct Renderer::VoiceState {
    const Tone* tone = nullptr;
    double pos = 0;
    float g = 1.0f;
    int32_t life = 0;
    int32_t gate = 0;
    int32_t env_level = 0;
    int32_t env_from = 0;
    int32_t env_idx = 0;
};

// Everything a unit's events set; the time-pan ring (UnitState) is kept across loop jumps.
struct Renderer::UnitCore {
    int woice = -1;
    int voice_count = 0;
    int32_t key_cur = kDefaultKey, key_from = kDefaultKey, key_delta = 0;
    int32_t glide_len = 0, glide_pos = 0;
    int32_t velocity = 104, volume = 104;
    int32_t pan_gain[2] = {64, 64};
    int32_t pan_delay[2] = {0, 0};
    int group = 0;
    float tuning = 1.0f;
    VoiceState voice[kVoices];
};

struct Renderer::UnitState : UnitCore {
    int32_t ring[2][kRing] = {};  // the last kRing outputs, oldest first
};

struct Renderer::DelayState {
    int group = 0;
    int32_t q = 0;    // feedback percent, integer part
    int32_t len = 0;  // 0 = off
    int32_t pos = 0;
    std::vector<int32_t> line[2];
};

Renderer::Renderer(const Project& project) : project_(project) {}
Renderer::~Renderer() = default;

bool Renderer::prepare(const OutputFormat& format) {
    prepared_ = false;
    started_ = false;
    ended_ = false;
    loop_recorded_ = false;
    loop_record_pending_ = false;
    if (format.rate <= 0 || format.rate > kMaxRate) return false;
    if (format.channels != 1 && format.channels != 2) return false;
    if (format.bits != 8 && format.bits != 16) return false;
    if (!project_.tones_ready()) return false;
    // Files cannot hold such an overdrive; a project built in code can.
    for (const Overdrive& od : project_.overdrives)
        if (od.group < 0 || od.group >= Project::kMaxGroups) return false;
    bool built = false;
    try {
        built = build_tables(format);
    } catch (const std::exception&) {  // bad_alloc, length_error
        built = false;
    }
    if (!built) {
        tones_.clear();
        units_.clear();
        delays_.clear();
        loop_units_.clear();
        return false;
    }
    format_ = format;
    prepared_ = true;
    return true;
}

bool Renderer::build_tables(const OutputFormat& format) {
    const int rate = format.rate;
    const Master& m = project_.master;

    spc_ = project_.samples_per_clock(rate);
    rate_factor_ = 44100.0f / static_cast<float>(rate);
    end_sample_ = project_.end_sample(rate);
    repeat_sample_ = project_.repeat_sample(rate);
    smooth_len_ = std::max(1, rate / 250);

    // Delay line lengths first: together with the envelope tables they must fit the budget
    // before anything large is allocated.
    std::vector<int32_t> delay_len(project_.delays.size(), 0);
    int64_t table_bytes = 0;
    for (size_t i = 0; i < delay_len.size(); ++i) {
        const Delay& d = project_.delays[i];
        float n = 0;
        if (d.freq != 0.0f && d.rate != 0.0f) {
            const float f = static_cast<float>(rate);
            switch (d.unit) {
                case 0:
                    n = f * 60.0f / m.tempo / d.freq;
                    break;
                case 1:
                    n = f * 60.0f * static_cast<float>(m.beats) / m.tempo / d.freq;
                    break;
                default:
                    n = f / d.freq;
                    break;
            }
        }
        delay_len[i] = (std::isfinite(n) && n >= 1.0f && n < static_cast<float>(kMaxDelayLine))
                           ? static_cast<int32_t>(n)
                           : 0;
        table_bytes += int64_t{delay_len[i]} * format.channels * 4;
    }
    for (const Woice& woice : project_.woices) {
        if (woice.kind != WoiceKind::Ptv) continue;
        for (size_t v = 0; v < std::min<size_t>(woice.voices.size(), kVoices); ++v) {
            const int64_t len = envelope_length(woice.voices[v], rate);
            if (len > kMaxTableBytes / 4) return false;
            table_bytes += len * 4;
        }
    }
    if (table_bytes > kMaxTableBytes) return false;

    tones_.assign(project_.woices.size(), {});
    for (size_t w = 0; w < project_.woices.size(); ++w) {
        const Woice& woice = project_.woices[w];
        tones_[w].resize(std::min<size_t>(woice.voices.size(), kVoices));
        for (size_t v = 0; v < tones_[w].size(); ++v) {
            const Voice& src = woice.voices[v];
            Tone& t = tones_[w][v];
            t.body = src.body.data();
            t.body_frames = src.body_frames();
            t.flags = src.voice_flags;
            if (src.voice_flags & VOICEFLAG_BEATFIT)
                t.g = (static_cast<float>(t.body_frames) * m.tempo) / (2646000.0f * src.tuning);
            else
                t.g = FreqTable::f1(0x4500 - src.basic_key) * src.tuning;
            if (woice.kind == WoiceKind::Ptv) build_envelope(src, rate, t.env, t.release);
            const float rc = static_cast<float>(t.release) / spc_;
            t.release_clocks = std::isfinite(rc) ? sat_i32(rc) : 0;
        }
    }

    units_.assign(static_cast<size_t>(project_.unit_count()), UnitState{});
    loop_units_.assign(units_.size(), UnitCore{});

    delays_.assign(project_.delays.size(), DelayState{});
    for (size_t i = 0; i < delays_.size(); ++i) {
        const Delay& d = project_.delays[i];
        DelayState& s = delays_[i];
        s.group = std::clamp(d.group, 0, Project::kMaxGroups - 1);
        s.q = std::isfinite(d.rate) ? static_cast<int32_t>(std::clamp(d.rate, -1.0e6f, 1.0e6f)) : 0;
        s.len = delay_len[i];
        // Mono output mixes channel 0 only.
        for (int c = 0; c < format.channels && s.len; ++c)
            s.line[c].assign(static_cast<size_t>(s.len), 0);
    }

    overdrives_ = project_.overdrives;
    group_buf_.assign(size_t{2} * Project::kMaxGroups * kBlock, 0);
    unit_buf_.assign(size_t{2} * (kRing + kBlock), 0);
    base_buf_.assign(kBlock, 0.0f);
    od_limit_.assign(overdrives_.size(), 0);
    for (size_t i = 0; i < od_limit_.size(); ++i)
        od_limit_[i] = std::max(0, sat_i32(32767.0f * (100.0f - overdrives_[i].cut) / 100.0f));
    return true;
}

void Renderer::set_master_volume(float volume) {
    master_volume_ = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 0.0f;
}

void Renderer::start(int64_t start_sample, int fade_in_ms) {
    if (!prepared_) return;
    sample_ = (start_sample > 0 && start_sample < end_sample_) ? start_sample : 0;
    cursor_ = 0;
    loop_recorded_ = false;
    loop_record_pending_ = false;
    for (UnitState& u : units_) std::memset(u.ring, 0, sizeof u.ring);
    for (DelayState& d : delays_) {
        d.pos = 0;
        for (auto& line : d.line) std::fill(line.begin(), line.end(), 0);
    }
    reset_units();
    fade_dir_ = 0;
    fade_count_ = 0;
    fade_len_ = 0;
    if (fade_in_ms > 0) {
        fade_len_ = static_cast<int32_t>(
            (static_cast<int64_t>(format_.rate) * std::min(fade_in_ms, kMaxFadeMs) / 1000) >> 8);
        if (fade_len_ > 0) fade_dir_ = 1;
    }
    started_ = true;
    ended_ = false;
}

void Renderer::fade_out(int ms) {
    if (!started_ || ended_) return;
    const int32_t len = static_cast<int32_t>(
        (static_cast<int64_t>(format_.rate) * std::clamp(ms, 0, kMaxFadeMs) / 1000) >> 8);
    if (len <= 0) {
        ended_ = true;
        return;
    }
    // With both lengths under kMaxFadeMs the products below stay far inside 64 bits.
    int64_t count = int64_t{len} * 256;
    if (fade_dir_ == 1 && fade_len_ > 0) count = fade_count_ * len / fade_len_;
    fade_dir_ = -1;
    fade_len_ = len;
    fade_count_ = count;
}

int32_t Renderer::clock() const {
    if (!prepared_ || spc_ <= 0) return 0;
    return sat_i32(static_cast<float>(sample_) / spc_);
}

void Renderer::reset_units() {
    for (UnitState& u : units_) reset_unit(u);
}

void Renderer::loop_jump() {
    if (loop_recorded_) {
        for (size_t i = 0; i < units_.size(); ++i)
            static_cast<UnitCore&>(units_[i]) = loop_units_[i];
        cursor_ = loop_cursor_;
        return;
    }
    cursor_ = 0;
    reset_units();
    loop_record_pending_ = true;  // recorded after the next frame's catch-up
}

void Renderer::reset_unit(UnitState& u) {
    u.group = 0;
    u.velocity = 104;
    u.volume = 104;
    u.tuning = 1.0f;
    u.glide_len = 0;
    u.glide_pos = 0;
    u.pan_gain[0] = u.pan_gain[1] = 64;
    u.pan_delay[0] = u.pan_delay[1] = 0;
    u.key_cur = u.key_from = kDefaultKey;
    u.key_delta = 0;
    u.woice = -1;
    u.voice_count = 0;
    for (VoiceState& v : u.voice) v = VoiceState{};
    if (!tones_.empty()) set_voice(u, 0);
}

void Renderer::set_voice(UnitState& u, int w) {
    u.woice = w;
    u.voice_count = static_cast<int>(tones_[static_cast<size_t>(w)].size());
    u.key_cur = u.key_from = kDefaultKey;
    u.key_delta = 0;
    for (int i = 0; i < kVoices; ++i) {
        VoiceState& v = u.voice[i];
        v.life = v.gate = 0;
        v.pos = 0;
        v.tone =
            i < u.voice_count ? &tones_[static_cast<size_t>(w)][static_cast<size_t>(i)] : nullptr;
        v.g = v.tone ? v.tone->g : 1.0f;
    }
}

void Renderer::note_on(size_t index, int32_t now) {
    const std::vector<Event>& events = project_.events;
    const Event& e = events[index];
    UnitState& u = units_[e.unit];
    const int64_t len = e.value;
    const int64_t ec = e.clock;
    const int64_t c = now;
    const int32_t gate = sat_i32(static_cast<float>(ec + len - c) * spc_);
    if (gate <= 0) {
        u.voice[0].life = 0;
        u.voice[1].life = 0;
        return;
    }
    u.key_cur = wrap_add(u.key_from, u.key_delta);
    u.key_from = u.key_cur;
    u.key_delta = 0;
    if (u.woice < 0) return;
    const int32_t remain = sat_i32(static_cast<float>(len - (c - ec)) * spc_);
    for (int i = 0; i < u.voice_count; ++i) {
        VoiceState& v = u.voice[i];
        const Tone& t = *v.tone;
        int32_t life;
        if (t.release > 0) {
            const int64_t a = static_cast<int64_t>(remain) + t.release;
            // The release ends at the unit's next note, or at the song's end.
            const int64_t limit = ec + len + t.release_clocks;
            int64_t b = 0;
            bool found = false;
            for (size_t j = index + 1; j < events.size(); ++j) {
                const Event& n = events[j];
                if (n.clock > limit) break;
                if (n.unit == e.unit && n.kind == EVENTKIND_ON) {
                    b = sat_i32(static_cast<float>(n.clock - c) * spc_);
                    found = true;
                    break;
                }
            }
            if (!found) b = end_sample_ - sat_i32(static_cast<float>(c) * spc_);
            life = static_cast<int32_t>(std::clamp<int64_t>(std::min(a, b), INT32_MIN, INT32_MAX));
        } else {
            life = remain;
        }
        v.life = life;
        if (life > 0) {
            if (t.body_frames <= 0) {
                v.life = 0;
                continue;
            }
            v.gate = gate;
            v.pos = 0;
            v.env_idx = 0;
            v.env_level = v.env_from = t.env.empty() ? 128 : 0;
        }
    }
}

void Renderer::do_event(size_t index, int32_t now) {
    const Event& e = project_.events[index];
    if (e.unit >= units_.size()) return;
    UnitState& u = units_[e.unit];
    const bool stereo = format_.channels == 2;
    switch (e.kind) {
        case EVENTKIND_ON:
            note_on(index, now);
            break;
        case EVENTKIND_KEY:
            u.key_from = u.key_cur;
            u.key_delta = static_cast<int32_t>(static_cast<uint32_t>(e.value) -
                                               static_cast<uint32_t>(u.key_from));
            u.glide_pos = 0;
            break;
        case EVENTKIND_PAN_VOLUME: {
            const int32_t p = std::clamp(e.value, -kMaxGain, kMaxGain);
            if (!stereo) {
                u.pan_gain[0] = u.pan_gain[1] = 64;
            } else if (p >= 64) {
                u.pan_gain[0] =
                    static_cast<int32_t>(std::max<int64_t>(128 - int64_t{p}, INT32_MIN));
                u.pan_gain[1] = 64;
            } else {
                u.pan_gain[0] = 64;
                u.pan_gain[1] = p;
            }
            break;
        }
        case EVENTKIND_PAN_TIME: {
            const int64_t p = e.value;
            // Older scaling: v / (44100 / rate) keeps the delay's duration at every rate
            // up to 44.1 kHz; above it (48 kHz) the delay is scaled by 44100 / rate.
            auto d = [&](int64_t v) -> int32_t {
                const int rate = format_.rate;
                if (rate <= 44100) return static_cast<int32_t>(v / (44100 / rate));
                return static_cast<int32_t>(v * 44100 / rate);
            };
            u.pan_delay[0] = u.pan_delay[1] = 0;
            if (stereo) {
                if (p >= 64)
                    u.pan_delay[0] = d(std::min<int64_t>(p - 64, 63));
                else
                    u.pan_delay[1] = d(std::min<int64_t>(64 - p, 63));
            }
            break;
        }
        case EVENTKIND_VELOCITY:
            u.velocity = std::clamp(e.value, -kMaxGain, kMaxGain);
            break;
        case EVENTKIND_VOLUME:
            u.volume = std::clamp(e.value, -kMaxGain, kMaxGain);
            break;
        case EVENTKIND_PORTAMENT:
            u.glide_len = sat_i32(static_cast<float>(e.value) * spc_);
            break;
        case EVENTKIND_VOICENO:
            if (e.value >= 0 && static_cast<size_t>(e.value) < tones_.size()) set_voice(u, e.value);
            break;
        case EVENTKIND_GROUPNO:
            if (e.value >= 0 && e.value < Project::kMaxGroups) u.group = e.value;
            break;
        case EVENTKIND_TUNING:
            u.tuning = bits_to_float(e.value);
            break;
        default:
            break;
    }
}

void Renderer::do_events() {
    const int32_t now = sat_i32(static_cast<float>(sample_) / spc_);
    const std::vector<Event>& events = project_.events;
    while (cursor_ < events.size() && events[cursor_].clock <= now) {
        do_event(cursor_, now);
        ++cursor_;
    }
}

int Renderer::block_length(int limit) const {
    // The block ends before the end sample is passed (step F runs on its last frame only)
    // and before the next frame whose clock reaches a pending event.
    int n = limit;
    const int64_t to_end = end_sample_ - sample_;
    if (to_end < n) n = static_cast<int>(std::max<int64_t>(to_end, 1));
    const std::vector<Event>& events = project_.events;
    if (cursor_ < events.size()) {
        const int32_t next = events[cursor_].clock;
        for (int k = 1; k < n; ++k) {
            if (sat_i32(static_cast<float>(sample_ + k) / spc_) >= next) return k;
        }
    }
    return n;
}

// Steps C and E of one unit for `n` frames: out[c][0..n) receives the unit's ring values.
template <int Channels>
void Renderer::render_unit(UnitState& u, int n, int32_t* const* out) {
    for (int c = 0; c < Channels; ++c) std::fill(out[c], out[c] + n, 0);

    // The pitch of each frame (step E, before the voices move).
    float* base = base_buf_.data();
    const float* freq = FreqTable::table();
    auto key_base = [&](int32_t key) {
        int key_index = key >> 4;
        key_index = key_index < 0                   ? 0
                    : key_index >= FreqTable::kSize ? FreqTable::kSize - 1
                                                    : key_index;
        return freq[key_index] * rate_factor_;
    };
    if (u.glide_len != 0 && u.key_delta != 0) {
        for (int f = 0; f < n; ++f) {
            if (u.glide_len != 0 && u.key_delta != 0) {
                if (u.glide_pos < u.glide_len) {
                    ++u.glide_pos;
                    u.key_cur = sat_i32(u.key_from + static_cast<double>(u.key_delta) *
                                                         u.glide_pos / u.glide_len);
                } else {
                    u.key_cur = wrap_add(u.key_from, u.key_delta);
                    u.key_from = u.key_cur;
                    u.key_delta = 0;
                }
            } else {
                u.key_cur = wrap_add(u.key_from, u.key_delta);
            }
            base[f] = key_base(u.key_cur);
        }
    } else {
        // Without a glide the key stays where it is for the whole block.
        u.key_cur = wrap_add(u.key_from, u.key_delta);
        std::fill(base, base + n, key_base(u.key_cur));
    }

    if (u.woice < 0) return;
    for (int vi = 0; vi < u.voice_count; ++vi) {
        VoiceState& v = u.voice[vi];
        // A silent voice stays silent until its next note.
        if (v.life <= 0) continue;
        const Tone& t = *v.tone;
        const int16_t* body = t.body;
        const double body_frames = t.body_frames;
        const bool wave_loop = (t.flags & VOICEFLAG_WAVELOOP) != 0;
        const bool smooth = (t.flags & VOICEFLAG_SMOOTH) != 0;
        const int32_t* env = t.env.data();
        const size_t env_size = t.env.size();
        const bool has_env = env_size != 0;
        const int32_t release = t.release;
        const float g = v.g * u.tuning;
        // E for the whole block first: the read index, envelope level and life at each frame
        // in which the voice sounds.
        int32_t idx[kBlock], level[kBlock], lives[kBlock];
        int count = 0;
        double pos = v.pos;
        int32_t life = v.life, gate = v.gate;
        int32_t env_level = v.env_level, env_from = v.env_from, env_idx = v.env_idx;
        for (int f = 0; f < n; ++f) {
            // This frame sounds (life > 0 here).
            idx[f] = static_cast<int32_t>(pos);
            level[f] = env_level;
            lives[f] = life;
            count = f + 1;
            --life;
            if (life <= 0) break;
            --gate;
            const float step = g * base[f];
            pos += step;
            if (!(pos >= 0.0 && pos < body_frames)) {
                if (wave_loop) {
                    pos -= body_frames;
                    if (!(pos >= 0.0 && pos < body_frames)) pos = 0;
                } else {
                    life = 0;
                }
            }
            if (!has_env) {
                if (life <= 0) break;
                continue;
            }
            if (gate == 0) {
                env_from = env_level;
                env_idx = 0;
            }
            if (life <= 0) break;
            // Step A of the next frame: nothing between here and the next frame's
            // events touches a sounding voice (a loop jump silences them all).
            if (gate > 0) {
                if (static_cast<size_t>(env_idx) < env_size)
                    env_level = env[static_cast<size_t>(env_idx++)];
            } else if (release > 0) {
                env_level = static_cast<int32_t>(env_from - static_cast<int64_t>(env_from) *
                                                                env_idx / release);
                ++env_idx;
            }
        }
        // C for the same frames.
        const VoiceGains gains(u.velocity, u.volume, u.pan_gain, smooth ? smooth_len_ : 0,
                               smooth_len_);
        uint32_t* acc[2] = {reinterpret_cast<uint32_t*>(out[0]),
                            reinterpret_cast<uint32_t*>(out[Channels - 1])};
        if (has_env)
            sample_voice<Channels, true>(body, idx, level, lives, count, gains, acc);
        else
            sample_voice<Channels, false>(body, idx, level, lives, count, gains, acc);
        v.pos = pos;
        v.life = life;
        v.gate = gate;
        v.env_level = env_level;
        v.env_from = env_from;
        v.env_idx = env_idx;
    }
}

void Renderer::record_loop_start() {
    for (size_t i = 0; i < units_.size(); ++i) loop_units_[i] = units_[i];
    loop_cursor_ = cursor_;
    loop_recorded_ = true;
    loop_record_pending_ = false;
}

template <int Channels>
void Renderer::mix_units(int n) {
    constexpr int kGroups = Project::kMaxGroups;
    int32_t* group_buf = group_buf_.data();
    int32_t* unit_buf = unit_buf_.data();
    std::fill(group_buf, group_buf + size_t{Channels} * kGroups * kBlock, 0);
    int32_t* unit_out[2] = {unit_buf + kRing, unit_buf + (kRing + kBlock) + kRing};
    for (UnitState& u : units_) {
        render_unit<Channels>(u, n, unit_out);
        for (int c = 0; c < Channels; ++c) {
            int32_t* hist = unit_out[c] - kRing;
            std::copy(u.ring[c], u.ring[c] + kRing, hist);
            const int32_t* src = unit_out[c] - u.pan_delay[c];
            int32_t* g =
                group_buf +
                (size_t{static_cast<size_t>(c)} * kGroups + static_cast<size_t>(u.group)) * kBlock;
            for (int k = 0; k < n; ++k) g[k] = wrap_add(g[k], src[k]);
            std::copy(hist + n, hist + n + kRing, u.ring[c]);
        }
    }
}

int32_t Renderer::mix_channel(int c, int k, bool full_volume) {
    constexpr int kGroups = Project::kMaxGroups;
    const std::vector<Overdrive>& ods = overdrives_;
    int32_t g[kGroups];
    for (int i = 0; i < kGroups; ++i)
        g[i] = group_buf_[(size_t{static_cast<size_t>(c)} * kGroups + static_cast<size_t>(i)) *
                              kBlock +
                          static_cast<size_t>(k)];
    for (size_t i = 0; i < ods.size(); ++i) {
        const int32_t lim = od_limit_[i];
        int32_t& x = g[ods[i].group];
        const int32_t y = std::clamp(x, -lim, lim);
        x = sat_i32(static_cast<float>(y) * ods[i].amp);
    }
    for (DelayState& d : delays_) {
        if (!d.len) continue;
        int32_t& slot = d.line[c][static_cast<size_t>(d.pos)];
        const int32_t echo = static_cast<int32_t>(int64_t{slot} * d.q / 100);
        g[d.group] = wrap_add(g[d.group], echo);
        slot = g[d.group];
    }
    int64_t sum = 0;
    for (int i = 0; i < kGroups; ++i) sum += g[i];
    sum = static_cast<int32_t>(sum);  // the reference sums in i32
    if (fade_dir_ != 0) sum = sum * (fade_count_ >> 8) / fade_len_;
    // sum is within i32 here. At full volume the f32 product is sum itself up to 2^24 and
    // beyond that still clips to the same limit.
    return full_volume ? static_cast<int32_t>(sum)
                       : sat_i32(static_cast<float>(sum) * master_volume_);
}

bool Renderer::advance_frame() {
    // E. Advance (the units advanced in render_unit).
    ++sample_;
    for (DelayState& d : delays_)
        if (d.len && ++d.pos >= d.len) d.pos = 0;
    bool stop = false;
    if (fade_dir_ < 0) {
        if (fade_count_ > 0)
            --fade_count_;
        else
            stop = true;
    } else if (fade_dir_ > 0) {
        if (fade_count_ < int64_t{fade_len_} * 256)
            ++fade_count_;
        else
            fade_dir_ = 0;
    }

    // F. End (only the block's last frame can reach it).
    if (sample_ >= end_sample_) {
        if (loop_) {
            sample_ = repeat_sample_;
            loop_jump();
        } else {
            stop = true;
        }
    }
    return stop;
}

template <int Channels, int Bits>
int Renderer::render_frames(void* buffer, int frames) {
    using Sample = std::conditional_t<Bits == 16, int16_t, uint8_t>;
    constexpr Sample kSilence = Bits == 16 ? 0 : 128;
    Sample* out = static_cast<Sample*>(buffer);
    const bool full_volume = master_volume_ == 1.0f;
    int produced = 0;

    int f = 0;
    while (f < frames) {
        if (ended_) {
            std::fill(out + f * Channels, out + frames * Channels, kSilence);
            break;
        }
        // A. Envelopes: done for this frame at the end of the previous frame's step E (see
        // there); after a start or a loop jump every voice is silent, so nothing is missed.
        // B. Events at or before the current clock.
        do_events();
        if (loop_record_pending_) record_loop_start();
        const int n = block_length(std::min(frames - f, kBlock));
        mix_units<Channels>(n);

        // D.3-8 Effects and output, per frame and channel; E and F for the whole renderer.
        for (int k = 0; k < n; ++k, ++f) {
            for (int c = 0; c < Channels; ++c) {
                const int32_t v = mix_channel(c, k, full_volume);
                if constexpr (Bits == 16) {
                    out[f * Channels + c] = static_cast<int16_t>(std::clamp(v, -32767, 32767));
                } else {
                    out[f * Channels + c] =
                        static_cast<uint8_t>(std::clamp(v >> 8, -127, 127) + 128);
                }
            }
            if (advance_frame()) {
                // The frame that reached the end is not played.
                ended_ = true;
                for (int c = 0; c < Channels; ++c) out[f * Channels + c] = kSilence;
                ++f;
                break;
            }
            ++produced;
        }
    }
    return produced;
}

int Renderer::render(void* buffer, int frames) {
    // Without a successful prepare the caller's buffer size is unknown: write nothing.
    if (frames <= 0 || !prepared_) return 0;
    if (!started_) {
        const size_t bytes = static_cast<size_t>(frames) * format_.channels * (format_.bits / 8);
        std::memset(buffer, format_.bits == 8 ? 128 : 0, bytes);
        return 0;
    }
    if (format_.channels == 2)
        return format_.bits == 16 ? render_frames<2, 16>(buffer, frames)
                                  : render_frames<2, 8>(buffer, frames);
    return format_.bits == 16 ? render_frames<1, 16>(buffer, frames)
                              : render_frames<1, 8>(buffer, frames);
}

}  // namespace pxtone
