// The editor's text: the play time and the playlist totals in the bottom bar (TEXT
// glyphs), the entry line shared by the rows and the shaded bar's title (world font).
#include <cstdio>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "platform/WindowEvents.h"
#include "state/TagUserData.h"
#include "ui/BitmapText.h"
#include "ui/UiCommon.h"
#include "ui/pledit/PleditHandlers.h"

namespace dz {

namespace {

// Whole seconds of the play position, counted back from the end with time_reverse. A
// seek drag in progress does not change it.
int ShownSeconds(TAG_USERDATA* d) {
    float t = d->player.position_seconds.load();
    if (d->time_reverse == 1) t = d->player.current_length_seconds() - t;
    return static_cast<int>(t);
}

// "0:00" for exactly 0; else h:mm:ss from an hour on, m:ss below.
struct Total {
    char text[32];
    explicit Total(float seconds) {
        const int s = static_cast<int>(seconds);
        if (seconds == 0.0f)
            std::snprintf(text, sizeof text, "%d:%02d", 0, 0);
        else if (s / 3600 > 0)
            std::snprintf(text, sizeof text, "%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
        else
            std::snprintf(text, sizeof text, "%d:%02d", s / 60 % 60, s % 60);
    }
};

}  // namespace

void DrawEntryText(EdxBody* b, int number, const std::string& title, float length_seconds,
                   ColorRef text_colour, ColorRef background) {
    const int text_h = MeasureTextHeight(b, "%2d. %s", number, title.c_str());
    if (text_h == 0 || title.empty()) return;
    const int w = b->rect.width();
    const int y = static_cast<int>((b->rect.height() - text_h) * 0.5);
    DrawBodyTextF(b, 1, y, text_colour, "%2d. %s", number, title.c_str());
    const int s = static_cast<int>(length_seconds);
    const int tw = MeasureTextWidth(b, "%2d:%02d", s / 60 % 60, s % 60);
    // The length covers the end of a title too long for the row.
    DrawRect(b, w - tw - 4, w, b->rect.height(), background, 1);
    DrawBodyTextF(b, w - tw - 4, y, text_colour, "%2d:%02d", s / 60 % 60, s % 60);
}

int PleditTotalsHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    DrawBitmapText(b, d, 0, 0, 0, "%s/%s", Total(d->player.selected_seconds).text,
                   Total(d->player.total_seconds).text);
    return 0;
}

int PleditTimeMinutesHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return CommonEvents(b, code, d);
    if (d->player.is_playing) DrawBitmapText(b, d, 0, 0, 0, "%02d", ShownSeconds(d) / 60 % 60);
    return 0;
}

int PleditTimeSecondsHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return CommonEvents(b, code, d);
    if (d->player.is_playing) DrawBitmapText(b, d, 0, 0, 0, "%02d", ShownSeconds(d) % 60);
    return 0;
}

int PleditShadeTitleHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return ShadingBarEvents(b, code, d, TogglePleditShade);
    const ColorRef bg = SkinColour(d, "TEXT.NormalBG", 0x000000);
    DrawRect(b, 0, b->rect.width(), b->rect.height(), bg, 1);
    const tagPLAYER& p = d->player;
    if (!p.is_playing || p.current_tune.title.empty()) return 0;
    DrawEntryText(b, p.current_tune.sequence, p.current_tune.title, p.current_tune.length_seconds,
                  SkinColour(d, "TEXT.Normal", 0x00FF00), bg);
    return 0;
}

}  // namespace dz
