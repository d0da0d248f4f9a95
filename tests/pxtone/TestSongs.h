#pragma once
// Songs and raw file bytes built in code for the engine tests.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "pxtone/Project.h"
#include "pxtone/Renderer.h"
#include "pxtone/Writer.h"

namespace pxtone::test {

// Little-endian byte builder for hand-made files.
struct Bytes {
    std::vector<uint8_t> b;
    Bytes& raw(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& u8(uint8_t v) {
        b.push_back(v);
        return *this;
    }
    Bytes& u16(uint16_t v) { return u8(static_cast<uint8_t>(v)).u8(static_cast<uint8_t>(v >> 8)); }
    Bytes& u32(uint32_t v) {
        return u16(static_cast<uint16_t>(v)).u16(static_cast<uint16_t>(v >> 16));
    }
    Bytes& f32(float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        return u32(v);
    }
    Bytes& var(uint32_t v) {
        do {
            uint8_t byte = v & 0x7F;
            v >>= 7;
            if (v) byte |= 0x80;
            b.push_back(byte);
        } while (v);
        return *this;
    }
    Bytes& name16(const std::string& s) {
        std::string n = s;
        n.resize(16, '\0');
        return raw(n);
    }
    Bytes& chunk(const std::string& tag, const Bytes& payload) {
        raw(tag).u32(static_cast<uint32_t>(payload.b.size()));
        b.insert(b.end(), payload.b.begin(), payload.b.end());
        return *this;
    }
};

// Mono 16-bit PCM at 44.1 kHz from sample values.
inline PcmSource pcm16(const std::vector<int16_t>& samples, int channels = 1, int rate = 44100) {
    PcmSource p;
    p.channels = channels;
    p.bits = 16;
    p.rate = rate;
    for (int16_t s : samples) {
        p.data.push_back(static_cast<uint8_t>(s & 0xFF));
        p.data.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return p;
}

// A ramp 0, 1, 2, ... so that an output sample tells the read position.
inline std::vector<int16_t> ramp(int n) {
    std::vector<int16_t> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = static_cast<int16_t>(i);
    return v;
}

// One unit, one woice; full velocity and volume so samples pass through unscaled.
inline Project one_unit_song(Woice w) {
    Project p;
    p.woices.push_back(std::move(w));
    p.set_unit_count(1);
    p.add_event(0, 0, EVENTKIND_VELOCITY, 128);
    p.add_event(0, 0, EVENTKIND_VOLUME, 128);
    return p;
}

inline Voice overtone_voice(int harmonic = 1, int amplitude = 128) {
    Voice v;
    v.basic_key = 0x2D00;
    v.voice_flags = VOICEFLAG_WAVELOOP | VOICEFLAG_SMOOTH;
    v.data_flags = DATAFLAG_WAVE;
    v.wave_type = 1;
    v.wave = {{harmonic, amplitude}};
    return v;
}

inline NoiseDesign simple_noise(int type = 1, float freq = 440.0f) {
    NoiseDesign d;
    d.frames = 4410;
    NoiseUnit u;
    u.envelope = {{0, 100}, {100, 0}};
    u.main.type = type;
    u.main.freq = freq;
    u.main.volume = 100.0f;
    d.units.push_back(u);
    return d;
}

// Renders `frames` frames (16-bit) from `start`; returns the samples and the produced count.
inline std::vector<int16_t> render16(const Project& p, int frames, OutputFormat fmt = {},
                                     bool loop = false, int64_t start = 0,
                                     int* produced = nullptr) {
    Renderer r(p);
    if (!r.prepare(fmt)) return {};
    r.set_loop(loop);
    r.start(start);
    std::vector<int16_t> out(static_cast<size_t>(frames) * fmt.channels);
    const int n = r.render(out.data(), frames);
    if (produced) *produced = n;
    return out;
}

inline std::unique_ptr<Project> roundtrip(const Project& p, FileKind kind = FileKind::Project) {
    const std::vector<uint8_t> bytes = write_file(p, kind);
    LoadResult r = Project::load(bytes);
    return std::move(r.project);
}

}  // namespace pxtone::test
