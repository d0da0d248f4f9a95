#include "player/PxtoneLibrary.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>

#include "audio/SdlAudioDevice.h"
#include "platform/PreferenceChoices.h"
#include "pxtone/Project.h"
#include "pxtone/Renderer.h"

namespace dz {
namespace {

// The shortest device buffer: shorter pulls come too often for the renderer and the
// sound server to keep up, and the sound breaks.
constexpr float kMinBufferSeconds = 0.01f;

// Settings files can hold anything; values the engine cannot render fall back to the
// defaults (a 96000 Hz request plays at 44100 Hz rather than not at all). A buffer that is
// no length (0, a text that was no number) is the default length; a very short one is
// lengthened to the minimum.
AudioFormat supported(AudioFormat f) {
    const AudioFormat defaults;
    if (f.channels != 1 && f.channels != 2) f.channels = defaults.channels;
    if (f.bits != 8 && f.bits != 16) f.bits = defaults.bits;
    if (f.sample_rate < 8000 || f.sample_rate > pxtone::Renderer::kMaxRate)
        f.sample_rate = defaults.sample_rate;
    if (!std::isfinite(f.buffer_seconds) || f.buffer_seconds <= 0) {
        f.buffer_seconds = defaults.buffer_seconds;
    } else if (f.buffer_seconds < kMinBufferSeconds) {
        f.buffer_seconds = kMinBufferSeconds;
    }
    return f;
}

pxtone::OutputFormat engine_format(const AudioFormat& f) {
    return pxtone::OutputFormat{f.sample_rate, f.channels, f.bits};
}

void silence(std::uint8_t* buffer, int frames, const pxtone::OutputFormat& f) {
    std::memset(buffer, f.bits == 8 ? 0x80 : 0,
                static_cast<std::size_t>(frames) * f.channels * (f.bits / 8));
}

// Clocks of one pass of the loop part, [repeat measure, play measures).
std::int32_t loop_clocks_of(const pxtone::Project& p) {
    const std::int64_t measures =
        std::max<std::int64_t>(0, std::int64_t{p.play_meas()} - p.master.repeat_meas);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(INT_MAX, measures * p.master.beats * p.master.beat_clock));
}

}  // namespace

PxtoneLibrary::PxtoneLibrary(DeviceFactory factory, DeviceLister lister)
    : lister_(lister ? std::move(lister) : DeviceLister(&SdlAudioDevice::output_names)),
      output_(factory ? std::move(factory)
                      : DeviceFactory([] { return std::make_unique<SdlAudioDevice>(); })),
      preparer_([this](std::uint64_t ticket, TunePreparer::Prepared prepared) {
          take_prepared(ticket, std::move(prepared));
      }) {}

PxtoneLibrary::~PxtoneLibrary() {
    pxtone_Release();
}

bool PxtoneLibrary::pxtone_Ready(const AudioFormat& format, PositionCallback callback) {
    return open_output(format, std::move(callback));
}

bool PxtoneLibrary::pxtone_Reset(const AudioFormat& format, PositionCallback callback) {
    return open_output(format, std::move(callback));
}

bool PxtoneLibrary::open_output(const AudioFormat& requested, PositionCallback callback) {
    stop_stream();
    // A next tune was prepared for the old format.
    set_next_tune({});
    format_ = supported(requested);
    callback_ = std::move(callback);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fill_format_ = engine_format(format_);
    }

    DeviceFormat device_format;
    device_format.channels = format_.channels;
    device_format.sample_rate = format_.sample_rate;
    device_format.bits = format_.bits;
    device_format.buffer_seconds = format_.buffer_seconds;
    device_format.default_driver = format_.direct_sound;
    device_format.device = format_.device;
    // The running device stopped above; it is closed, and the new one opened, on the
    // keeper's opening thread, so calls in a row never wait for one another.
    output_.open(device_format,
                 [this](std::uint8_t* buffer, int frames) { this->fill(buffer, frames); });

    // A loaded tune is prepared again for the new format. Preparing allocates (envelope
    // tables, delay lines), so it runs before the lock, which then only swaps the renderer;
    // the old one is destroyed after the lock. project_, loop_ and volume_ change only on
    // this thread, so reading them here without the lock is safe.
    std::unique_ptr<pxtone::Renderer> renderer;
    if (project_) {
        renderer = std::make_unique<pxtone::Renderer>(*project_);
        if (renderer->prepare(engine_format(format_))) {
            renderer->set_loop(loop_);
            renderer->set_master_volume(volume_);
        } else {
            renderer.reset();
        }
    }
    std::unique_ptr<pxtone::Renderer> old_renderer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (project_) old_renderer = std::exchange(renderer_, std::move(renderer));
    }
    return true;
}

void PxtoneLibrary::stop_stream() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        streaming_ = false;
        ending_ = false;
    }
    output_.stop();
}

// Loading only reads the tune; the renderer's per-rate tables are built when it
// first plays (ensure_prepared), so adding many tunes for their information stays cheap.
bool PxtoneLibrary::pxtone_Tune_Load(const std::string& path) {
    stop_stream();
    set_next_tune({});
    load_error_.clear();
    pxtone::LoadResult result = pxtone::Project::load_file(path);
    if (!result)
        load_error_ = result.error.message.empty() ? "cannot be loaded" : result.error.message;
    // The old tune goes whether or not the new one loaded: after a failed
    // load no tune is loaded. It is destroyed outside the lock.
    std::unique_ptr<pxtone::Project> old_project;
    std::unique_ptr<pxtone::Renderer> old_renderer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        old_renderer = std::move(renderer_);
        old_project = std::move(project_);
        if (result) project_ = std::move(result.project);
        loop_clocks_ = project_ ? loop_clocks_of(*project_) : 0;
        play_position_ = 0;
    }
    return load_error_.empty();
}

bool PxtoneLibrary::ensure_prepared() {
    std::unique_ptr<pxtone::Renderer> renderer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!project_) return false;
        if (renderer_) return true;
    }
    // project_ changes only on this thread, so it is read here without the lock while
    // the tables are built; the lock then only swaps the renderer in.
    renderer = std::make_unique<pxtone::Renderer>(*project_);
    if (!renderer->prepare(engine_format(format_))) {
        load_error_ = "cannot be played in this output format";
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    renderer->set_loop(loop_);
    renderer->set_master_volume(volume_);
    renderer_ = std::move(renderer);
    return true;
}

bool PxtoneLibrary::pxtone_Tune_Start(int start_sample, int fade_in, float volume) {
    if (!output_.has_output()) {
        open_output(format_, callback_);
        if (!output_.has_output()) return false;
    }
    if (!ensure_prepared()) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!renderer_) return false;
        if (std::isfinite(volume)) volume_ = std::clamp(volume, 0.0f, 1.0f);
        renderer_->set_master_volume(volume_);
        make_plan();
        if (loop_) {
            renderer_->set_loop(true);
            renderer_->start(std::max(0, start_sample), std::max(0, fade_in));
            play_position_ = renderer_->sample();
        } else {
            // Positions count the whole play; one outside it starts at 0.
            std::int64_t at = start_sample;
            if (at < 0 || at >= plan_.end_position()) at = 0;
            play_position_ = at;
            renderer_->set_loop(at < plan_.looping);
            renderer_->start(plan_.sample_at(at), std::max(0, fade_in));
        }
        streaming_ = !renderer_->ended();
        ending_ = false;
    }
    // A lost output holds the stream until it is back.
    if (output_.start()) return true;
    // A device that does not run plays nothing: say so, so the player moves on.
    std::lock_guard<std::mutex> lock(mutex_);
    streaming_ = false;
    return false;
}

int PxtoneLibrary::pxtone_Tune_Stop() {
    // The device stops first (without the lock its fill takes), so every frame the
    // renderer produced went to the device and no silent buffer follows: the sample
    // counter is exactly where a restart continues.
    output_.stop();
    std::int64_t sample = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        streaming_ = false;
        ending_ = false;
        if (renderer_) sample = loop_ ? renderer_->sample() : play_position_;
    }
    return static_cast<int>(std::clamp<std::int64_t>(sample, 0, INT_MAX));
}

bool PxtoneLibrary::pxtone_Tune_IsStreaming() {
    return streaming_.load();
}

bool PxtoneLibrary::pxtone_Tune_SetVolume(float volume) {
    if (!std::isfinite(volume)) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    if (renderer_) renderer_->set_master_volume(volume_);
    return true;
}

// Turned off, the play goes on from the renderer's sample as from its first pass; turned on,
// positions are the renderer's own again.
bool PxtoneLibrary::pxtone_Tune_SetLoop(bool loop) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (loop_ && !loop && renderer_) play_position_ = renderer_->sample();
    loop_ = loop;
    if (renderer_ && loop) renderer_->set_loop(true);
    return true;
}

void PxtoneLibrary::set_play_plan(int loops, int fade_seconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    plan_loops_ = std::clamp(loops, kMinLoops, kMaxLoops);
    plan_fade_seconds_ = std::clamp(fade_seconds, kMinFadeSeconds, kMaxFadeSeconds);
    if (renderer_) make_plan();
}

void PxtoneLibrary::make_plan() {
    plan_ = pxtone::PlayPlan::make(renderer_->end_sample(), renderer_->repeat_sample(), plan_loops_,
                                   plan_fade_seconds_, renderer_->format().rate);
}

void PxtoneLibrary::set_next_tune(const std::string& path) {
    free_parked();
    std::string wanted = path;  // allocated before the lock
    std::uint64_t ticket = 0;
    std::unique_ptr<pxtone::Project> old_project;
    std::unique_ptr<pxtone::Renderer> old_renderer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (next_path_ == path) return;
        old_renderer = std::move(next_renderer_);
        old_project = std::move(next_project_);
        next_path_.swap(wanted);
        ticket = path.empty() ? 0 : ++tickets_;
        next_ticket_ = ticket;
    }
    if (ticket != 0)
        preparer_.request(ticket, path, engine_format(format_));
    else
        preparer_.cancel();
}

void PxtoneLibrary::take_prepared(std::uint64_t ticket, TunePreparer::Prepared prepared) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ticket == 0 || ticket != next_ticket_ || next_renderer_ || !prepared.renderer) return;
    next_project_ = std::move(prepared.project);
    next_renderer_ = std::move(prepared.renderer);
    // A tune that was not kept is destroyed with `prepared`, after the lock.
}

bool PxtoneLibrary::next_ready() {
    std::lock_guard<std::mutex> lock(mutex_);
    return next_renderer_ != nullptr;
}

void PxtoneLibrary::free_parked() {
    std::unique_ptr<pxtone::Project> old_project;
    std::unique_ptr<pxtone::Renderer> old_renderer;
    std::lock_guard<std::mutex> lock(mutex_);
    old_renderer = std::move(parked_renderer_);
    old_project = std::move(parked_project_);
}

bool PxtoneLibrary::pxtone_Tune_GetInformation(TuneInformation& info) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!project_) return false;
    const pxtone::TuneInfo t = project_->info();
    info.beats_per_measure = t.beats;
    info.tempo = t.tempo;
    info.clocks_per_beat = t.beat_clock;
    info.measure_count = t.play_meas;
    return true;
}

int PxtoneLibrary::pxtone_Tune_GetPlayMeas() {
    std::lock_guard<std::mutex> lock(mutex_);
    return project_ ? project_->info().play_meas : 0;
}

int PxtoneLibrary::pxtone_Tune_GetRepeatMeas() {
    std::lock_guard<std::mutex> lock(mutex_);
    return project_ ? project_->info().repeat_meas : 0;
}

std::string PxtoneLibrary::pxtone_Tune_GetName() {
    std::lock_guard<std::mutex> lock(mutex_);
    return project_ ? project_->name : std::string();
}

std::string PxtoneLibrary::pxtone_Tune_GetComment() {
    std::lock_guard<std::mutex> lock(mutex_);
    return project_ ? project_->comment : std::string();
}

std::optional<TuneDetails> PxtoneLibrary::read_tune_details(const std::string& path) {
    pxtone::LoadResult result = pxtone::Project::load_file(path);
    if (!result) return std::nullopt;
    const pxtone::TuneInfo t = result.project->info();
    TuneDetails d;
    d.info.beats_per_measure = t.beats;
    d.info.tempo = t.tempo;
    d.info.clocks_per_beat = t.beat_clock;
    d.info.measure_count = t.play_meas;
    d.play_meas = t.play_meas;
    d.repeat_meas = t.repeat_meas;
    d.name = result.project->name;
    d.comment = result.project->comment;
    return d;
}

bool PxtoneLibrary::pxtone_Tune_Release() {
    stop_stream();
    set_next_tune({});
    std::unique_ptr<pxtone::Project> old_project;
    std::unique_ptr<pxtone::Renderer> old_renderer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        old_renderer = std::move(renderer_);
        old_project = std::move(project_);
    }
    return true;
}

bool PxtoneLibrary::pxtone_Release() {
    stop_stream();
    output_.close();
    pxtone_Tune_Release();
    return true;
}

OutputStatus PxtoneLibrary::poll_output() {
    free_parked();
    output_.poll();
    switch (output_.state()) {
        case DeviceKeeper::State::stand_in:
            return OutputStatus::stand_in;
        case DeviceKeeper::State::lost:
            return OutputStatus::lost;
        default:
            return OutputStatus::ok;
    }
}

std::vector<std::string> PxtoneLibrary::output_devices() {
    return lister_();
}

std::string PxtoneLibrary::device_name() {
    return output_.name();
}

std::int64_t PxtoneLibrary::end_sample() {
    ensure_prepared();
    std::lock_guard<std::mutex> lock(mutex_);
    return renderer_ ? renderer_->end_sample() : 0;
}

// Device thread. A tune that ended inside a buffer keeps streaming for one
// more pull, the time the device takes to play that last buffer, so
// "streaming" turns false when the sound has really finished. A next tune that is ready
// takes over at the frame after the current one's last instead.
void PxtoneLibrary::fill(std::uint8_t* buffer, int frames) {
    std::int32_t clock = 0;
    bool report = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (streaming_ && ending_) {
            streaming_ = false;
            ending_ = false;
        }
        if (streaming_ && renderer_) {
            const int frame_bytes = fill_format_.channels * (fill_format_.bits / 8);
            int produced = render_play(buffer, frames);
            while (produced < frames && !loop_ && next_renderer_ && !parked_renderer_) {
                hand_over();
                produced +=
                    render_play(buffer + static_cast<std::ptrdiff_t>(produced) * frame_bytes,
                                frames - produced);
            }
            if (produced < frames) {
                silence(buffer + static_cast<std::ptrdiff_t>(produced) * frame_bytes,
                        frames - produced, fill_format_);
                ending_ = true;
            } else if (renderer_->ended()) {
                ending_ = true;
            }
            clock = renderer_->clock();
            if (!loop_) {
                const std::int64_t c =
                    clock + plan_.jumps(play_position_, renderer_->sample()) * loop_clocks_;
                clock = static_cast<std::int32_t>(std::min<std::int64_t>(c, INT_MAX));
            }
            report = true;
        } else {
            silence(buffer, frames, fill_format_);
        }
    }
    if (report && callback_) callback_(clock);
}

// The last pass runs to the renderer's own end, which is the plan's total.
int PxtoneLibrary::render_play(std::uint8_t* out, int frames) {
    if (loop_) return renderer_->render(out, frames);
    const int frame_bytes = fill_format_.channels * (fill_format_.bits / 8);
    int produced = 0;
    // A play shortened under way (fewer loops) ends where it stands.
    while (produced < frames && !renderer_->ended() && play_position_ < plan_.end_position()) {
        const bool looping = play_position_ < plan_.looping;
        renderer_->set_loop(looping);
        int want = frames - produced;
        if (looping)
            want = static_cast<int>(std::min<std::int64_t>(want, plan_.looping - play_position_));
        std::uint8_t* at = out + static_cast<std::ptrdiff_t>(produced) * frame_bytes;
        const int got = renderer_->render(at, want);
        pxtone::apply_fade(at, got, fill_format_.channels, fill_format_.bits, play_position_,
                           plan_.total, plan_.fade);
        play_position_ += got;
        produced += got;
        if (renderer_->ended()) play_position_ = plan_.end_position();
        if (got < want) break;
    }
    return produced;
}

void PxtoneLibrary::hand_over() {
    parked_renderer_ = std::move(renderer_);
    parked_project_ = std::move(project_);
    project_ = std::move(next_project_);
    renderer_ = std::move(next_renderer_);
    next_path_.clear();
    next_ticket_ = 0;
    loop_clocks_ = loop_clocks_of(*project_);
    renderer_->set_master_volume(volume_);
    make_plan();
    play_position_ = 0;
    renderer_->set_loop(plan_.looping > 0);
    renderer_->start(0, 0);
    handovers_.fetch_add(1);
}

}  // namespace dz
