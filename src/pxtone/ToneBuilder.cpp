#include "pxtone/ToneBuilder.h"

#include "pxtone/Numeric.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace pxtone {

namespace {
constexpr double kPi = 3.1415926535897932;
// Limit on all prepared bodies of one project together.
constexpr int64_t kMaxTotalFrames = int64_t{1} << 26;
// Noise frames worth a second thread: about a tenth of a second of synthesis.
constexpr int64_t kParallelNoiseFrames = 400000;

// Synthesis is the slow part of loading. The first woice of each noise design is built
// here, side by side on the machine's cores, as long as the bodies stay within the
// limit on all bodies (the loop after it still checks every woice in order). `built[w]`
// tells which woices got their body in `bodies[w]`.
void synthesise_noises(const std::vector<Woice>& woices, std::vector<std::vector<int16_t>>& bodies,
                       std::vector<char>& built) {
    bodies.assign(woices.size(), {});
    built.assign(woices.size(), 0);
    std::vector<size_t> jobs;
    int64_t frames = 0;
    for (size_t wi = 0; wi < woices.size(); ++wi) {
        const Woice& w = woices[wi];
        if (w.kind != WoiceKind::Ptn || w.voices.size() != 1) continue;
        const bool seen = std::any_of(jobs.begin(), jobs.end(),
                                      [&](size_t j) { return woices[j].noise == w.noise; });
        if (seen) continue;
        frames += std::clamp(w.noise.frames, 0, kMaxNoiseFrames);
        if (frames > kMaxTotalFrames) break;
        jobs.push_back(wi);
    }
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t threads = frames < kParallelNoiseFrames ? 1 : std::min<size_t>(cores, jobs.size());
    std::atomic<size_t> next{0};
    std::mutex failure_mutex;
    std::exception_ptr failure;  // the first one (out of memory), thrown on this thread
    auto work = [&] {
        try {
            for (size_t k = next++; k < jobs.size(); k = next++) {
                build_noise(woices[jobs[k]].noise, bodies[jobs[k]]);
                built[jobs[k]] = 1;
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(failure_mutex);
            if (!failure) failure = std::current_exception();
            next = jobs.size();
        }
    };
    std::vector<std::thread> helpers;
    try {
        for (size_t t = 1; t < threads; ++t) helpers.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: the ones running and this one share the work.
    }
    work();
    for (std::thread& t : helpers) t.join();
    if (failure) std::rethrow_exception(failure);
}
}  // namespace

bool convert_pcm(std::span<const uint8_t> data, int channels, int bits, int rate,
                 std::vector<int16_t>& out) {
    const size_t frame_bytes = static_cast<size_t>(bits / 8 * channels);
    const size_t frames = data.size() / frame_bytes;
    // Channels then bits: stereo 16-bit at the source rate.
    auto sample = [&](size_t frame, int ch) -> int16_t {
        const int c = channels == 2 ? ch : 0;
        const size_t at = frame * frame_bytes + static_cast<size_t>(c) * (bits / 8);
        if (bits == 8) return static_cast<int16_t>((static_cast<int>(data[at]) - 128) * 256);
        return static_cast<int16_t>(data[at] | (data[at + 1] << 8));
    };
    if (rate == 44100) {
        if (static_cast<int64_t>(frames) > kMaxBodyFrames) return false;
        out.resize(frames * 2);
        for (size_t f = 0; f < frames; ++f) {
            out[f * 2] = sample(f, 0);
            out[f * 2 + 1] = sample(f, 1);
        }
        return true;
    }
    // Rate: new bytes = ceil(old bytes * 44100 / old rate), 4 bytes per stereo frame.
    const double old_bytes = 4.0 * static_cast<double>(frames);
    const double new_bytes = std::ceil(old_bytes * 44100.0 / rate);
    if (new_bytes / 4 > static_cast<double>(kMaxBodyFrames)) return false;
    const size_t new_frames = static_cast<size_t>(static_cast<int64_t>(new_bytes) / 4);
    out.resize(new_frames * 2);
    for (size_t a = 0; a < new_frames; ++a) {
        size_t src = static_cast<size_t>(static_cast<double>(a) * rate / 44100.0);
        if (src >= frames) src = frames - 1;
        out[a * 2] = sample(src, 0);
        out[a * 2 + 1] = sample(src, 1);
    }
    return true;
}

void build_ptv_table(const Voice& v, std::vector<int16_t>& out) {
    constexpr int kFrames = 400;
    out.assign(kFrames * 2, 0);
    if (!(v.data_flags & DATAFLAG_WAVE) || v.wave.empty()) return;
    const int gain[2] = {v.pan > 64 ? 128 - v.pan : 64, v.pan < 64 ? v.pan : 64};
    for (int s = 0; s < kFrames; ++s) {
        double o = 0;
        if (v.wave_type == 1) {
            double sum = 0;
            for (const Point& pt : v.wave) {
                const double theta = ((2.0 * kPi * pt.x) * s) / 400.0;
                sum += std::sin(theta) * pt.y / pt.x / 128.0;
            }
            o = sum * v.volume / 128.0;
        } else {
            const int q = v.resolution;
            const int i = static_cast<int>(static_cast<int64_t>(q) * s / kFrames);
            size_t c = 0;
            while (c < v.wave.size() && v.wave[c].x <= i) ++c;
            int x1, y1, x2, y2;
            if (c == v.wave.size()) {
                x1 = v.wave.back().x;
                y1 = v.wave.back().y;
                x2 = q;
                y2 = v.wave[0].y;
            } else if (c > 0) {
                x1 = v.wave[c - 1].x;
                y1 = v.wave[c - 1].y;
                x2 = v.wave[c].x;
                y2 = v.wave[c].y;
            } else {
                x1 = x2 = v.wave[0].x;
                y1 = y2 = v.wave[0].y;
            }
            double y;
            if (i == x1 || x2 == x1)
                y = y1;
            else
                y = y1 + static_cast<double>(y2 - y1) * (i - x1) / (x2 - x1);
            o = y * v.volume / 128.0 / 128.0;
        }
        for (int ch = 0; ch < 2; ++ch) {
            double value = o * gain[ch] / 64.0;
            value = std::isfinite(value) ? std::clamp(value, -1.0, 1.0) : 0.0;
            out[static_cast<size_t>(s) * 2 + ch] = static_cast<int16_t>(value * 32767);
        }
    }
}

int64_t envelope_length(const Voice& v, int rate) {
    if (!(v.data_flags & DATAFLAG_ENVELOPE) || v.env_fps <= 0) return 0;
    double sum = 0;
    for (const Point& pt : v.env_head) sum += pt.x;
    const double len = sum * rate / v.env_fps;
    if (len > 9.0e15) return INT64_MAX;
    const int64_t n = static_cast<int64_t>(len);
    return n <= 0 ? 1 : n;  // negative only for a project built in code; refused when prepared
}

void build_envelope(const Voice& v, int rate, std::vector<int32_t>& table, int32_t& release) {
    table.clear();
    release = 0;
    const int64_t len = envelope_length(v, rate);
    if (len == 0) return;
    const size_t h = v.env_head.size();
    // Point i is kept at index i; a skipped point (x = 0 and y = 0 after the first) leaves
    // (0, 0) there, and only the first `kept` indices are interpolated.
    std::vector<Point> pts(h);
    size_t kept = 0;
    int64_t offset = 0;
    for (size_t i = 0; i < h; ++i) {
        const Point& p = v.env_head[i];
        if (i == 0 || p.x || p.y) {
            offset += static_cast<int64_t>(static_cast<double>(p.x) * rate / v.env_fps);
            pts[i].x = static_cast<int32_t>(offset);
            // Levels are 0..128; wild values are bounded so gain products cannot overflow.
            pts[i].y = std::clamp(p.y, -65536, 65536);
            ++kept;
        }
    }
    table.resize(static_cast<size_t>(len));
    Point prev;
    size_t e = 0;
    for (int64_t t = 0; t < len; ++t) {
        while (e < kept && t >= pts[e].x) prev = pts[e++];
        if (e < kept) {
            const Point& next = pts[e];
            table[static_cast<size_t>(t)] = static_cast<int32_t>(
                prev.y + static_cast<int64_t>(next.y - prev.y) * (t - prev.x) / (next.x - prev.x));
        } else {
            table[static_cast<size_t>(t)] = prev.y;
        }
    }
    release = sat_i32(static_cast<double>(v.env_release) * rate / v.env_fps);
}

bool Project::prepare_tones(LoadError* error) {
    tones_ready_ = false;
    int64_t total = 0;
    auto fail = [&](size_t woice, const char* what) {
        if (error) {
            error->code = LoadError::Code::Invalid;
            error->offset = 0;
            error->message = "woice " + std::to_string(woice) + ": " + what;
        }
        return false;
    };
    std::vector<std::vector<int16_t>> noise_bodies;
    std::vector<char> noise_built;
    synthesise_noises(woices, noise_bodies, noise_built);
    for (size_t wi = 0; wi < woices.size(); ++wi) {
        Woice& w = woices[wi];
        switch (w.kind) {
            case WoiceKind::Pcm: {
                if (w.voices.size() != 1) return fail(wi, "bad voice count");
                if ((w.pcm.channels != 1 && w.pcm.channels != 2) ||
                    (w.pcm.bits != 8 && w.pcm.bits != 16) || w.pcm.rate <= 0)
                    return fail(wi, "bad PCM format");
                std::vector<int16_t> body;
                if (!convert_pcm(w.pcm.data, w.pcm.channels, w.pcm.bits, w.pcm.rate, body))
                    return fail(wi, "PCM too long");
                if (body.empty()) return fail(wi, "empty PCM");
                w.voices[0].body = ToneBody(std::move(body));
                break;
            }
            case WoiceKind::Ptv:
                if (w.voices.size() > 2) return fail(wi, "more than 2 voices");
                for (Voice& v : w.voices) {
                    std::vector<int16_t> body;
                    build_ptv_table(v, body);
                    v.body = ToneBody(std::move(body));
                }
                break;
            case WoiceKind::Ptn: {
                if (w.voices.size() != 1) return fail(wi, "bad voice count");
                if (noise_built[wi]) {
                    w.voices[0].body = ToneBody(std::move(noise_bodies[wi]));
                    break;
                }
                // A design met before is shared.
                const Woice* same = nullptr;
                for (size_t j = 0; j < wi && !same; ++j) {
                    const Woice& o = woices[j];
                    if (o.kind == WoiceKind::Ptn && o.voices.size() == 1 && o.noise == w.noise)
                        same = &o;
                }
                if (same) {
                    w.voices[0].body = same->voices[0].body;  // shares the samples
                } else {
                    std::vector<int16_t> body;
                    build_noise(w.noise, body);
                    w.voices[0].body = ToneBody(std::move(body));
                }
                break;
            }
            case WoiceKind::Oggv: {
                if (w.voices.size() != 1) return fail(wi, "bad voice count");
                int channels = 0, rate = 0;
                std::vector<int16_t> pcm;
                if (!decode_ogg(w.ogg, channels, rate, pcm, kMaxBodyFrames))
                    return fail(wi, "undecodable Ogg Vorbis stream");
                if (channels < 1 || channels > 2 || rate <= 0 || pcm.empty())
                    return fail(wi, "unsupported Ogg Vorbis stream");
                std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(pcm.data()),
                                               pcm.size() * sizeof(int16_t));
                std::vector<int16_t> body;
                if (!convert_pcm(bytes, channels, 16, rate, body))
                    return fail(wi, "Ogg Vorbis stream too long");
                w.voices[0].body = ToneBody(std::move(body));
                break;
            }
            case WoiceKind::None:
                break;
        }
        for (Voice& v : w.voices) {
            total += v.body_frames();
            if (w.kind == WoiceKind::Ptv && (v.data_flags & DATAFLAG_ENVELOPE)) {
                for (const Point& pt : v.env_head)
                    if (pt.x < 0) return fail(wi, "negative envelope time");
            }
            // Envelope tables are built per output rate; bound them at the highest rate. An
            // entry is an int32, as large as one stereo 16-bit body frame.
            const int64_t env = envelope_length(v, 48000);
            if (env > kMaxBodyFrames) return fail(wi, "envelope too long");
            total += env;
        }
        if (total > kMaxTotalFrames) return fail(wi, "tones too large");
    }
    tones_ready_ = true;
    return true;
}

}  // namespace pxtone
