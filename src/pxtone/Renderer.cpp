#include "pxtone/Renderer.h"

#include <cstring>

namespace pxtone {

struct Renderer::Tone {};
struct Renderer::VoiceState {};
struct Renderer::UnitState {};
struct Renderer::DelayState {};

Renderer::Renderer(const Project& project) : project_(project) {}
Renderer::~Renderer() = default;
bool Renderer::prepare(const OutputFormat& format) {
    format_ = format;
    return false;
}
void Renderer::start(int64_t, int) {}
int Renderer::render(void* buffer, int frames) {
    std::memset(buffer, 0, static_cast<size_t>(frames) * format_.channels * (format_.bits / 8));
    return 0;
}
void Renderer::set_master_volume(float volume) {
    master_volume_ = volume;
}
void Renderer::fade_out(int) {}
int32_t Renderer::clock() const {
    return 0;
}

}  // namespace pxtone
