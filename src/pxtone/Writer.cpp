#include "pxtone/Writer.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "pxtone/ByteReader.h"

namespace pxtone {

namespace {

class Out {
public:
    std::vector<uint8_t> b;
    void push_back(uint8_t v) { b.push_back(v); }
    void raw(const void* p, size_t n) {
        const uint8_t* s = static_cast<const uint8_t*>(p);
        b.insert(b.end(), s, s + n);
    }
    void u8(uint8_t v) { b.push_back(v); }
    void u16(uint16_t v) {
        b.push_back(static_cast<uint8_t>(v));
        b.push_back(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v) { u32(static_cast<uint32_t>(float_to_bits(v))); }
    void var(uint32_t v) { put_varint(*this, v); }
    void vari(int32_t v) { put_varint(*this, static_cast<uint32_t>(v)); }
    void tag(const char* t) { raw(t, 8); }
    void chunk(const char* t, const Out& payload) {
        tag(t);
        u32(static_cast<uint32_t>(payload.b.size()));
        raw(payload.b.data(), payload.b.size());
    }
    void name16(const std::string& s) {
        char n[16] = {};
        std::memcpy(n, s.data(), std::min<size_t>(16, s.size()));
        raw(n, 16);
    }
};

int32_t tenths(float v) {
    return static_cast<int32_t>(std::lround(static_cast<double>(v) * 10.0));
}

void write_ptv_block(const Woice& w, Out& o) {
    Out body;
    body.vari(0);  // legacy basic key
    body.vari(0);
    body.vari(0);
    body.vari(static_cast<int32_t>(w.voices.size()));
    for (const Voice& v : w.voices) {
        body.vari(v.basic_key);
        body.vari(v.volume);
        body.vari(v.pan);
        body.vari(float_to_bits(v.tuning));
        body.var(v.voice_flags);
        body.var(v.data_flags);
        if (v.data_flags & DATAFLAG_WAVE) {
            body.vari(v.wave_type);
            if (v.wave_type == 0) {
                body.vari(static_cast<int32_t>(v.wave.size()));
                body.vari(v.resolution);
                for (const Point& p : v.wave) {
                    body.u8(static_cast<uint8_t>(p.x));
                    body.u8(static_cast<uint8_t>(static_cast<int8_t>(p.y)));
                }
            } else {
                body.vari(static_cast<int32_t>(v.wave.size()));
                for (const Point& p : v.wave) {
                    body.vari(p.x);
                    body.vari(p.y);
                }
            }
        }
        if (v.data_flags & DATAFLAG_ENVELOPE) {
            body.vari(v.env_fps);
            body.vari(static_cast<int32_t>(v.env_head.size()));
            body.vari(0);  // body points
            body.vari(1);  // tail points
            for (const Point& p : v.env_head) {
                body.vari(p.x);
                body.vari(p.y);
            }
            body.vari(v.env_release);
            body.vari(0);
        }
    }
    o.raw("PTVOICE-", 8);
    o.u32(w.ptv_version);
    o.i32(static_cast<int32_t>(body.b.size()));
    o.raw(body.b.data(), body.b.size());
}

void write_noise_block(const NoiseDesign& d, Out& o) {
    o.raw("PTNOISE-", 8);
    o.u32(d.version);
    o.vari(d.frames);
    o.u8(static_cast<uint8_t>(static_cast<int8_t>(d.units.size())));
    for (const NoiseUnit& u : d.units) {
        uint32_t flags = 0x04 | 0x10 | 0x20 | 0x40;
        if (u.pan != 0) flags |= 0x08;
        o.var(flags);
        o.vari(static_cast<int32_t>(u.envelope.size()));
        for (const Point& p : u.envelope) {
            o.vari(p.x);
            o.vari(p.y);
        }
        if (flags & 0x08) o.u8(static_cast<uint8_t>(static_cast<int8_t>(u.pan)));
        for (const NoiseOscillator* osc : {&u.main, &u.freq, &u.volume}) {
            o.vari(osc->type);
            o.vari(osc->reverse ? 1 : 0);
            o.vari(tenths(osc->freq));
            o.vari(tenths(osc->volume));
            o.vari(tenths(osc->offset));
        }
    }
}

void write_master(const Project& p, Out& o) {
    const Master& m = p.master;
    const int32_t per_meas = m.beats * m.beat_clock;
    Out master;
    master.u16(static_cast<uint16_t>(m.beat_clock));
    master.u8(static_cast<uint8_t>(m.beats));
    master.f32(m.tempo);
    master.i32(m.repeat_meas * per_meas);
    master.i32(m.last_meas * per_meas);
    o.chunk("MasterV5", master);
}

// The events with clocks as deltas from the event before.
void write_events(const Project& p, Out& o) {
    Out ev;
    ev.i32(static_cast<int32_t>(p.events.size()));
    uint32_t clock = 0;
    for (const Event& e : p.events) {
        ev.var(static_cast<uint32_t>(e.clock) - clock);
        clock = static_cast<uint32_t>(e.clock);
        ev.u8(e.unit);
        ev.u8(e.kind);
        ev.vari(e.value);
    }
    o.chunk("Event V5", ev);
}

// The name and comment (when not empty), then the delays and the overdrives.
void write_texts_and_effects(const Project& p, Out& o) {
    if (!p.name.empty()) {
        Out t;
        t.raw(p.name.data(), p.name.size());
        o.chunk("textNAME", t);
    }
    if (!p.comment.empty()) {
        Out t;
        t.raw(p.comment.data(), p.comment.size());
        o.chunk("textCOMM", t);
    }
    for (const Delay& d : p.delays) {
        Out c;
        c.u16(static_cast<uint16_t>(d.unit));
        c.u16(static_cast<uint16_t>(d.group));
        c.f32(d.rate);
        c.f32(d.freq);
        o.chunk("effeDELA", c);
    }
    for (const Overdrive& d : p.overdrives) {
        Out c;
        c.u16(0);
        c.u16(static_cast<uint16_t>(d.group));
        c.f32(d.cut);
        c.f32(d.amp);
        c.f32(0.0f);
        o.chunk("effeOVER", c);
    }
}

// One woice's material chunk; false (nothing written) for a woice of no kind.
bool write_woice(const Woice& w, Out& o) {
    const Voice def;
    const Voice& v = w.voices.empty() ? def : w.voices[0];
    Out c;
    switch (w.kind) {
        case WoiceKind::Pcm:
            c.u16(0);
            c.u16(static_cast<uint16_t>(v.basic_key));
            c.u32(v.voice_flags);
            c.u16(static_cast<uint16_t>(w.pcm.channels));
            c.u16(static_cast<uint16_t>(w.pcm.bits));
            c.u32(static_cast<uint32_t>(w.pcm.rate));
            c.f32(v.tuning);
            c.u32(static_cast<uint32_t>(w.pcm.data.size()));
            c.raw(w.pcm.data.data(), w.pcm.data.size());
            o.chunk("matePCM ", c);
            return true;
        case WoiceKind::Ptv: {
            Out block;
            write_ptv_block(w, block);
            c.u16(0);
            c.u16(0);
            c.f32(0.0f);
            c.i32(static_cast<int32_t>(block.b.size()));
            c.raw(block.b.data(), block.b.size());
            o.chunk("matePTV ", c);
            return true;
        }
        case WoiceKind::Ptn:
            c.u16(0);
            c.u16(static_cast<uint16_t>(v.basic_key));
            c.u32(v.voice_flags);
            c.f32(v.tuning);
            c.i32(w.ptn_marker);
            write_noise_block(w.noise, c);
            o.chunk("matePTN ", c);
            return true;
        case WoiceKind::Oggv:
            c.u16(0);
            c.u16(static_cast<uint16_t>(v.basic_key));
            c.u32(v.voice_flags);
            c.f32(v.tuning);
            c.i32(w.ogg_channels);
            c.i32(w.ogg_rate);
            c.i32(w.ogg_samples);
            c.i32(static_cast<int32_t>(w.ogg.size()));
            c.raw(w.ogg.data(), w.ogg.size());
            o.chunk("mateOGGV", c);
            return true;
        case WoiceKind::None:
            break;
    }
    return false;
}

// A name of a woice or unit given to its index (a project's "assiWOIC" and "assiUNIT").
void write_assignment(const char* tag, size_t index, const std::string& name, Out& o) {
    Out a;
    a.u16(static_cast<uint16_t>(index));
    a.u16(0);
    a.name16(name);
    o.chunk(tag, a);
}

// The woices, each followed by its name in a project.
void write_woices(const Project& p, bool project, Out& o) {
    for (size_t i = 0; i < p.woices.size(); ++i) {
        const Woice& w = p.woices[i];
        if (!write_woice(w, o)) continue;
        if (project && !w.name.empty()) write_assignment("assiWOIC", i, w.name, o);
    }
}

// The unit count, then in a project the names other than "no name".
void write_units(const Project& p, bool project, Out& o) {
    Out nu;
    nu.u16(static_cast<uint16_t>(p.unit_count()));
    nu.u16(0);
    o.chunk("num UNIT", nu);
    if (!project) return;
    for (int i = 0; i < p.unit_count(); ++i) {
        const std::string& n = p.unit_names[static_cast<size_t>(i)];
        if (n.empty() || n == "no name") continue;
        write_assignment("assiUNIT", static_cast<size_t>(i), n, o);
    }
}

}  // namespace

std::vector<uint8_t> write_file(const Project& p, FileKind kind) {
    const bool project = kind == FileKind::Project;
    Out o;
    o.raw(project ? "PTCOLLAGE-071119" : "PTTUNE--20071119", 16);
    o.u16(5);  // exe version
    o.u16(0);
    write_master(p, o);
    write_events(p, o);
    write_texts_and_effects(p, o);
    write_woices(p, project, o);
    write_units(p, project, o);
    o.tag("pxtoneND");
    o.u32(0);
    return std::move(o.b);
}

bool write_file(const Project& project, const std::string& path, FileKind kind) {
    const std::vector<uint8_t> bytes = write_file(project, kind);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace pxtone
