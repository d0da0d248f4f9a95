#pragma once
// The event handlers of the playlist editor's bodies, of its shaded bar and of the
// button strips. Each is a plain function called by the framework on the worker thread.

#include <string>

#include "edx/EdxBody.h"
#include "platform/Geometry.h"

namespace dz {

class TAG_USERDATA;

// The editor shows this many rows at least. A page size beyond the most would make a
// window taller than any screen (and its frame buffers gigabytes large): the editor
// shows at most that many, whatever the settings file says.
inline constexpr int kPleditMinRows = 4;
inline constexpr int kPleditMaxRows = 512;

// The editor's frame and its shaded bar (PleditFrame.cpp).
// Shades or unshades the editor (layout, settings saved).
void TogglePleditShade(TAG_USERDATA* d);
int PleditHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PleditTitleBarHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PleditGripHandler(EdxBody* b, int code, TAG_USERDATA* d);
template <bool InShade>
int PleditShadeButtonHandler(EdxBody* b, int code, TAG_USERDATA* d);
template <bool InShade>
int PleditCloseButtonHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PleditMiddleHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PleditBottomBarHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PleditShadeHandler(EdxBody* b, int code, TAG_USERDATA* d);

// Text of the editor and of its shaded bar (PleditText.cpp).
int PleditTotalsHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PleditTimeMinutesHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PleditTimeSecondsHandler(EdxBody* b, int code, TAG_USERDATA* d);
int PleditShadeTitleHandler(EdxBody* b, int code, TAG_USERDATA* d);
// An entry's line in the world font, centred in the body's height: "%2d. %s" (number,
// title) from x = 1, and its length "%2d:%02d" right-aligned 4 pixels from the right
// edge over a patch of `background`. Nothing when the title is empty or the text cannot
// be measured.
void DrawEntryText(EdxBody* b, int number, const std::string& title, float length_seconds,
                   ColorRef text_colour, ColorRef background);

// The list and its rows (PleditList.cpp).
// The title a row shows (bytes in the world font's encoding): the entry's title; while
// its information is on its way and it has no title, its file title; while its URL
// downloads, that title after "Loading: " (Japanese texts: "読み込み中: ").
std::string RowTitle(const TAG_USERDATA& d, int index);
int ListContainerHandler(EdxBody* b, int code, TAG_USERDATA* d);
int ListRowHandler(EdxBody* b, int code, TAG_USERDATA* d);

// Scroll bar, arrows and the resize handle (PleditScroll.cpp).
int ScrollBarHandler(EdxBody* b, int code, TAG_USERDATA* d);
template <int Direction>
int ScrollArrowHandler(EdxBody* b, int code, TAG_USERDATA* d);
int ResizeHandleHandler(EdxBody* b, int code, TAG_USERDATA* d);

// The button strips, their items, their cover and the bottom-bar buttons that open them
// (PleditStrips.cpp).
int StripHandler(EdxBody* b, int code, TAG_USERDATA* d);
int StripItemHandler(EdxBody* b, int code, TAG_USERDATA* d);
int StripCoverHandler(EdxBody* b, int code, TAG_USERDATA* d);
int StripButtonHandler(EdxBody* b, int code, TAG_USERDATA* d);

// Builds the children of the editor, of its shaded bar and of the five strips
// (PleditTree.cpp).
void CreatePleditTree(EdxBody* pledit);
void CreatePleditShadeTree(EdxBody* shade);
void CreateStripItems(TAG_USERDATA& d);

}  // namespace dz
