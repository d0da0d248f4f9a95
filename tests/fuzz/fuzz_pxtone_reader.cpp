// Fuzzes the pxtone reader; whatever loads is also rendered briefly (looping, from the start
// and from the middle, stereo 16-bit and mono 8-bit).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pxtone/Project.h"
#include "pxtone/Renderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pxtone::LoadResult r = pxtone::Project::load(std::span<const uint8_t>(data, size));
    if (!r) return 0;
    static std::vector<uint8_t> buffer(2048 * 4);
    const pxtone::OutputFormat formats[] = {{44100, 2, 16}, {11025, 1, 8}};
    for (const pxtone::OutputFormat& f : formats) {
        pxtone::Renderer renderer(*r.project);
        if (!renderer.prepare(f)) continue;
        renderer.set_loop(true);
        renderer.start(0);
        for (int i = 0; i < 4; ++i) renderer.render(buffer.data(), 2048);
        renderer.start(renderer.end_sample() / 2);
        renderer.render(buffer.data(), 2048);
        (void)renderer.clock();
    }
    return 0;
}
