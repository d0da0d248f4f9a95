// The measure-phased wave of the visualisation areas (76 x 16 in the player, 38 x 5
// in the shaded bar): one period per measure, one column per hundredth of a measure,
// in the VISCOLOR colours, drawn only while a tune plays.
#include <cmath>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/player/PlayerHandlers.h"

namespace dz {

int VisualisationHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    const tagPLAYER& p = d->player;
    if (!p.is_playing) return 0;
    const int w = b->rect.width(), h = b->rect.height();
    DrawRect(b, 0, w, h, SkinColour(d, "VISCOLOR.Background", 0), 1);
    const tagTUNEINFO& tune = p.current_tune;
    // A tune without beats or clocks has no measure to follow: the background only.
    if (tune.beats_per_measure <= 0 || tune.clocks_per_beat <= 0) return 0;
    const double base = static_cast<double>(p.position_clock.load()) / tune.beats_per_measure /
                        tune.clocks_per_beat * 100.0;
    const ColorRef bands[5] = {
        SkinColour(d, "VISCOLOR.Oscilloscope5", 0), SkinColour(d, "VISCOLOR.Oscilloscope4", 0),
        SkinColour(d, "VISCOLOR.Oscilloscope3", 0), SkinColour(d, "VISCOLOR.Oscilloscope2", 0),
        SkinColour(d, "VISCOLOR.Oscilloscope1", 0)};
    const int t = w / 5;
    double f0 = 0;
    for (int i = 0; i < w; ++i) {
        const double l = std::floor(i + base);
        if (tune.play_measures < l / 100) break;
        const double f = l / 100 - std::floor(l / 100);
        if (i == 0) f0 = f;
        const int y =
            static_cast<int>(h * 0.5) - static_cast<int>(std::sin(f * 6.2831855) * h * 0.5);
        const int band = t > 0 ? std::min(i / t, 4) : 4;
        DrawPixel(b, i, y, bands[band]);
    }
    const int mid = static_cast<int>(h * 0.5);
    DrawLine(b, mid, w, mid, SkinColour(d, "VISCOLOR.BGDots", 0));
    DrawPixel(b, static_cast<int>(w * f0), mid, SkinColour(d, "VISCOLOR.Peaks", 0));
    return 0;
}

}  // namespace dz
