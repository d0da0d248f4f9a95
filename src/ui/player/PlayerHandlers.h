#pragma once
// The event handlers of the player's bodies and of its shaded bar. Each is a plain
// function called by the framework on the worker thread.

#include "edx/EdxBody.h"

namespace dz {

class TAG_USERDATA;

// Title-bar buttons of both bars.
enum class TitleButton { Menu, Minimise, Shade, Close };
// Transport buttons: previous, play, pause, stop, next, eject.
enum class Transport { Previous, Play, Pause, Stop, Next, Eject };
// Clutter-bar buttons, top to bottom.
enum class Clutter { Options, AlwaysOnTop, Info, DoubleSize, Visual };

int MainHandler(EdxBody* b, int code, TAG_USERDATA* d);
int ShadeHandler(EdxBody* b, int code, TAG_USERDATA* d);
int TitleBarHandler(EdxBody* b, int code, TAG_USERDATA* d);
template <TitleButton B, bool InShade>
int TitleButtonHandler(EdxBody* b, int code, TAG_USERDATA* d);
int ClutterBarHandler(EdxBody* b, int code, TAG_USERDATA* d);
template <Clutter C>
int ClutterButtonHandler(EdxBody* b, int code, TAG_USERDATA* d);
template <Transport T, bool InShade>
int TransportHandler(EdxBody* b, int code, TAG_USERDATA* d);
int ShuffleHandler(EdxBody* b, int code, TAG_USERDATA* d);
int RepeatHandler(EdxBody* b, int code, TAG_USERDATA* d);
int EditorToggleHandler(EdxBody* b, int code, TAG_USERDATA* d);
int MonoHandler(EdxBody* b, int code, TAG_USERDATA* d);
int StereoHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PlayStateHandler(EdxBody* b, int code, TAG_USERDATA* d);
int LampHandler(EdxBody* b, int code, TAG_USERDATA* d);
int AboutHandler(EdxBody* b, int code, TAG_USERDATA* d);

// Seek bars and the volume slider (SeekVolume.cpp).
int SeekBarHandler(EdxBody* b, int code, TAG_USERDATA* d);
int MiniSeekBarHandler(EdxBody* b, int code, TAG_USERDATA* d);
int VolumeHandler(EdxBody* b, int code, TAG_USERDATA* d);

// Time, fields and title (PlayerText.cpp).
template <bool InShade>
int TimeMinusHandler(EdxBody* b, int code, TAG_USERDATA* d);
template <bool InShade>
int TimeMinutesHandler(EdxBody* b, int code, TAG_USERDATA* d);
template <bool InShade>
int TimeSecondsHandler(EdxBody* b, int code, TAG_USERDATA* d);
int TimeModeHandler(EdxBody* b, int code, TAG_USERDATA* d);
int BitsHandler(EdxBody* b, int code, TAG_USERDATA* d);
int RateHandler(EdxBody* b, int code, TAG_USERDATA* d);
int SongTitleHandler(EdxBody* b, int code, TAG_USERDATA* d);

// The measure-phased wave (Visualisation.cpp).
int VisualisationHandler(EdxBody* b, int code, TAG_USERDATA* d);

// Builds the children of the player and of its shaded bar (PlayerTree.cpp).
void CreatePlayerTree(EdxBody* main);
void CreateShadeTree(EdxBody* shade);

}  // namespace dz
