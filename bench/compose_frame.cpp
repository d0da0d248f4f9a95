// Frame composition on the full window (player 275 x 116 over an editor of the
// same size): black fill, draw broadcast, key-colour protection, copy to the
// front buffer under the lock.
#include <benchmark/benchmark.h>

#include <cstring>

#include "edx/EdxCodes.h"
#include "edx/EdxRender.h"
#include "edx/EdxWorld.h"
#include "platform/fake/FakeWindowHost.h"

namespace {

constexpr int kWidth = 275;
constexpr int kHeight = 232;

// Fills its rectangle row by row like a skin blit: a pattern in which every
// eighth pixel is pure black, so the protection has work to do.
int Blitter(dz::EdxBody* body, int code, dz::TAG_USERDATA*) {
    if (code != dz::EDX_DRAW) return 0;
    dz::EdxWorld* w = body->world;
    dz::Rect r = dz::intersect(dz::AbsoluteRect(body), w->clip);
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* p = w->back_buffer.row(y) + 3 * r.left;
        for (int x = r.left; x < r.right; ++x, p += 3) {
            bool black = (x & 7) == 0;
            p[0] = black ? 0 : std::uint8_t(x);
            p[1] = black ? 0 : std::uint8_t(y);
            p[2] = black ? 0 : 0x80;
        }
    }
    return 0;
}

struct Frame {
    dz::FakeWindowHost host{kWidth, kHeight};
    dz::EdxWorld world{&host};
    Frame() {
        world.rect = dz::Rect{0, 0, kWidth, kHeight};
        dz::RecreateBuffers(&world);
        dz::EdxBody* player = dz::CreateBody(&world, {Blitter, {0, 0, 275, 116}, 1, 0});
        dz::CreateBody(player, {Blitter, {16, 88, 130, 106}, 1, 0});  // a button strip
        dz::EdxBody* pledit = dz::CreateBody(&world, {Blitter, {0, 116, 275, 232}, 1, 0});
        for (int row = 0; row < 4; ++row) {
            dz::CreateBody(pledit, {Blitter, {12, 20 + 14 * row, 255, 34 + 14 * row}, 1, row});
        }
    }
};

void BM_ComposeFrame(benchmark::State& state) {
    Frame f;
    for (auto _ : state) {
        dz::ComposeFrame(&f.world, 0x000000, 0x000100);
        benchmark::DoNotOptimize(f.world.front_buffer.pixels());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_ComposeFrame);

void BM_ProtectKeyColour(benchmark::State& state) {
    dz::EdxImage image;
    image.fill_blank(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < kWidth; ++x, p += 3) p[2] = (x & 7) ? 0x80 : 0;
    }
    std::vector<std::uint8_t> pristine(image.pixels(),
                                       image.pixels() + std::size_t(image.stride()) * kHeight);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(image.pixels(), pristine.data(), pristine.size());
        state.ResumeTiming();
        dz::ProtectKeyColour(image, 0x000000, 0x000100);
        benchmark::DoNotOptimize(image.pixels());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_ProtectKeyColour);

}  // namespace
