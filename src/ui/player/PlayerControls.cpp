// The player's fixed parts, buttons, toggles and indicators.
//
// Sprites (x, y, w x h):
//   MAIN      whole, at the player's origin
//   TITLEBAR  title (27, 0) active / (27, 15) inactive, 275 x 14; shade bar (27, 29) /
//             (27, 42); buttons 9 x 9 normal / pressed: menu (0, 0)/(0, 9), minimise
//             (9, 0)/(9, 9), shade (0, 18)/(9, 18), close (18, 0)/(18, 9), shade bar's
//             shade button (0, 27)/(9, 27); clutter bar (304, 0) 8 x 43, lit buttons
//             8 x 8: O (304, 46), A (312, 54), I (320, 62), D (328, 70), V (336, 78)
//   CBUTTONS  x = 23 * index, y = 0 / body height when pressed; eject (114, 0)/(114, 16)
//   SHUFREP   repeat (0, 15s), shuffle (28, 15s), s = pressed + 2 * on; editor toggle
//             x 23 / 69 pressed, y 61 + 12 * shown, 23 x 12
//   MONOSTER  stereo (0, 0) lit / (0, 12), 29 x 12; mono (29, 0) lit / (29, 12), 27 x 12
//   PLAYPAUS  state 9 x 9 at x 9s (s: 0 streaming, 1 paused, 2 stopped); lamp (25, 0)
//             2 x 9, and (36, 0) 3 x 9 while streaming
#include <chrono>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowEvents.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/player/PlayerHandlers.h"

namespace dz {

namespace {

void ToggleShade(TAG_USERDATA* d) {
    d->shade_player = !d->shade_player;
    relayout(*d);
    save_settings(*d);
}

// Sound is coming out: a stream held while the output is lost is not.
bool Streaming(TAG_USERDATA* d) {
    return d->player.library().pxtone_Tune_IsStreaming() && d->player.output != OutputStatus::lost;
}

}  // namespace

int MainHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_DRAW:
            DrawImage(b, SkinImage(d, "MAIN"));
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "NORMAL");
        default:
            return EasyMove(b, code, d);
    }
}

namespace {

// The title bar and the shaded bar: a TITLEBAR row (y for the active and the inactive
// window), a cursor, window moves, and a double click that shades or unshades.
int BarEvents(EdxBody* b, int code, TAG_USERDATA* d, int active_y, int inactive_y,
              const char* cursor) {
    switch (code) {
        case EDX_DRAW:
            DrawPart(b, 0, 0, SkinImage(d, "TITLEBAR"), 27, Active(b) ? active_y : inactive_y, 275,
                     14);
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, cursor);
        default:
            return ShadingBarEvents(b, code, d, ToggleShade);
    }
}

}  // namespace

int ShadeHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    return BarEvents(b, code, d, 29, 42, "WSNORMAL");
}

int TitleBarHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    return BarEvents(b, code, d, 0, 15, "TITLEBAR");
}

template <TitleButton B, bool InShade>
int TitleButtonHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    constexpr int kSourceX[] = {0, 9, 0, 18};
    constexpr int kSourceY[] = {0, 0, 18, 0};
    constexpr const char* kCursor[] = {InShade ? "MMENU" : "MAINMENU", "MIN", "WINBUT", "CLOSE"};
    const int i = static_cast<int>(B);
    switch (code) {
        case EDX_DRAW: {
            if (!Active(b)) return 0;
            const bool pressed = LooksPressed(b);
            int sx = kSourceX[i], sy = kSourceY[i];
            if (B == TitleButton::Shade) {
                sx = pressed ? 9 : 0;
                sy = InShade ? 27 : 18;
            } else if (pressed) {
                sy += 9;
            }
            DrawPart(b, 0, 0, SkinImage(d, "TITLEBAR"), sx, sy, 9, 9);
            return 0;
        }
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, kCursor[i]);
        case kWmLButtonUp: {
            WindowHost* host = b->world ? b->world->window : nullptr;
            if (B == TitleButton::Close && host) host->request_close();
            if (B == TitleButton::Minimise && host)
                CallInUiThread(b, [](EdxBody* body, TAG_USERDATA*, std::intptr_t) -> std::intptr_t {
                    body->world->window->minimise();
                    return 0;
                });
            if (B == TitleButton::Shade) ToggleShade(d);
            if (B == TitleButton::Menu && host) {
                d->main_menu_pending = true;
                d->main_menu_due = std::chrono::steady_clock::now() +
                                   std::chrono::milliseconds(host->double_click_ms());
                d->main_menu_point = ScreenPointOf(b, 0, b->rect.height());
            }
            return 0;
        }
        case kWmLButtonDblClk:
            if (B == TitleButton::Menu && b->world && b->world->window) {
                d->main_menu_pending = false;
                b->world->window->request_close();
            }
            return 0;
        case EDX_UPDATE:
            if (B == TitleButton::Menu && d->main_menu_pending &&
                std::chrono::steady_clock::now() >= d->main_menu_due) {
                d->main_menu_pending = false;
                ShowMenu(d, 0, d->main_menu_point);
            }
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

int ClutterBarHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code == EDX_DRAW) DrawPart(b, 0, 0, SkinImage(d, "TITLEBAR"), 304, 0, 8, 43);
    return CommonEvents(b, code, d);
}

template <Clutter C>
int ClutterButtonHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    const int i = static_cast<int>(C);
    switch (code) {
        case EDX_DRAW: {
            bool lit = LooksPressed(b);
            if (C == Clutter::Options) lit = lit || d->options_held;
            if (C == Clutter::AlwaysOnTop)
                lit = lit || (d->always_on_top == 1 && d->topmost_refused == 0);
            if (C == Clutter::DoubleSize) lit = lit || d->double_size == 1;
            if (lit) DrawPart(b, 0, 0, SkinImage(d, "TITLEBAR"), 304 + 8 * i, 46 + 8 * i, 8, 8);
            return 0;
        }
        case kWmLButtonUp:
            switch (C) {
                case Clutter::Options: {
                    // The O button stays lit while the menu opens; the menu is shown by the
                    // UI thread and its choice comes back as a command.
                    d->options_held = 1;
                    refresh_menu_checks(*d);
                    ShowMenu(d, 1, ScreenPointOf(b, 0, 0));
                    d->options_held = 0;
                    refresh_menu_checks(*d);
                    break;
                }
                case Clutter::AlwaysOnTop:
                    run_command(*d, kCmdAlwaysOnTop);
                    break;
                case Clutter::Info:
                    run_command(*d, kCmdFileInfo);
                    break;
                case Clutter::DoubleSize:
                    run_command(*d, kCmdDoubleSize);
                    break;
                case Clutter::Visual:
                    break;
            }
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

namespace {

// The command of a transport button: Shift picks the first alternative, Ctrl (without
// Shift) the second.
CommandId TransportCommand(EdxBody* b, Transport t) {
    const bool shift = KeyHeld(b, vk::kShift);
    const bool ctrl = !shift && KeyHeld(b, vk::kControl);
    auto pick = [&](CommandId plain, CommandId with_shift, CommandId with_ctrl) {
        return shift ? with_shift : ctrl ? with_ctrl : plain;
    };
    switch (t) {
        case Transport::Previous:
            return pick(kCmdPrevious, kCmdBack5, kCmdRestart);
        case Transport::Play:
            return pick(kCmdPlay, kCmdAddFiles, kCmdAddUrl);
        case Transport::Pause:
            return kCmdPause;
        case Transport::Stop:
            return kCmdStop;
        case Transport::Next:
            return pick(kCmdNext, kCmdForward5, kCmdJumpToEnd);
        case Transport::Eject:
            return pick(kCmdAddFiles, kCmdAddFolder, kCmdAddUrl);
    }
    return kCmdNone;
}

}  // namespace

template <Transport T, bool InShade>
int TransportHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_DRAW:
            if (InShade) return 0;  // the shade bar's image shows the buttons
            if (T == Transport::Eject) {
                DrawPart(b, 0, 0, SkinImage(d, "CBUTTONS"), 114, LooksPressed(b) ? 16 : 0, 22, 16);
            } else {
                const int h = b->rect.height();
                DrawPart(b, 0, 0, SkinImage(d, "CBUTTONS"), 23 * static_cast<int>(T),
                         LooksPressed(b) ? h : 0, b->rect.width(), h);
            }
            return 0;
        case kWmLButtonUp:
            run_command(*d, TransportCommand(b, T));
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

int ShuffleHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_DRAW: {
            const int s = (LooksPressed(b) ? 1 : 0) + (d->shuffle ? 2 : 0);
            DrawPart(b, 0, 0, SkinImage(d, "SHUFREP"), 28, 15 * s, 47, 15);
            return 0;
        }
        case kWmLButtonUp:
            run_command(*d, kCmdShuffle);
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

int RepeatHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_DRAW: {
            const int s = (LooksPressed(b) ? 1 : 0) + (d->repeat ? 2 : 0);
            DrawPart(b, 0, 0, SkinImage(d, "SHUFREP"), 0, 15 * s, 28, 15);
            return 0;
        }
        case kWmLButtonUp:
            run_command(*d, kCmdRepeat);
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

int EditorToggleHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_DRAW:
            DrawPart(b, 0, 0, SkinImage(d, "SHUFREP"), LooksPressed(b) ? 69 : 23,
                     61 + 12 * (d->visible_pledit ? 1 : 0), 23, 12);
            return 0;
        case kWmLButtonUp:
            run_command(*d, kCmdPlaylistEditor);
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

int MonoHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    const bool lit = d->player.is_playing && d->player.channels == 1;
    DrawPart(b, 0, 0, SkinImage(d, "MONOSTER"), 29, lit ? 0 : 12, 27, 12);
    return 0;
}

int StereoHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    const bool lit = d->player.is_playing && d->player.channels == 2;
    DrawPart(b, 0, 0, SkinImage(d, "MONOSTER"), 0, lit ? 0 : 12, 29, 12);
    return 0;
}

int PlayStateHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    // A tune held by a lost output shows as paused: it goes on when the output is back.
    const bool held = d->player.is_playing && d->player.output == OutputStatus::lost;
    const int s = Streaming(d) ? 0 : (d->player.is_paused || held) ? 1 : 2;
    DrawPart(b, 0, 0, SkinImage(d, "PLAYPAUS"), 9 * s, 0, 9, 9);
    return 0;
}

int LampHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    EdxImage* image = SkinImage(d, "PLAYPAUS");
    DrawPart(b, 0, 0, image, 25, 0, 2, 9);
    if (Streaming(d)) DrawPart(b, 0, 0, image, 36, 0, 3, 9);
    return 0;
}

int AboutHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code == kWmLButtonUp) {
        if (!Streaming(d)) d->player.load_unloaded_entries();
        call_hook(d->hooks.commands.about_dialog, *d);
        return 0;
    }
    return CommonEvents(b, code, d);
}

// The handlers the trees use.
template int TitleButtonHandler<TitleButton::Menu, false>(EdxBody*, int, TAG_USERDATA*);
template int TitleButtonHandler<TitleButton::Minimise, false>(EdxBody*, int, TAG_USERDATA*);
template int TitleButtonHandler<TitleButton::Shade, false>(EdxBody*, int, TAG_USERDATA*);
template int TitleButtonHandler<TitleButton::Close, false>(EdxBody*, int, TAG_USERDATA*);
template int TitleButtonHandler<TitleButton::Menu, true>(EdxBody*, int, TAG_USERDATA*);
template int TitleButtonHandler<TitleButton::Minimise, true>(EdxBody*, int, TAG_USERDATA*);
template int TitleButtonHandler<TitleButton::Shade, true>(EdxBody*, int, TAG_USERDATA*);
template int TitleButtonHandler<TitleButton::Close, true>(EdxBody*, int, TAG_USERDATA*);
template int ClutterButtonHandler<Clutter::Options>(EdxBody*, int, TAG_USERDATA*);
template int ClutterButtonHandler<Clutter::AlwaysOnTop>(EdxBody*, int, TAG_USERDATA*);
template int ClutterButtonHandler<Clutter::Info>(EdxBody*, int, TAG_USERDATA*);
template int ClutterButtonHandler<Clutter::DoubleSize>(EdxBody*, int, TAG_USERDATA*);
template int ClutterButtonHandler<Clutter::Visual>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Previous, false>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Play, false>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Pause, false>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Stop, false>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Next, false>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Eject, false>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Previous, true>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Play, true>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Pause, true>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Stop, true>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Next, true>(EdxBody*, int, TAG_USERDATA*);
template int TransportHandler<Transport::Eject, true>(EdxBody*, int, TAG_USERDATA*);

}  // namespace dz
