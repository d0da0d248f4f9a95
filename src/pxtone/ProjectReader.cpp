// Reads pxtone files of every generation (x1x, x2x, x3x, x4x, v5; projects and tunes) from a
// byte span. Payloads are parsed by their layout, never skipped by their size field: the size
// of `Event V5` is wrong in files written by the official tools.
//
// File: 16-byte version code; x3x and later add u16 exe version and u16 reserved. Then chunks:
// 8-byte tag, u32 size, payload, until `pxtoneND` (x1x: `END=====`).

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string_view>

#include "pxtone/ByteReader.h"
#include "pxtone/Project.h"

namespace pxtone {

namespace {

using Code = LoadError::Code;

struct VersionCode {
    const char* code;
    Generation gen;
    FileKind kind;
};

constexpr VersionCode kVersionCodes[] = {
    {"PTCOLLAGE-050227", Generation::X1x, FileKind::Project},
    {"PTCOLLAGE-050608", Generation::X2x, FileKind::Project},
    {"PTTUNE--20050608", Generation::X2x, FileKind::Tune},
    {"PTCOLLAGE-060115", Generation::X3x, FileKind::Project},
    {"PTTUNE--20060115", Generation::X3x, FileKind::Tune},
    {"PTCOLLAGE-060930", Generation::X4x, FileKind::Project},
    {"PTTUNE--20060930", Generation::X4x, FileKind::Tune},
    {"PTCOLLAGE-071119", Generation::V5, FileKind::Project},
    {"PTTUNE--20071119", Generation::V5, FileKind::Tune},
};

constexpr uint32_t kPtvNewestVersion = 20060111;
constexpr uint32_t kPtnNewestVersion = 20120418;

// An event collected from an old-format chunk, before the sorted insertion.
struct OldEvent {
    Event e;
    uint32_t seq;
};

class Reader {
public:
    Reader(std::span<const uint8_t> bytes, Project& p) : r_(bytes), p_(p) {}

    bool run();
    LoadError error;

private:
    bool fail(Code code, size_t offset, std::string what) {
        if (failed_) return false;
        failed_ = true;
        error.code = code;
        error.offset = offset;
        switch (code) {
            case Code::NotPxtone:
                error.message = "not a pxtone tune";
                break;
            case Code::Truncated:
                error.message = "truncated at byte " + std::to_string(offset);
                break;
            case Code::NewerFormat:
                error.message = "newer format (" + what + ") at byte " + std::to_string(offset);
                break;
            case Code::Unsupported:
                error.message = "unsupported " + what + " at byte " + std::to_string(offset);
                break;
            default:
                error.message = "invalid " + what + " at byte " + std::to_string(offset);
                break;
        }
        return false;
    }
    bool truncated() { return fail(Code::Truncated, r_.size(), ""); }
    bool invalid(const std::string& what) { return fail(Code::Invalid, chunk_start_, what); }

    // Reads that fail with "truncated" when the data ends.
    bool ok(bool read) {
        if (!read) truncated();
        return read;
    }
    bool u8(uint8_t& v) { return ok(r_.u8(v)); }
    bool i8(int8_t& v) { return ok(r_.i8(v)); }
    bool u16(uint16_t& v) { return ok(r_.u16(v)); }
    bool i16(int16_t& v) { return ok(r_.i16(v)); }
    bool u32(uint32_t& v) { return ok(r_.u32(v)); }
    bool i32(int32_t& v) { return ok(r_.i32(v)); }
    bool f32(float& v) { return ok(r_.f32(v)); }
    bool bytes(void* out, size_t n) { return ok(r_.read(out, n)); }
    bool var(uint32_t& v) {
        size_t at = r_.pos();
        switch (r_.varint(v)) {
            case ByteReader::VarResult::Ok:
                return true;
            case ByteReader::VarResult::Truncated:
                return truncated();
            default:
                return fail(Code::Invalid, at, "varint");
        }
    }
    bool vari(int32_t& v) {
        uint32_t u;
        if (!var(u)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }

    bool read_chunk(const char* tag);
    bool read_master_v5(uint32_t size);
    bool read_event_v5();
    bool read_num_unit(uint32_t size);
    bool read_text(uint32_t size, std::string& out);
    bool read_assi(uint32_t size, bool woice);
    bool read_delay(uint32_t size);
    bool read_overdrive(uint32_t size);
    bool new_woice(Woice*& w);
    bool read_pcm();
    bool read_ptv();
    bool read_ptv_block(Woice& w);
    bool read_ptn();
    bool read_noise_block(NoiseDesign& d);
    bool read_oggv();
    bool read_even_mast();
    bool read_even_unit(bool x1x);
    bool read_pxtn_unit(uint32_t size);
    bool read_x1x_unit(uint32_t size);
    bool read_x1x_project(uint32_t size);
    bool finish();
    void add_old_event(int32_t clock, int unit, int kind, int32_t value);

    ByteReader r_;
    Project& p_;
    Generation gen_ = Generation::V5;
    size_t chunk_start_ = 0;
    bool failed_ = false;
    bool have_master_ = false;
    int32_t repeat_clock_ = 0, last_clock_ = 0;
    std::vector<OldEvent> old_events_;
    uint32_t seq_ = 0;
};

bool tag_is(const char* tag, const char* name) {
    return std::memcmp(tag, name, 8) == 0;
}

bool Reader::run() {
    char code[16];
    if (r_.size() < 16) {
        // Too short to hold a version code: say "truncated" only when what is there is a
        // prefix of a known code.
        for (const VersionCode& v : kVersionCodes)
            if (r_.size() > 0 && std::memcmp(r_.bytes().data(), v.code, r_.size()) == 0)
                return truncated();
        return fail(Code::NotPxtone, 0, "");
    }
    r_.read(code, 16);
    const VersionCode* found = nullptr;
    for (const VersionCode& v : kVersionCodes)
        if (std::memcmp(code, v.code, 16) == 0) found = &v;
    if (!found) return fail(Code::NotPxtone, 0, "");
    gen_ = found->gen;
    p_.generation = gen_;
    p_.file_kind = found->kind;
    if (gen_ >= Generation::X3x) {
        uint16_t exe_version, reserved;
        if (!u16(exe_version) || !u16(reserved)) return false;
    }
    for (;;) {
        chunk_start_ = r_.pos();
        char tag[8];
        if (!bytes(tag, 8)) return false;
        if (gen_ == Generation::X1x ? tag_is(tag, "END=====") : tag_is(tag, "pxtoneND")) break;
        if (!read_chunk(tag)) return false;
    }
    return finish();
}

bool Reader::read_chunk(const char* tag) {
    uint32_t size;
    if (!u32(size)) return false;
    if (gen_ == Generation::X1x) {
        if (tag_is(tag, "PROJECT=")) return read_x1x_project(size);
        if (tag_is(tag, "UNIT====")) return read_x1x_unit(size);
        if (tag_is(tag, "matePCM=")) return read_pcm();
        if (tag_is(tag, "EVENT===")) return read_even_unit(true);
        return fail(Code::Invalid, chunk_start_, "chunk tag");
    }
    if (tag_is(tag, "MasterV5")) return read_master_v5(size);
    if (tag_is(tag, "Event V5")) return read_event_v5();
    if (tag_is(tag, "num UNIT")) return read_num_unit(size);
    if (tag_is(tag, "matePCM ")) return read_pcm();
    if (tag_is(tag, "matePTV ")) return read_ptv();
    if (tag_is(tag, "matePTN ")) return read_ptn();
    if (tag_is(tag, "mateOGGV")) return read_oggv();
    if (tag_is(tag, "effeDELA")) return read_delay(size);
    if (tag_is(tag, "effeOVER")) return read_overdrive(size);
    if (tag_is(tag, "textNAME")) return read_text(size, p_.name);
    if (tag_is(tag, "textCOMM")) return read_text(size, p_.comment);
    if (tag_is(tag, "assiWOIC")) return read_assi(size, true);
    if (tag_is(tag, "assiUNIT")) return read_assi(size, false);
    if (tag_is(tag, "evenMAST")) return read_even_mast();
    if (tag_is(tag, "evenUNIT")) return read_even_unit(false);
    if (tag_is(tag, "pxtnUNIT")) return read_pxtn_unit(size);
    if (tag_is(tag, "antiOPER")) return fail(Code::Unsupported, chunk_start_, "protected file");
    return fail(Code::Invalid, chunk_start_, "chunk tag");
}

bool Reader::read_master_v5(uint32_t size) {
    if (size != 15) return invalid("MasterV5 size");
    int16_t beat_clock;
    int8_t beats;
    float tempo;
    if (!i16(beat_clock) || !i8(beats) || !f32(tempo) || !i32(repeat_clock_) || !i32(last_clock_))
        return false;
    p_.master.beat_clock = beat_clock;
    p_.master.beats = beats;
    p_.master.tempo = tempo;
    have_master_ = true;
    return true;
}

bool Reader::read_event_v5() {
    int32_t count;
    if (!i32(count)) return false;
    if (count < 0) return invalid("event count");
    p_.events.clear();
    p_.events.reserve(std::min<size_t>(static_cast<size_t>(count), r_.remaining() / 4));
    uint32_t clock = 0;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t delta, value;
        uint8_t unit, kind;
        if (!var(delta) || !u8(unit) || !u8(kind) || !var(value)) return false;
        clock += delta;
        Event e;
        e.clock = static_cast<int32_t>(clock);
        e.unit = unit;
        e.kind = kind;
        e.value = static_cast<int32_t>(value);
        p_.events.push_back(e);
    }
    return true;
}

bool Reader::read_num_unit(uint32_t size) {
    if (size != 4) return invalid("num UNIT size");
    int16_t count, reserved;
    if (!i16(count) || !i16(reserved)) return false;
    if (reserved != 0 || count < 0) return invalid("unit count");
    if (count > Project::kMaxUnits) return fail(Code::NewerFormat, chunk_start_, "unit count");
    p_.unit_names.assign(static_cast<size_t>(count), "no name");
    return true;
}

bool Reader::read_text(uint32_t size, std::string& out) {
    if (static_cast<int32_t>(size) < 0) return invalid("text size");
    if (size > r_.remaining()) return truncated();
    out.resize(size);
    return bytes(out.data(), size);
}

bool Reader::read_assi(uint32_t size, bool woice) {
    if (size != 20) return invalid(woice ? "assiWOIC size" : "assiUNIT size");
    uint16_t index, reserved;
    char name[16];
    if (!u16(index) || !u16(reserved) || !bytes(name, 16)) return false;
    if (reserved != 0) return invalid("name chunk");
    const size_t limit = woice ? p_.woices.size() : p_.unit_names.size();
    if (index >= limit) return invalid(woice ? "woice index" : "unit index");
    std::string s(name, strnlen(name, 16));
    if (woice)
        p_.woices[index].name = s;
    else
        p_.unit_names[index] = s;
    return true;
}

bool Reader::read_delay(uint32_t size) {
    if (size != 12) return invalid("effeDELA size");
    uint16_t unit, group;
    float rate, freq;
    if (!u16(unit) || !u16(group) || !f32(rate) || !f32(freq)) return false;
    if (unit >= 3) return invalid("delay unit");
    if (p_.delays.size() >= Project::kMaxDelays) return invalid("delay count");
    Delay d;
    d.unit = unit;
    d.group = group >= Project::kMaxGroups ? 0 : group;
    d.rate = rate;
    d.freq = freq;
    p_.delays.push_back(d);
    return true;
}

bool Reader::read_overdrive(uint32_t size) {
    if (size != 16) return invalid("effeOVER size");
    uint16_t reserved, group;
    float cut, amp, reserved_f;
    if (!u16(reserved) || !u16(group) || !f32(cut) || !f32(amp) || !f32(reserved_f)) return false;
    if (reserved != 0 || reserved_f != 0.0f) return invalid("overdrive");
    if (group >= Project::kMaxGroups) return invalid("overdrive group");
    if (!(cut >= 50.0f && cut <= 99.9f)) return invalid("overdrive cut");
    if (!(amp >= 0.1f && amp <= 8.0f)) return invalid("overdrive amplification");
    if (p_.overdrives.size() >= Project::kMaxOverdrives) return invalid("overdrive count");
    Overdrive o;
    o.group = group;
    o.cut = cut;
    o.amp = amp;
    p_.overdrives.push_back(o);
    return true;
}

bool Reader::new_woice(Woice*& w) {
    if (p_.woices.size() >= Project::kMaxWoices) return invalid("woice count");
    p_.woices.emplace_back();
    w = &p_.woices.back();
    return true;
}

bool Reader::read_pcm() {
    uint16_t unit, basic_key, channels, bits;
    uint32_t flags, rate, data_size;
    float tuning;
    if (!u16(unit) || !u16(basic_key) || !u32(flags) || !u16(channels) || !u16(bits) ||
        !u32(rate) || !f32(tuning) || !u32(data_size))
        return false;
    if (flags & ~VOICEFLAG_MASK) return invalid("voice flags");
    if (bits != 8 && bits != 16) return invalid("PCM bits");
    if (channels != 1 && channels != 2) return invalid("PCM channels");
    if (rate == 0 || rate > 0x7FFFFFFF) return invalid("PCM rate");
    if (data_size > r_.remaining()) return truncated();
    const uint32_t frame_bytes = bits / 8 * channels;
    if (data_size / frame_bytes == 0) return invalid("PCM length");
    Woice* w;
    if (!new_woice(w)) return false;
    w->kind = WoiceKind::Pcm;
    w->pcm.channels = channels;
    w->pcm.bits = bits;
    w->pcm.rate = static_cast<int32_t>(rate);
    w->pcm.data.resize(data_size);
    if (!bytes(w->pcm.data.data(), data_size)) return false;
    Voice v;
    v.basic_key = basic_key;
    v.voice_flags = flags;
    v.tuning = tuning;
    w->voices.push_back(std::move(v));
    w->legacy_basic_key = basic_key;
    return true;
}

bool Reader::read_ptv() {
    uint16_t unit, reserved;
    float legacy_tuning;
    int32_t block_size;
    if (!u16(unit) || !u16(reserved) || !f32(legacy_tuning) || !i32(block_size)) return false;
    if (reserved != 0) return invalid("matePTV");
    if (block_size < 0) return invalid("PTV size");
    Woice* w;
    if (!new_woice(w)) return false;
    w->kind = WoiceKind::Ptv;
    w->legacy_tuning = legacy_tuning != 1.0f ? legacy_tuning : 0.0f;
    return read_ptv_block(*w);
}

bool Reader::read_ptv_block(Woice& w) {
    char code[8];
    uint32_t version;
    int32_t total;
    if (!bytes(code, 8) || !u32(version) || !i32(total)) return false;
    if (std::memcmp(code, "PTVOICE-", 8) != 0) return invalid("PTV code");
    if (version > kPtvNewestVersion) return fail(Code::NewerFormat, chunk_start_, "PTV version");
    w.ptv_version = version;
    int32_t legacy_key, res0, res1, count;
    if (!vari(legacy_key) || !vari(res0) || !vari(res1) || !vari(count)) return false;
    if (res0 != 0 || res1 != 0) return invalid("PTV reserved field");
    // The engine has room for two voices per woice.
    if (count < 0 || count > 2) return invalid("PTV voice count");
    w.legacy_basic_key = legacy_key;
    for (int32_t i = 0; i < count; ++i) {
        Voice v;
        int32_t tuning_bits;
        if (!vari(v.basic_key) || !vari(v.volume) || !vari(v.pan) || !vari(tuning_bits) ||
            !var(v.voice_flags) || !var(v.data_flags))
            return false;
        v.tuning = bits_to_float(tuning_bits);
        if (v.voice_flags & ~VOICEFLAG_MASK) return invalid("voice flags");
        if (v.data_flags & ~(DATAFLAG_WAVE | DATAFLAG_ENVELOPE)) return invalid("data flags");
        if (v.data_flags & DATAFLAG_WAVE) {
            if (!vari(v.wave_type)) return false;
            int32_t n;
            if (v.wave_type == 0) {
                if (!vari(n) || !vari(v.resolution)) return false;
                if (n <= 0 || static_cast<uint32_t>(n) > r_.remaining() / 2)
                    return n <= 0 ? invalid("coordinate wave") : truncated();
                v.wave.resize(static_cast<size_t>(n));
                for (Point& pt : v.wave) {
                    uint8_t x;
                    int8_t y;
                    if (!u8(x) || !i8(y)) return false;
                    pt.x = x;
                    pt.y = y;
                }
                // The first point must sit at the start of the period.
                if (v.wave[0].x != 0) return invalid("coordinate wave");
                if (v.resolution <= 0) return invalid("coordinate resolution");
            } else if (v.wave_type == 1) {
                if (!vari(n)) return false;
                if (n < 0) return invalid("overtone wave");
                if (static_cast<uint32_t>(n) > r_.remaining() / 2) return truncated();
                v.wave.resize(static_cast<size_t>(n));
                for (Point& pt : v.wave) {
                    if (!vari(pt.x) || !vari(pt.y)) return false;
                    if (pt.x == 0) return invalid("overtone harmonic");
                }
            } else {
                return fail(Code::Unsupported, chunk_start_, "PTV wave type");
            }
        }
        if (v.data_flags & DATAFLAG_ENVELOPE) {
            int32_t head, body, tail;
            if (!vari(v.env_fps) || !vari(head) || !vari(body) || !vari(tail)) return false;
            if (body != 0 || tail != 1) return invalid("envelope");
            if (head < 0) return invalid("envelope");
            if (static_cast<uint32_t>(head) > r_.remaining() / 2) return truncated();
            if (v.env_fps <= 0) return invalid("envelope rate");
            v.env_head.resize(static_cast<size_t>(head));
            for (Point& pt : v.env_head)
                if (!vari(pt.x) || !vari(pt.y)) return false;
            int32_t tail_y;
            if (!vari(v.env_release) || !vari(tail_y)) return false;
            for (const Point& pt : v.env_head)
                if (pt.x < 0) return invalid("envelope");
            if (v.env_release < 0) return invalid("envelope");
        }
        w.voices.push_back(std::move(v));
    }
    return true;
}

bool Reader::read_ptn() {
    uint16_t unit, basic_key;
    uint32_t flags;
    float tuning;
    int32_t marker;
    if (!u16(unit) || !u16(basic_key) || !u32(flags) || !f32(tuning) || !i32(marker)) return false;
    if (marker != 0 && marker != 1) return invalid("PTN marker");
    Woice* w;
    if (!new_woice(w)) return false;
    w->kind = WoiceKind::Ptn;
    w->ptn_marker = marker;
    Voice v;
    v.basic_key = basic_key;
    v.voice_flags = flags;
    v.tuning = tuning;
    w->voices.push_back(std::move(v));
    w->legacy_basic_key = basic_key;
    return read_noise_block(w->noise);
}

bool Reader::read_noise_block(NoiseDesign& d) {
    char code[8];
    if (!bytes(code, 8) || !u32(d.version)) return false;
    if (std::memcmp(code, "PTNOISE-", 8) != 0) return invalid("PTN code");
    if (d.version > kPtnNewestVersion) return fail(Code::NewerFormat, chunk_start_, "PTN version");
    int8_t unit_count;
    if (!vari(d.frames) || !i8(unit_count)) return false;
    if (unit_count < 0 || unit_count > 4) return invalid("noise unit count");
    d.units.resize(static_cast<size_t>(unit_count));
    for (NoiseUnit& u : d.units) {
        uint32_t flags;
        if (!var(flags)) return false;
        if (flags & ~0x7Cu) return invalid("noise flags");
        if (flags & 0x04) {
            int32_t n;
            if (!vari(n)) return false;
            if (n < 0 || n > 3) return invalid("noise envelope");
            u.envelope.resize(static_cast<size_t>(n));
            for (Point& pt : u.envelope) {
                if (!vari(pt.x) || !vari(pt.y)) return false;
                pt.x = std::clamp(pt.x, 0, 10000);
                pt.y = std::clamp(pt.y, 0, 100);
            }
        }
        if (flags & 0x08) {
            int8_t pan;
            if (!i8(pan)) return false;
            u.pan = pan;
        }
        NoiseOscillator* oscs[3] = {&u.main, &u.freq, &u.volume};
        const uint32_t bits[3] = {0x10, 0x20, 0x40};
        for (int k = 0; k < 3; ++k) {
            if (!(flags & bits[k])) continue;
            NoiseOscillator& o = *oscs[k];
            uint32_t type;
            int32_t reverse, freq, volume, offset;
            if (!var(type) || !vari(reverse) || !vari(freq) || !vari(volume) || !vari(offset))
                return false;
            if (type >= 17) return invalid("noise wave type");
            o.type = static_cast<int32_t>(type);
            o.reverse = reverse != 0;
            // Stored x10; divided in f32, then clamped.
            o.freq = std::clamp(static_cast<float>(freq) / 10.0f, 0.0f, 44100.0f);
            o.volume = std::clamp(static_cast<float>(volume) / 10.0f, 0.0f, 200.0f);
            o.offset = std::clamp(static_cast<float>(offset) / 10.0f, 0.0f, 100.0f);
        }
    }
    return true;
}

bool Reader::read_oggv() {
    uint16_t unused, basic_key;
    uint32_t flags;
    float tuning;
    int32_t channels, rate, samples, size;
    if (!u16(unused) || !u16(basic_key) || !u32(flags) || !f32(tuning) || !i32(channels) ||
        !i32(rate) || !i32(samples) || !i32(size))
        return false;
    if (flags & ~VOICEFLAG_MASK) return invalid("voice flags");
    if (size <= 0) return invalid("Ogg size");
    if (static_cast<uint32_t>(size) > r_.remaining()) return truncated();
    Woice* w;
    if (!new_woice(w)) return false;
    w->kind = WoiceKind::Oggv;
    w->ogg_channels = channels;
    w->ogg_rate = rate;
    w->ogg_samples = samples;
    w->ogg.resize(static_cast<size_t>(size));
    if (!bytes(w->ogg.data(), w->ogg.size())) return false;
    Voice v;
    v.basic_key = basic_key;
    v.voice_flags = flags;
    v.tuning = tuning;
    w->voices.push_back(std::move(v));
    w->legacy_basic_key = basic_key;
    return true;
}

bool Reader::read_even_mast() {
    uint16_t fields, reserved;
    uint32_t count;
    if (!u16(fields) || !u16(reserved) || !u32(count)) return false;
    if (fields != 3 || reserved != 0) return invalid("evenMAST");
    uint32_t clock = 0;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t kind, delta, value;
        if (!var(kind) || !var(delta) || !var(value)) return false;
        clock += delta;
        switch (kind) {
            case EVENTKIND_BEATCLOCK:
                if (clock != 0) return invalid("evenMAST");
                p_.master.beat_clock = static_cast<int32_t>(value);
                break;
            case EVENTKIND_BEATTEMPO:
                if (clock != 0) return invalid("evenMAST");
                p_.master.tempo = bits_to_float(static_cast<int32_t>(value));
                break;
            case EVENTKIND_BEATNUM:
                if (clock != 0) return invalid("evenMAST");
                p_.master.beats = static_cast<int32_t>(value);
                break;
            case EVENTKIND_REPEAT:
                if (value != 0) return invalid("evenMAST");
                repeat_clock_ = static_cast<int32_t>(clock);
                break;
            case EVENTKIND_LAST:
                if (value != 0) return invalid("evenMAST");
                last_clock_ = static_cast<int32_t>(clock);
                break;
            default:
                return invalid("evenMAST kind");
        }
    }
    have_master_ = true;
    return true;
}

void Reader::add_old_event(int32_t clock, int unit, int kind, int32_t value) {
    if (unit < 0 || unit > 255) return;  // no such unit can exist
    OldEvent o;
    o.e.clock = clock;
    o.e.unit = static_cast<uint8_t>(unit);
    o.e.kind = static_cast<uint8_t>(kind);
    o.e.value = value;
    o.seq = seq_++;
    old_events_.push_back(o);
}

bool Reader::read_even_unit(bool x1x) {
    uint16_t unit, kind, fields, reserved;
    uint32_t count;
    if (!u16(unit) || !u16(kind) || !u16(fields) || !u16(reserved) || !u32(count)) return false;
    if (kind >= EVENTKIND_NUM || fields != 2) return invalid("evenUNIT");
    if (!x1x && reserved != 0) return invalid("evenUNIT");
    uint32_t clock = 0;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t delta, value;
        if (!var(delta) || !var(value)) return false;
        clock += delta;
        add_old_event(static_cast<int32_t>(clock), unit, kind, static_cast<int32_t>(value));
        // x1x notes and glides: the next delta counts from the end of this one.
        if (x1x && (kind == EVENTKIND_ON || kind == EVENTKIND_PORTAMENT)) clock += value;
    }
    return true;
}

bool Reader::read_pxtn_unit(uint32_t size) {
    if (size != 4) return invalid("pxtnUNIT size");
    uint16_t type, group;
    if (!u16(type) || !u16(group)) return false;
    if (type < 1 || type > 3) return invalid("unit type");
    if (p_.unit_names.size() >= Project::kMaxUnits) return invalid("unit count");
    const int index = static_cast<int>(p_.unit_names.size());
    p_.unit_names.push_back("no name");
    add_old_event(0, index, EVENTKIND_GROUPNO, std::min<int>(group, 6));
    add_old_event(0, index, EVENTKIND_VOICENO, index);
    return true;
}

bool Reader::read_x1x_unit(uint32_t size) {
    if (size != 20) return invalid("UNIT==== size");
    char name[16];
    uint16_t type, group;
    if (!bytes(name, 16) || !u16(type) || !u16(group)) return false;
    if (type != 1) return invalid("unit type");
    if (p_.unit_names.size() >= Project::kMaxUnits) return invalid("unit count");
    const int index = static_cast<int>(p_.unit_names.size());
    p_.unit_names.emplace_back(name, strnlen(name, 16));
    add_old_event(0, index, EVENTKIND_GROUPNO, std::min<int>(group, 6));
    add_old_event(0, index, EVENTKIND_VOICENO, index);
    return true;
}

bool Reader::read_x1x_project(uint32_t size) {
    if (size != 36) return invalid("PROJECT= size");
    char name[16];
    float tempo;
    uint16_t beat_clock, beats, ignored16[4];
    uint32_t rate;
    if (!bytes(name, 16) || !f32(tempo) || !u16(beat_clock) || !u16(beats)) return false;
    for (uint16_t& v : ignored16)
        if (!u16(v)) return false;
    if (!u32(rate)) return false;
    p_.name.assign(name, strnlen(name, 16));
    p_.master.tempo = tempo;
    p_.master.beat_clock = beat_clock;
    p_.master.beats = beats;
    have_master_ = true;
    return true;
}

bool Reader::finish() {
    Master& m = p_.master;
    if (!(m.beat_clock > 0) || !(m.beats > 0) || !(m.tempo > 0.0f) || !std::isfinite(m.tempo))
        return fail(Code::Invalid, 0, "master settings");
    // A tempo so small that samples per clock overflow cannot be played.
    const float spc = p_.samples_per_clock(48000);
    if (!std::isfinite(spc) || !(p_.samples_per_clock(11025) > 0.0f))
        return fail(Code::Invalid, 0, "master settings (tempo)");
    const int64_t per_meas = static_cast<int64_t>(m.beats) * m.beat_clock;
    m.repeat_meas = static_cast<int32_t>(std::max<int64_t>(0, repeat_clock_ / per_meas));
    m.last_meas = static_cast<int32_t>(std::max<int64_t>(0, last_clock_ / per_meas));

    if (gen_ != Generation::V5) {
        // Old formats: one sorted list (clock, then priority; the same unit and kind at the
        // same clock keeps its first place and takes the last value).
        std::stable_sort(old_events_.begin(), old_events_.end(),
                         [](const OldEvent& a, const OldEvent& b) {
                             if (a.e.clock != b.e.clock) return a.e.clock < b.e.clock;
                             return event_priority(a.e.kind) < event_priority(b.e.kind);
                         });
        std::vector<Event> list;
        list.reserve(old_events_.size());
        // Index in `list` of the event of each (unit, kind) at the current clock.
        std::vector<int32_t> slot(256 * EVENTKIND_NUM, -1);
        std::vector<size_t> touched;
        for (const OldEvent& o : old_events_) {
            if (!list.empty() && list.back().clock != o.e.clock) {
                for (size_t t : touched) slot[t] = -1;
                touched.clear();
            }
            const size_t key = static_cast<size_t>(o.e.unit) * EVENTKIND_NUM + o.e.kind;
            if (slot[key] >= 0) {
                list[static_cast<size_t>(slot[key])].value = o.e.value;
            } else {
                slot[key] = static_cast<int32_t>(list.size());
                touched.push_back(key);
                list.push_back(o.e);
            }
        }
        p_.events = std::move(list);
        old_events_.clear();
    }

    if (gen_ == Generation::X1x || gen_ == Generation::X2x || gen_ == Generation::X3x) {
        // Keys of these files are relative to each woice's legacy basic key.
        if (p_.unit_names.size() > p_.woices.size())
            return fail(Code::Invalid, 0, "unit count (more units than woices)");
        for (int u = 0; u < p_.unit_count(); ++u) {
            const int32_t d = p_.woices[static_cast<size_t>(u)].legacy_basic_key - 0x4500;
            bool has_key = false;
            for (const Event& e : p_.events)
                if (e.unit == u && e.kind == EVENTKIND_KEY) has_key = true;
            if (!has_key) p_.add_event(0, u, EVENTKIND_KEY, 0x6000);
            for (Event& e : p_.events)
                if (e.unit == u && e.kind == EVENTKIND_KEY)
                    e.value = static_cast<int32_t>(
                        std::clamp<int64_t>(static_cast<int64_t>(e.value) + d, 0, 0xBFFF));
        }
        for (int u = 0; u < p_.unit_count(); ++u) {
            const float t = p_.woices[static_cast<size_t>(u)].legacy_tuning;
            if (t != 0.0f) p_.add_event_f(0, u, EVENTKIND_TUNING, t);
        }
        for (size_t i = 0; i < p_.woices.size(); ++i) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "voice_%02d", static_cast<int>(i));
            p_.woices[i].name = buf;
        }
    }
    p_.update_measures();
    return true;
}

}  // namespace

LoadResult Project::load(std::span<const uint8_t> bytes) {
    LoadResult result;
    // Every size read from the file is checked against the data and the tone budget; this
    // is for the memory the machine still cannot give.
    try {
        auto project = std::make_unique<Project>();
        Reader reader(bytes, *project);
        if (!reader.run()) {
            result.error = reader.error;
            return result;
        }
        if (!project->prepare_tones(&result.error)) return result;
        result.project = std::move(project);
    } catch (const std::bad_alloc&) {
        result.project.reset();
        result.error = LoadError{LoadError::Code::Invalid, 0, "out of memory"};
    }
    return result;
}

}  // namespace pxtone
