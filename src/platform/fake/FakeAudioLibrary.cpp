#include "platform/fake/FakeAudioLibrary.h"

#include <cstdio>

namespace dz {

void FakeAudioLibrary::log(std::string entry) {
    std::lock_guard<std::mutex> g(mutex_);
    calls.push_back(std::move(entry));
}

const FakeTune* FakeAudioLibrary::current() const {
    auto it = tunes.find(loaded);
    return it == tunes.end() ? nullptr : &it->second;
}

bool FakeAudioLibrary::pxtone_Ready(const AudioFormat& f, PositionCallback cb) {
    format = f;
    callback = std::move(cb);
    log("Ready");
    return true;
}

bool FakeAudioLibrary::pxtone_Reset(const AudioFormat& f, PositionCallback cb) {
    format = f;
    callback = std::move(cb);
    streaming = false;
    next_tune.clear();
    log("Reset");
    return true;
}

bool FakeAudioLibrary::pxtone_Tune_Load(const std::string& path) {
    log("Load " + path);
    next_tune.clear();
    streaming = false;
    if (tunes.count(path) == 0) {
        loaded.clear();
        return false;
    }
    loaded = path;
    return true;
}

bool FakeAudioLibrary::pxtone_Tune_Start(int sample, int fade_in, float vol) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Start %d %d %.2f", sample, fade_in, vol);
    log(buf);
    if (loaded.empty()) return false;
    start_sample = sample;
    volume = vol;
    streaming = true;
    return true;
}

int FakeAudioLibrary::pxtone_Tune_Stop() {
    log("Stop");
    streaming = false;
    return stop_result;
}

bool FakeAudioLibrary::pxtone_Tune_IsStreaming() {
    return streaming;
}

bool FakeAudioLibrary::pxtone_Tune_SetVolume(float vol) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "SetVolume %.2f", vol);
    log(buf);
    volume = vol;
    return true;
}

bool FakeAudioLibrary::pxtone_Tune_SetLoop(bool on) {
    log(on ? "SetLoop 1" : "SetLoop 0");
    loop = on;
    return true;
}

bool FakeAudioLibrary::pxtone_Tune_GetInformation(TuneInformation& info) {
    log("GetInformation");
    const FakeTune* t = current();
    if (!t) return false;
    info = t->info;
    return true;
}

int FakeAudioLibrary::pxtone_Tune_GetPlayMeas() {
    const FakeTune* t = current();
    return t ? t->play_meas : 0;
}

int FakeAudioLibrary::pxtone_Tune_GetRepeatMeas() {
    const FakeTune* t = current();
    return t ? t->repeat_meas : 0;
}

std::string FakeAudioLibrary::pxtone_Tune_GetName() {
    const FakeTune* t = current();
    return t ? t->name : std::string();
}

std::string FakeAudioLibrary::pxtone_Tune_GetComment() {
    const FakeTune* t = current();
    return t ? t->comment : std::string();
}

std::optional<TuneDetails> FakeAudioLibrary::read_tune_details(const std::string& path) {
    ++detail_reads;
    auto it = tunes.find(path);
    if (it == tunes.end()) return std::nullopt;
    TuneDetails d;
    d.info = it->second.info;
    d.play_meas = it->second.play_meas;
    d.repeat_meas = it->second.repeat_meas;
    d.name = it->second.name;
    d.comment = it->second.comment;
    return d;
}

bool FakeAudioLibrary::pxtone_Tune_Release() {
    log("Tune_Release");
    loaded.clear();
    streaming = false;
    return true;
}

bool FakeAudioLibrary::pxtone_Release() {
    log("Release");
    return true;
}

}  // namespace dz
