// Frame composition on the full window (player 275 x 116 over an editor of the
// same size): black fill, draw broadcast, key-colour protection, copy to the
// front buffer under the lock.
#include <benchmark/benchmark.h>

#include <cstring>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "edx/EdxRender.h"
#include "edx/EdxShape.h"
#include "edx/EdxWorld.h"
#include "platform/fake/FakeTextRenderer.h"
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

// The whole window as the program builds it: the ten top-level bodies (player over a
// four-row editor; its shaded bars and strips hidden), drawn with the primitives from
// skin-sized images, text in the editor's rows, and the player's outline cut by a
// polygon set.
dz::EdxImage g_skin;    // MAIN-sized: the player's background and its pieces
dz::EdxImage g_pledit;  // PLEDIT-sized: the editor's frame pieces
dz::FakeTextRenderer g_text;

int PlayerBody(dz::EdxBody* body, int code, dz::TAG_USERDATA*) {
    if (code == dz::EDX_DRAW) dz::DrawImage(body, &g_skin);
    return 0;
}
int PieceBody(dz::EdxBody* body, int code, dz::TAG_USERDATA*) {
    if (code == dz::EDX_DRAW) {
        dz::DrawPart(body, 0, 0, &g_skin, body->tag % 200, 20, body->rect.width(),
                     body->rect.height());
    }
    return 0;
}
int EditorBody(dz::EdxBody* body, int code, dz::TAG_USERDATA*) {
    if (code != dz::EDX_DRAW) return 0;
    const int w = body->rect.width(), h = body->rect.height();
    dz::DrawPart(body, 0, 0, &g_pledit, 0, 0, 25, 20);
    dz::DrawStretch(body, 25, (w - 100) / 2, 20, &g_pledit, 127, 0, 20);
    dz::DrawPart(body, (w - 100) / 2, 0, &g_pledit, 26, 0, 100, 20);
    dz::DrawStretch(body, 100 - (w - 100) / -2, w - 25, 20, &g_pledit, 127, 0, 20);
    dz::DrawPart(body, w - 25, 0, &g_pledit, 153, 0, 25, 20);
    dz::DrawRect(body, 11, w - 19, h - 38, 0xFFFFFF, 1);
    dz::DrawStretch(body, 0, 25, h - 38, &g_pledit, 0, 42, 29);
    dz::DrawStretch(body, w - 25, w, h - 38, &g_pledit, 26, 42, 29);
    dz::DrawPart(body, 0, h - 38, &g_pledit, 0, 72, 125, 38);
    dz::DrawPart(body, w - 150, h - 38, &g_pledit, 126, 72, 150, 38);
    return 0;
}
int RowBody(dz::EdxBody* body, int code, dz::TAG_USERDATA*) {
    if (code != dz::EDX_DRAW) return 0;
    dz::DrawRect(body, 0, body->rect.width(), body->rect.height(), 0x800000, 1);
    dz::DrawBodyTextF(body, 2, 1, 0x00FF00, "%d. %s", body->tag + 1, "A tune of some length");
    dz::DrawBodyTextF(body, body->rect.width() - 30, 1, 0x00FF00, "%d:%02d", 3, 25);
    return 0;
}

void FillNoise(dz::EdxImage& image, int w, int h) {
    image.fill_blank(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            p[0] = std::uint8_t(x * 7 + y);
            p[1] = std::uint8_t((x & 7) ? y * 3 : 0);
            p[2] = std::uint8_t((x & 7) ? 0x80 : 0);
        }
    }
}

struct WholeWindow {
    dz::FakeWindowHost host{kWidth, kHeight};
    dz::EdxWorld world{&host};
    dz::EdxPolygons outline;
    WholeWindow() {
        FillNoise(g_skin, 275, 116);
        FillNoise(g_pledit, 280, 186);
        world.rect = dz::Rect{0, 0, kWidth, kHeight};
        world.font.renderer = &g_text;
        dz::RecreateBuffers(&world);
        auto top = [this](dz::EdxHandler h, dz::Rect r, int visible) {
            return dz::CreateBody(&world, {h, r, visible, 0});
        };
        dz::EdxBody* player = top(PlayerBody, {0, 0, 275, 116}, 1);
        // Title bar, buttons, sliders, digits and displays: 20 pieces.
        for (int i = 0; i < 20; ++i) {
            int x = 8 + (i % 10) * 26, y = 14 + (i / 10) * 60;
            dz::CreateBody(player, {PieceBody, {x, y, x + 23, y + 18}, 1, i * 23});
        }
        top(PieceBody, {0, 0, 275, 14}, 0);  // shaded player
        dz::EdxBody* editor = top(EditorBody, {0, 116, 275, 232}, 1);
        dz::EdxBody* list = dz::CreateBody(editor, {nullptr, {12, 20, 256, 76}, 1, 0});
        for (int row = 0; row < 4; ++row) {
            dz::CreateBody(list, {RowBody, {0, 14 * row, 244, 14 * row + 14}, 1, row});
        }
        top(EditorBody, {0, 116, 275, 130}, 0);  // shaded editor
        top(PieceBody, {0, 0, 275, 232}, 0);     // strip cover
        for (int i = 0; i < 5; ++i) top(PieceBody, {14 + 29 * i, 166, 36 + 29 * i, 220}, 0);
        outline.polygons.resize(2);
        // Rounded corners: a title bar and a body, each inset at its ends.
        outline.polygons[0].points = {{2, 0}, {272, 0}, {272, 14}, {2, 14}};
        outline.polygons[1].points = {{0, 2}, {274, 2}, {274, 113}, {272, 115}, {2, 115}, {0, 113}};
    }
};

void BM_ComposeWholeWindow(benchmark::State& state) {
    WholeWindow f;
    const dz::Rect player{0, 0, 275, 116};
    auto cut = [&](dz::EdxWorld* w) {
        w->shape_mask.cut(w->back_buffer, w->clip, player, f.outline, 0x000000);
    };
    for (auto _ : state) {
        dz::ComposeFrame(&f.world, 0x000000, 0x000100, cut);
        benchmark::DoNotOptimize(f.world.front_buffer.pixels());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeWholeWindow);

// The player's outline worked out from its polygons (a skin change), and cut again with
// the runs kept (every other frame).
void BM_CutShapeNewPolygons(benchmark::State& state) {
    WholeWindow f;
    for (auto _ : state) {
        dz::CutShape(f.world.back_buffer, f.world.rect, dz::Rect{0, 0, 275, 116}, f.outline, 0);
        benchmark::DoNotOptimize(f.world.back_buffer.pixels());
    }
}
BENCHMARK(BM_CutShapeNewPolygons);

void BM_CutShapeKept(benchmark::State& state) {
    WholeWindow f;
    dz::EdxShapeMask mask;
    for (auto _ : state) {
        mask.cut(f.world.back_buffer, f.world.rect, dz::Rect{0, 0, 275, 116}, f.outline, 0);
        benchmark::DoNotOptimize(f.world.back_buffer.pixels());
    }
}
BENCHMARK(BM_CutShapeKept);

}  // namespace
