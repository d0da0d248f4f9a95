// The bodies of the player (275 x 116) and of its shaded bar (275 x 14), in creation
// order: a later sibling lies on top and is hit first. Rectangles are relative to the
// parent; tags are the index of the menu a right click shows.
#include "platform/Geometry.h"
#include "ui/UiCommon.h"
#include "ui/player/PlayerHandlers.h"

namespace dz {

void CreatePlayerTree(EdxBody* main) {
    EdxBody* title = MakeChild(main, {TitleBarHandler, 0, 0, 275, 14, 0});
    MakeChild(title, {TitleButtonHandler<TitleButton::Menu, false>, 6, 3, 9, 9, 0});
    MakeChild(title, {TitleButtonHandler<TitleButton::Minimise, false>, 244, 3, 9, 9, 0});
    MakeChild(title, {TitleButtonHandler<TitleButton::Shade, false>, 254, 3, 9, 9, 0});
    MakeChild(title, {TitleButtonHandler<TitleButton::Close, false>, 264, 3, 9, 9, 0});
    EdxBody* clutter = MakeChild(main, {ClutterBarHandler, 10, 22, 8, 43, 0});
    MakeChild(clutter, {ClutterButtonHandler<Clutter::Options>, 0, 2, 8, 8, 0});
    MakeChild(clutter, {ClutterButtonHandler<Clutter::AlwaysOnTop>, 0, 10, 8, 8, 0});
    MakeChild(clutter, {ClutterButtonHandler<Clutter::Info>, 0, 18, 8, 8, 0});
    MakeChild(clutter, {ClutterButtonHandler<Clutter::DoubleSize>, 0, 26, 8, 8, 0});
    MakeChild(clutter, {ClutterButtonHandler<Clutter::Visual>, 0, 34, 8, 8, 0});
    const ChildSpec rest[] = {
        {ShuffleHandler, 164, 89, 47, 15, 12},
        {RepeatHandler, 210, 89, 28, 15, 11},
        {EditorToggleHandler, 242, 58, 23, 12, 9},
        {TimeMinusHandler<false>, 36, 26, 9, 13, 0},
        {TimeMinutesHandler<false>, 48, 26, 21, 13, 0},
        {TimeSecondsHandler<false>, 78, 26, 21, 13, 0},
        {TimeModeHandler, 36, 26, 63, 13, 13},
        {SongTitleHandler, 111, 24, 154, 13, 0},
        {BitsHandler, 111, 43, 15, 6, 0},
        {RateHandler, 156, 43, 10, 6, 0},
        {TransportHandler<Transport::Previous, false>, 16, 88, 23, 18, 4},
        {TransportHandler<Transport::Play, false>, 39, 88, 23, 18, 5},
        {TransportHandler<Transport::Pause, false>, 62, 88, 23, 18, 6},
        {TransportHandler<Transport::Stop, false>, 85, 88, 23, 18, 7},
        {TransportHandler<Transport::Next, false>, 108, 88, 22, 18, 8},
        {TransportHandler<Transport::Eject, false>, 136, 89, 22, 16, 3},
        {VolumeHandler, 107, 57, 68, 13, 0},
        {PlayStateHandler, 26, 28, 9, 9, 0},
        {LampHandler, 24, 28, 3, 9, 0},
        {SeekBarHandler, 16, 72, 248, 10, 0},
        {MonoHandler, 212, 41, 27, 12, 0},
        {StereoHandler, 239, 41, 29, 12, 0},
        {VisualisationHandler, 24, 43, 76, 16, 0},
        {AboutHandler, 253, 91, 13, 15, 0},
    };
    for (const ChildSpec& c : rest) MakeChild(main, c);
}

void CreateShadeTree(EdxBody* shade) {
    const ChildSpec children[] = {
        {TitleButtonHandler<TitleButton::Menu, true>, 6, 3, 9, 9, 0},
        {TitleButtonHandler<TitleButton::Minimise, true>, 244, 3, 9, 9, 0},
        {TitleButtonHandler<TitleButton::Shade, true>, 254, 3, 9, 9, 0},
        {TitleButtonHandler<TitleButton::Close, true>, 264, 3, 9, 9, 0},
        {TransportHandler<Transport::Previous, true>, 168, 2, 8, 10, 4},
        {TransportHandler<Transport::Play, true>, 176, 2, 10, 10, 5},
        {TransportHandler<Transport::Pause, true>, 186, 2, 9, 10, 6},
        {TransportHandler<Transport::Stop, true>, 195, 2, 9, 10, 7},
        {TransportHandler<Transport::Next, true>, 204, 2, 11, 10, 8},
        {TransportHandler<Transport::Eject, true>, 215, 2, 10, 10, 3},
        {TimeMinusHandler<true>, 129, 4, 5, 6, 0},
        {TimeMinutesHandler<true>, 134, 4, 10, 6, 0},
        {TimeSecondsHandler<true>, 147, 4, 10, 6, 0},
        {TimeModeHandler, 126, 5, 32, 6, 0},
        {MiniSeekBarHandler, 226, 4, 17, 7, 0},
        {VisualisationHandler, 79, 5, 38, 5, 0},
    };
    for (const ChildSpec& c : children) MakeChild(shade, c);
}

}  // namespace dz
