// The time digits of the player and of its shaded bar, the bits and rate fields and
// the song title display.
#include <cstring>
#include <string>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "platform/WindowEvents.h"
#include "state/TagUserData.h"
#include "ui/BitmapText.h"
#include "ui/UiCommon.h"
#include "ui/player/PlayerHandlers.h"

namespace dz {

namespace {

// The time shown, in seconds: the play position (or, in the shaded bar, the seek
// drag's target), counted back from the end with time_reverse.
float ShownTime(TAG_USERDATA* d, bool follow_seek) {
    float t = (follow_seek && d->seek_dragging) ? d->seek_target_seconds
                                                : d->player.position_seconds.load();
    if (d->time_reverse == 1) t = d->player.current_tune.length_seconds - t;
    return t;
}

// Japanese messages are code page 932 bytes: 音量, シーク先 and 音声出力なし(再接続中).
constexpr const char* kVolumeJa = "\x89\xb9\x97\xca: %d%%";
constexpr const char* kSeekJa = "\x83\x56\x81\x5b\x83\x4e\x90\xe6: %d:%02d/%d:%02d(%d%%)";
constexpr const char* kNoOutputJa =
    "\x89\xb9\x90\xba\x8f\x6f\x97\xcd\x82\xc8\x82\xb5(\x8d\xc4\x90\xda\x91\xb1\x92\x86)";
constexpr const char* kNoOutputEn = "No sound (retrying)";

}  // namespace

template <bool InShade>
int TimeMinusHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return CommonEvents(b, code, d);
    if (!d->player.is_playing || d->time_reverse != 1) return 0;
    if (InShade)
        DrawBitmapText(b, d, 0, 0, 0, "-");
    else
        DrawBitmapDigits(b, d, 0, 0, 0, "-");
    return 0;
}

template <bool InShade>
int TimeMinutesHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return CommonEvents(b, code, d);
    if (!d->player.is_playing) return 0;
    const int s = static_cast<int>(ShownTime(d, InShade));
    if (InShade)
        DrawBitmapText(b, d, 0, 0, 0, "%02d", s / 60 % 60);
    else
        DrawBitmapDigits(b, d, 0, 0, 3, "%02d", s / 60 % 60);
    return 0;
}

template <bool InShade>
int TimeSecondsHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return CommonEvents(b, code, d);
    if (!d->player.is_playing) return 0;
    const int s = static_cast<int>(ShownTime(d, InShade));
    if (InShade)
        DrawBitmapText(b, d, 0, 0, 0, "%02d", s % 60);
    else
        DrawBitmapDigits(b, d, 0, 0, 3, "%02d", s % 60);
    return 0;
}

int TimeModeHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code == kWmLButtonUp) {
        run_command(*d, kCmdToggleTime);
        return 0;
    }
    return CommonEvents(b, code, d);
}

int BitsHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    DrawRect(b, 0, b->rect.width(), b->rect.height(), SkinColour(d, "PLEDIT.Normal", 0x00FF00), 0);
    DrawBitmapText(b, d, 0, 0, 0, "%03d", d->player.bits_per_sample % 1000);
    return 0;
}

int RateHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    DrawRect(b, 0, b->rect.width(), b->rect.height(), SkinColour(d, "PLEDIT.Normal", 0x00FF00), 0);
    DrawBitmapText(b, d, 0, 0, 0, "%02d", d->player.sample_rate % 100000 / 1000);
    return 0;
}

int SongTitleHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "SONGNAME");
        case EDX_DRAW:
            break;
        default:
            return EasyMove(b, code, d);
    }
    const int w = b->rect.width(), h = b->rect.height();
    DrawRect(b, 0, w, h, SkinColour(d, "TEXT.NormalBG", 0x000000), 1);
    const bool ja = d->japanese == 1;
    const tagPLAYER& p = d->player;
    char text[kEdxTextBufferSize];
    if (d->volume_dragging) {
        std::snprintf(text, sizeof text, ja ? kVolumeJa : "Volume: %d%%",
                      static_cast<int>(p.volume * 100.0));
    } else if (d->seek_dragging) {
        const int target = static_cast<int>(d->seek_target_seconds);
        const int length = static_cast<int>(p.current_tune.length_seconds);
        std::snprintf(text, sizeof text, ja ? kSeekJa : "Seek To: %d:%02d/%d:%02d(%d%%)",
                      target / 60 % 60, target % 60, length / 60 % 60, length % 60,
                      static_cast<int>(d->seek_ratio * 100.0));
    } else if (p.output != OutputStatus::ok) {
        // The output is lost or a silent stand-in plays: nothing can be heard until the
        // device is back.
        std::snprintf(text, sizeof text, "%s", ja ? kNoOutputJa : kNoOutputEn);
    } else if (p.is_playing && !p.current_tune.title.empty()) {
        const int length = static_cast<int>(p.current_tune.length_seconds);
        std::snprintf(text, sizeof text, "%d. %s(%d:%02d)", p.current_tune.sequence,
                      p.current_tune.title.c_str(), length / 60 % 60, length % 60);
    } else {
        std::strcpy(text, " ");
    }
    const int text_h = MeasureTextHeight(b, "%s", text);
    if (text_h == 0) return 0;
    DrawBodyText(b, 0, static_cast<int>((h - text_h) * 0.5), text,
                 SkinColour(d, "TEXT.Normal", 0x00FF00));
    return 0;
}

template int TimeMinusHandler<false>(EdxBody*, int, TAG_USERDATA*);
template int TimeMinusHandler<true>(EdxBody*, int, TAG_USERDATA*);
template int TimeMinutesHandler<false>(EdxBody*, int, TAG_USERDATA*);
template int TimeMinutesHandler<true>(EdxBody*, int, TAG_USERDATA*);
template int TimeSecondsHandler<false>(EdxBody*, int, TAG_USERDATA*);
template int TimeSecondsHandler<true>(EdxBody*, int, TAG_USERDATA*);

}  // namespace dz
