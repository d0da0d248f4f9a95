// PTN noise synthesis at 44100 Hz. Up to four units, each a main oscillator shaped by a
// volume oscillator, detuned by a frequency oscillator, panned and enveloped; all in double
// precision, one table period = 441 entries (100 Hz).

#include <algorithm>
#include <array>
#include <cmath>

#include "pxtone/FreqTable.h"
#include "pxtone/ToneBuilder.h"

namespace pxtone {

namespace {

constexpr int kPeriod = 441;
constexpr int kRandomSize = 44100;
constexpr int kT = 32767;
constexpr double kPi = 3.1415926535897932;

enum NoiseType {
    NOISE_NONE = 0,
    NOISE_SINE,
    NOISE_SAW,
    NOISE_RECT,
    NOISE_RANDOM,
    NOISE_SAW2,
    NOISE_RECT2,
    NOISE_TRI,
    NOISE_RANDOM2,
    NOISE_RECT3,
    NOISE_RECT4,
    NOISE_RECT8,
    NOISE_RECT16,
    NOISE_SAW3,
    NOISE_SAW4,
    NOISE_SAW6,
    NOISE_SAW8,
    NOISE_NUM,
};

struct Tables {
    // Each wave has 441 entries plus a zero at index 441 (read at a phase of exactly 441).
    int16_t wave[NOISE_NUM][kPeriod + 1] = {};
    int16_t random[kRandomSize + 1] = {};

    static int16_t stepped(int s, const std::initializer_list<int>& levels) {
        const int n = static_cast<int>(levels.size());
        int k = 0;
        while (k < n - 1 && s >= kPeriod * (k + 1) / n) ++k;
        return static_cast<int16_t>(*(levels.begin() + k));
    }

    Tables() {
        for (int s = 0; s < kPeriod; ++s) {
            wave[NOISE_SINE][s] =
                static_cast<int16_t>(kT * std::sin(((2.0 * kPi * 1) * s) / kPeriod));
            wave[NOISE_SAW][s] = static_cast<int16_t>(kT - 2.0 * kT * s / kPeriod);
            wave[NOISE_RECT][s] = s < 220 ? kT : -kT;
            double saw2 = 0, rect2 = 0;
            for (int h = 1; h <= 16; ++h) {
                saw2 += std::sin(((2.0 * kPi * h) * s) / kPeriod) / h;
                if (h & 1) rect2 += std::sin(((2.0 * kPi * h) * s) / kPeriod) / h;
            }
            wave[NOISE_SAW2][s] = static_cast<int16_t>(kT * std::clamp(saw2, -1.0, 1.0));
            wave[NOISE_RECT2][s] = static_cast<int16_t>(kT * std::clamp(rect2, -1.0, 1.0));
            // Triangle: coordinate points (0,0) (110,128) (330,-128) (441,0).
            static constexpr int px[4] = {0, 110, 330, 441}, py[4] = {0, 128, -128, 0};
            int c = 1;
            while (px[c] <= s) ++c;
            double y = s == px[c - 1] ? py[c - 1]
                                      : py[c - 1] + static_cast<double>(py[c] - py[c - 1]) *
                                                        (s - px[c - 1]) / (px[c] - px[c - 1]);
            wave[NOISE_TRI][s] = static_cast<int16_t>(std::clamp(y / 128.0, -1.0, 1.0) * kT);
            wave[NOISE_RECT3][s] = s < 147 ? kT : -kT;
            wave[NOISE_RECT4][s] = s < 110 ? kT : -kT;
            wave[NOISE_RECT8][s] = s < 55 ? kT : -kT;
            wave[NOISE_RECT16][s] = s < 27 ? kT : -kT;
            wave[NOISE_SAW3][s] = stepped(s, {kT, 0, -kT});
            wave[NOISE_SAW4][s] = stepped(s, {32767, 10922, -10922, -32767});
            wave[NOISE_SAW6][s] = stepped(s, {32767, 19661, 6553, -6553, -19661, -32767});
            wave[NOISE_SAW8][s] =
                stepped(s, {32767, 23405, 14043, 4681, -4681, -14043, -23405, -32767});
        }
        // Random: a 16-bit add-and-byte-swap generator.
        int32_t a = 0x4444, b = 0x8888;
        for (int i = 0; i < kRandomSize; ++i) {
            const int32_t s = static_cast<int32_t>(static_cast<int16_t>(a)) + b;
            const int32_t r = static_cast<int32_t>((static_cast<uint32_t>(s) & 0xFFFF0000u) |
                                                   ((static_cast<uint32_t>(s) & 0xFF) << 8) |
                                                   ((static_cast<uint32_t>(s) >> 8) & 0xFF));
            b = static_cast<int16_t>(a);
            a = static_cast<int16_t>(r);
            random[i] = static_cast<int16_t>(r);
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

enum class OscMode { Table, RandomRamp, RandomStep };

struct Osc {
    OscMode mode = OscMode::Table;
    const int16_t* table = nullptr;
    bool reverse = false;
    double increment = 0;
    double phase = 0;
    double gain = 0;
    // The gain with the reversal folded in: (-x) * gain and x * (-gain) round alike.
    double signed_gain = 0;
    int32_t k = 0, start = 0, margin = 0;

    void setup(const NoiseOscillator& o) {
        const Tables& t = tables();
        mode = o.type == NOISE_RANDOM    ? OscMode::RandomRamp
               : o.type == NOISE_RANDOM2 ? OscMode::RandomStep
                                         : OscMode::Table;
        table = t.wave[o.type >= 0 && o.type < NOISE_NUM ? o.type : 0];
        if (o.type < 0 || o.type >= NOISE_NUM) mode = OscMode::Table;
        reverse = o.reverse;
        // The reader clamps these; songs built in code may hold anything.
        const float freq = std::isfinite(o.freq) ? std::clamp(o.freq, 0.0f, 44100.0f) : 0.0f;
        const float volume = std::isfinite(o.volume) ? std::clamp(o.volume, 0.0f, 200.0f) : 0.0f;
        const float offset = std::isfinite(o.offset) ? std::clamp(o.offset, 0.0f, 100.0f) : 0.0f;
        increment = (44100.0 / 44100.0) * (freq / 100.0);
        gain = volume / 100.0f;
        signed_gain = reverse ? -gain : gain;
        if (mode == OscMode::Table) {
            phase = kPeriod * static_cast<double>(offset / 100.0f);
        } else {
            phase = 0;
            k = static_cast<int32_t>(44100 * static_cast<double>(offset / 100.0f));
            k = std::clamp(k, 0, kRandomSize);
            start = 0;
            margin = t.random[k];
        }
    }
    template <OscMode M>
    int32_t value() const {
        if constexpr (M == OscMode::Table)
            return table[static_cast<int>(phase)];
        else if constexpr (M == OscMode::RandomRamp)
            return start + (margin * static_cast<int32_t>(phase)) / kPeriod;
        else
            return start;
    }
    template <OscMode M>
    void wrap(const int16_t* r) {
        if (phase > kPeriod) {
            phase -= kPeriod;
            if (phase >= kPeriod) phase = 0;
            if constexpr (M != OscMode::Table) {
                start = r[k];
                k = (k + 1) % kRandomSize;
                margin = r[k] - start;
            }
        }
    }
};

struct Env {
    int n = 0;
    int32_t d[3] = {};
    double m[3] = {};
    int i = 0;
    double from = 0, delta = 0;
    int32_t count = 0;

    void normalise() {
        while (i < n) {
            delta = m[i] - from;
            if (d[i] != 0) break;
            from = m[i];
            ++i;
        }
    }
};

struct UnitGen {
    Osc main, freq, volume;
    double pan[2] = {1, 1};
    Env env;
};

constexpr int kChunk = 1024;

// The units' sum over a chunk of frames, one array per channel.
struct ChunkSum {
    double left[kChunk];
    double right[kChunk];
};

// The pitch factor the frequency oscillator gives at each table entry: for a table
// oscillator it depends on nothing but the entry (and the oscillator's constant gain).
struct PitchSteps {
    double step[kPeriod + 1];
    explicit PitchSteps(const Osc& freq) {
        const float* freq_table = FreqTable::table();
        for (int i = 0; i <= kPeriod; ++i)
            step[i] = of_value(freq_table, (12800 * freq.table[i]) / 32767, freq);
    }
    // FreqTable::f1 of the oscillator's scaled value, the table fetched once.
    static double of_value(const float* freq_table, double fv, const Osc& freq) {
        fv *= freq.signed_gain;
        int64_t key = (static_cast<int64_t>(static_cast<int32_t>(fv)) + 0x6000) * 16 / 256;
        key = std::clamp<int64_t>(key, 0, FreqTable::kSize - 1);
        return freq_table[key];
    }
};

// One unit's contribution to `n` frames (n <= kChunk) of the sum, and its advance over
// them. The oscillators step frame by frame first; the samples, which depend on nothing
// but their values and the envelope (a line within each of its segments), follow in
// loops the compiler can vectorise.
template <OscMode Main, OscMode Freq, OscMode Volume>
void run_unit(UnitGen& unit, const PitchSteps& pitch, ChunkSum& sum, int n) {
    const int16_t* random = tables().random;
    const float* freq_table = FreqTable::table();
    UnitGen g = unit;
    int32_t main_value[kChunk], volume_value[kChunk];
    for (int f = 0; f < n; ++f) {
        main_value[f] = g.main.value<Main>();
        volume_value[f] = g.volume.value<Volume>();
        if constexpr (Freq == OscMode::Table)
            g.main.phase += g.main.increment * pitch.step[static_cast<int>(g.freq.phase)];
        else
            g.main.phase +=
                g.main.increment * PitchSteps::of_value(freq_table, g.freq.value<Freq>(), g.freq);
        g.freq.phase += g.freq.increment;
        g.volume.phase += g.volume.increment;
        g.main.wrap<Main>(random);
        g.freq.wrap<Freq>(random);
        g.volume.wrap<Volume>(random);
    }
    const double main_gain = g.main.signed_gain, volume_gain = g.volume.signed_gain;
    const double pan_left = g.pan[0], pan_right = g.pan[1];
    double x[kChunk];
    for (int f = 0; f < n; ++f) {
        double m = main_value[f];
        m *= main_gain;
        double v = volume_value[f];
        v *= volume_gain;
        x[f] = m * (v + 32767) / 65534;
    }
    // The envelope: from + delta * count / span within a segment, from after the last.
    Env& env = g.env;
    for (int f = 0; f < n;) {
        if (env.i >= env.n) {
            const double e = env.from;
            for (; f < n; ++f) {
                sum.left[f] += x[f] * pan_left * e;
                sum.right[f] += x[f] * pan_right * e;
            }
            break;
        }
        const int32_t span = env.d[env.i];
        const int run = static_cast<int>(std::min<int64_t>(n - f, span - env.count));
        const double from = env.from, delta = env.delta, d = span;
        const int32_t count0 = env.count - f;
        for (int end = f + run; f < end; ++f) {
            const double e = from + delta * static_cast<double>(count0 + f) / d;
            sum.left[f] += x[f] * pan_left * e;
            sum.right[f] += x[f] * pan_right * e;
        }
        env.count += run;
        if (env.count >= span) {
            env.count = 0;
            env.from = env.m[env.i];
            env.delta = 0;
            ++env.i;
            env.normalise();
        }
    }
    unit = g;
}

using RunUnit = void (*)(UnitGen&, const PitchSteps&, ChunkSum&, int);

template <OscMode Main, OscMode Freq>
RunUnit run_unit_for_volume(OscMode volume) {
    switch (volume) {
        case OscMode::Table:
            return &run_unit<Main, Freq, OscMode::Table>;
        case OscMode::RandomRamp:
            return &run_unit<Main, Freq, OscMode::RandomRamp>;
        default:
            return &run_unit<Main, Freq, OscMode::RandomStep>;
    }
}

template <OscMode Main>
RunUnit run_unit_for_freq(OscMode freq, OscMode volume) {
    switch (freq) {
        case OscMode::Table:
            return run_unit_for_volume<Main, OscMode::Table>(volume);
        case OscMode::RandomRamp:
            return run_unit_for_volume<Main, OscMode::RandomRamp>(volume);
        default:
            return run_unit_for_volume<Main, OscMode::RandomStep>(volume);
    }
}

RunUnit run_unit_for(const UnitGen& g) {
    switch (g.main.mode) {
        case OscMode::Table:
            return run_unit_for_freq<OscMode::Table>(g.freq.mode, g.volume.mode);
        case OscMode::RandomRamp:
            return run_unit_for_freq<OscMode::RandomRamp>(g.freq.mode, g.volume.mode);
        default:
            return run_unit_for_freq<OscMode::RandomStep>(g.freq.mode, g.volume.mode);
    }
}

}  // namespace

const int16_t* noise_random_table() {
    return tables().random;
}
const int16_t* noise_wave_table(int type) {
    return tables().wave[type >= 0 && type < NOISE_NUM ? type : 0];
}

void build_noise(const NoiseDesign& design, std::vector<int16_t>& out) {
    const int frames = std::clamp(design.frames, 0, kMaxNoiseFrames);
    std::vector<UnitGen> units(design.units.size());
    for (size_t u = 0; u < units.size(); ++u) {
        const NoiseUnit& src = design.units[u];
        UnitGen& g = units[u];
        g.main.setup(src.main);
        g.freq.setup(src.freq);
        g.volume.setup(src.volume);
        if (src.pan < 0) {
            g.pan[1] = (100.0 + src.pan) / 100.0;
        } else if (src.pan > 0) {
            g.pan[0] = (100.0 - src.pan) / 100.0;
        }
        g.env.n = static_cast<int>(std::min<size_t>(src.envelope.size(), 3));
        for (int i = 0; i < g.env.n; ++i) {
            const Point& pt = src.envelope[static_cast<size_t>(i)];
            g.env.d[i] = 44100 * std::clamp(pt.x, 0, 10000) / 1000;
            g.env.m[i] = std::clamp(pt.y, 0, 100) / 100.0;
        }
        g.env.normalise();
    }
    std::vector<PitchSteps> pitch;
    pitch.reserve(units.size());
    for (const UnitGen& g : units) pitch.emplace_back(g.freq);
    // Unit by unit over chunks of frames; each frame's sum still adds the units in order.
    // The output is filled as it is made (reserved, not zeroed first).
    out.clear();
    out.reserve(static_cast<size_t>(frames) * 2);
    ChunkSum sum;
    int16_t samples[kChunk * 2];
    for (int f0 = 0; f0 < frames; f0 += kChunk) {
        const int n = std::min(kChunk, frames - f0);
        std::fill(sum.left, sum.left + n, 0.0);
        std::fill(sum.right, sum.right + n, 0.0);
        for (size_t u = 0; u < units.size(); ++u)
            run_unit_for(units[u])(units[u], pitch[u], sum, n);
        for (int f = 0; f < n; ++f) {
            samples[f * 2] =
                static_cast<int16_t>(std::clamp(static_cast<int32_t>(sum.left[f]), -32767, 32767));
            samples[f * 2 + 1] =
                static_cast<int16_t>(std::clamp(static_cast<int32_t>(sum.right[f]), -32767, 32767));
        }
        out.insert(out.end(), samples, samples + static_cast<size_t>(n) * 2);
    }
}

}  // namespace pxtone
