#include "pxtone/Project.h"

#include <algorithm>
#include <system_error>

#include "base/RegularFile.h"
#include "pxtone/ByteReader.h"
#include "pxtone/Numeric.h"

namespace pxtone {

int event_priority(int kind) {
    // Order among events sharing a clock; lower is applied first.
    static constexpr uint8_t kPriority[EVENTKIND_NUM] = {
        0,    // null
        50,   // ON
        40,   // KEY
        60,   // PAN_VOLUME
        70,   // VELOCITY
        80,   // VOLUME
        30,   // PORTAMENT
        0,    // BEATCLOCK
        0,    // BEATTEMPO
        0,    // BEATNUM
        0,    // REPEAT
        255,  // LAST
        10,   // VOICENO
        20,   // GROUPNO
        90,   // TUNING
        100,  // PAN_TIME
    };
    return kind >= 0 && kind < EVENTKIND_NUM ? kPriority[kind] : 0;
}

namespace {
Voice single_voice(int32_t basic_key, uint32_t voice_flags, float tuning) {
    Voice v;
    v.basic_key = basic_key;
    v.voice_flags = voice_flags;
    v.tuning = tuning;
    return v;
}
}  // namespace

Woice Woice::make_pcm(PcmSource pcm, int32_t basic_key, uint32_t voice_flags, float tuning) {
    Woice w;
    w.kind = WoiceKind::Pcm;
    w.pcm = std::move(pcm);
    w.voices.push_back(single_voice(basic_key, voice_flags, tuning));
    return w;
}

Woice Woice::make_ptv(std::vector<Voice> voices) {
    Woice w;
    w.kind = WoiceKind::Ptv;
    w.voices = std::move(voices);
    return w;
}

Woice Woice::make_ptn(NoiseDesign design, int32_t basic_key, uint32_t voice_flags, float tuning) {
    Woice w;
    w.kind = WoiceKind::Ptn;
    w.noise = std::move(design);
    w.voices.push_back(single_voice(basic_key, voice_flags, tuning));
    return w;
}

Woice Woice::make_oggv(std::vector<uint8_t> ogg_stream, int32_t basic_key, uint32_t voice_flags,
                       float tuning) {
    Woice w;
    w.kind = WoiceKind::Oggv;
    w.ogg = std::move(ogg_stream);
    w.voices.push_back(single_voice(basic_key, voice_flags, tuning));
    return w;
}

void Project::set_unit_count(int count) {
    unit_names.resize(static_cast<size_t>(std::max(0, count)), "no name");
}

void Project::add_event(int32_t clock, int unit, int kind, int32_t value) {
    // After all events with a smaller clock; among those at `clock`, replace the same unit
    // and kind, else stop before the first higher priority.
    auto it = std::lower_bound(events.begin(), events.end(), clock,
                               [](const Event& e, int32_t c) { return e.clock < c; });
    const int prio = event_priority(kind);
    for (; it != events.end() && it->clock == clock; ++it) {
        if (it->unit == unit && it->kind == kind) {
            it->value = value;
            return;
        }
        if (event_priority(it->kind) > prio) break;
    }
    Event e;
    e.clock = clock;
    e.unit = static_cast<uint8_t>(unit);
    e.kind = static_cast<uint8_t>(kind);
    e.value = value;
    events.insert(it, e);
}

void Project::add_event_f(int32_t clock, int unit, int kind, float value) {
    add_event(clock, unit, kind, float_to_bits(value));
}

void Project::update_measures() {
    const int64_t clocks_per_meas =
        static_cast<int64_t>(master.beats) * static_cast<int64_t>(master.beat_clock);
    int64_t end_clock = static_cast<int64_t>(master.last_meas) * clocks_per_meas;
    for (const Event& e : events) {
        int64_t c = e.clock;
        if (e.kind == EVENTKIND_ON || e.kind == EVENTKIND_PORTAMENT) c += e.value;
        end_clock = std::max(end_clock, c);
    }
    int64_t meas = 1;
    if (master.beat_clock > 0 && master.beats > 0) {
        const int64_t beats = (end_clock + master.beat_clock - 1) / master.beat_clock;
        meas = (beats + master.beats - 1) / master.beats;
    }
    meas = std::clamp<int64_t>(meas, 1, INT32_MAX);
    master.meas_num = static_cast<int32_t>(meas);
    if (master.repeat_meas < 0) master.repeat_meas = 0;
    if (master.last_meas < 0) master.last_meas = 0;
    if (master.repeat_meas >= master.meas_num) master.repeat_meas = 0;
    if (master.last_meas > master.meas_num) master.last_meas = master.meas_num;
    // A repeat at or after the end would jump past the end forever.
    if (master.repeat_meas >= play_meas()) master.repeat_meas = 0;
}

int32_t Project::play_meas() const {
    return master.last_meas ? master.last_meas : master.meas_num;
}

float Project::samples_per_clock(int rate) const {
    return static_cast<float>(60.0 * static_cast<double>(rate) /
                              (static_cast<double>(master.tempo) * master.beat_clock));
}

int64_t Project::end_sample(int rate) const {
    const double clocks = static_cast<double>(play_meas()) * master.beats * master.beat_clock;
    return sat_i64(clocks * static_cast<double>(samples_per_clock(rate)));
}

int64_t Project::repeat_sample(int rate) const {
    const double clocks =
        static_cast<double>(master.repeat_meas) * master.beats * master.beat_clock;
    return sat_i64(clocks * static_cast<double>(samples_per_clock(rate)));
}

int64_t Project::total_samples(int rate) const {
    return sat_i64(static_cast<double>(rate) * 60 * master.meas_num * master.beats /
                   static_cast<double>(master.tempo));
}

TuneInfo Project::info() const {
    TuneInfo t;
    t.name = name;
    t.comment = comment;
    t.beats = master.beats;
    t.tempo = master.tempo;
    t.beat_clock = master.beat_clock;
    t.measures = master.meas_num;
    t.repeat_meas = master.repeat_meas;
    t.play_meas = play_meas();
    t.length_seconds = static_cast<double>(t.play_meas) * master.beats * 60.0 / master.tempo;
    return t;
}

LoadResult Project::load_file(const std::string& path) {
    LoadResult r;
    auto fail = [&](const char* message) {
        r.error.code = LoadError::Code::Io;
        r.error.message = message;
        return std::move(r);
    };
    // Directories, devices and pipes are refused before they can block.
    std::string data;
    dz::ReadFileStatus status =
        dz::read_regular_file(path, static_cast<std::size_t>(kMaxFileBytes), data);
    if (status == dz::ReadFileStatus::Missing || status == dz::ReadFileStatus::Failed)
        return fail("cannot open file");
    if (status != dz::ReadFileStatus::Ok) return fail(dz::describe(status));
    std::vector<uint8_t> bytes(data.begin(), data.end());
    return load(bytes);
}

}  // namespace pxtone
