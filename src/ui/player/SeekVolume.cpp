// The seek bar, the shaded bar's mini seek bar and the volume slider: dragged with
// the left button (the body captures the mouse from the press to the release).
//
// Sprites: POSBAR (0, 0) the bar, 248 x 10; thumb 29 x 10 at (248, 0), (278, 0) while
// held. TITLEBAR (0, 36) the mini bar, 17 x 7; its 3 x 7 thumb at (17 + 3k, 36), k by
// thirds of the ratio. VOLUME row n (0-27) at (0, 15n), 68 x 13; thumb 14 x 11 at
// (15, 422), (0, 422) while held, drawn at (2n, 1).
#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "platform/WindowEvents.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/player/PlayerHandlers.h"

namespace dz {

namespace {

// Press captures, release lets go. True when `code` was one of them.
bool CaptureEvents(EdxBody* b, int code) {
    if (code == kWmLButtonDown) {
        Capture(b);
        return true;
    }
    if (code == kWmLButtonUp) {
        ReleaseCaptureFor(b);
        return true;
    }
    return false;
}

// The cursor's distance from the body's left edge less `offset`, in logical pixels.
int CursorX(EdxBody* b, int offset) {
    const EdxWorld* w = b->world;
    if (!w || w->zoom == 0) return 0;
    return static_cast<int>(w->cursor_pos.x / w->zoom) - AbsoluteOrigin(b).x - offset;
}

float Ratio(int x, int range) {
    if (x < 0) return 0.0f;
    if (x < range) return static_cast<float>(x) / static_cast<float>(range);
    return 1.0f;
}

// The drag of either seek bar: while held (and a tune plays) the target follows the
// cursor; the first update after the release seeks there, one sample before it.
void UpdateSeek(EdxBody* b, TAG_USERDATA* d, int offset, int range) {
    tagPLAYER& p = d->player;
    if (p.is_playing && IsLeftPressed(b)) {
        d->seek_ratio = Ratio(CursorX(b, offset), range);
        d->seek_dragging = 1;
        d->seek_target_seconds = p.current_tune.length_seconds * d->seek_ratio;
    } else if (d->seek_dragging) {
        const int sample = static_cast<int>(d->seek_target_seconds * p.sample_rate) - 1;
        p.seek(sample < 0 ? 0 : sample);
        d->seek_dragging = 0;
    }
}

// Where the thumb stands, 0..1: the drag's target while dragging, else the position.
float ThumbRatio(TAG_USERDATA* d) {
    const float length = d->player.current_tune.length_seconds;
    if (length <= 0) return 0.0f;
    const float t = d->seek_dragging ? d->seek_target_seconds : d->player.position_seconds.load();
    return t / length;
}

bool SeekDrawable(TAG_USERDATA* d) {
    return d->player.is_playing && d->player.current_tune.length_seconds > 0;
}

}  // namespace

int SeekBarHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    const int w = b->rect.width();
    if (CaptureEvents(b, code)) return 0;
    switch (code) {
        case EDX_UPDATE:
            UpdateSeek(b, d, 14, w - 29);
            return 0;
        case EDX_DRAW: {
            if (!SeekDrawable(d)) return 0;
            EdxImage* bar = SkinImage(d, "POSBAR");
            DrawPart(b, 0, 0, bar, 0, 0, w, 10);
            DrawPart(b, static_cast<int>(ThumbRatio(d) * (w - 29)), 0, bar,
                     IsLeftPressed(b) ? 278 : 248, 0, 29, 10);
            return 0;
        }
        default:
            return CommonEvents(b, code, d);
    }
}

int MiniSeekBarHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    const int w = b->rect.width();
    if (CaptureEvents(b, code)) return 0;
    switch (code) {
        case EDX_UPDATE:
            UpdateSeek(b, d, 1, w - 3);
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "WSPOSBAR");
        case EDX_DRAW: {
            if (!SeekDrawable(d)) return 0;
            EdxImage* bar = SkinImage(d, "TITLEBAR");
            const float ratio = ThumbRatio(d);
            const int k = ratio > 0.66f ? 2 : ratio > 0.33f ? 1 : 0;
            DrawPart(b, 0, 0, bar, 0, 36, 17, 7);
            DrawPart(b, static_cast<int>(ratio * (w - 3)), 0, bar, 17 + 3 * k, 36, 3, 7);
            return 0;
        }
        default:
            return CommonEvents(b, code, d);
    }
}

int VolumeHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    const int w = b->rect.width();
    if (CaptureEvents(b, code)) return 0;
    switch (code) {
        case EDX_UPDATE:
            if (IsLeftPressed(b)) {
                d->player.set_volume(Ratio(CursorX(b, 7), w - 14));
                d->volume_dragging = 1;
            } else {
                // The drag ends at the first update after the release: the new volume
                // is stored once.
                if (d->volume_dragging) save_settings(*d);
                d->volume_dragging = 0;
            }
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "VOLBAL");
        case EDX_DRAW: {
            int n = static_cast<int>(d->player.volume * 27.0f);
            n = n < 0 ? 0 : n > 27 ? 27 : n;
            EdxImage* image = SkinImage(d, "VOLUME");
            DrawPart(b, 0, 0, image, 0, 15 * n, 68, 13);
            DrawPart(b, 2 * n, 1, image, IsLeftPressed(b) ? 0 : 15, 422, 14, 11);
            return 0;
        }
        default:
            return CommonEvents(b, code, d);
    }
}

}  // namespace dz
