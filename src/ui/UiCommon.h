#pragma once
// What the bodies of the player and the playlist editor share: skin lookups, the
// pressed look, modifier keys, pop-up menus and window moves. The hook calls (commands,
// layout, settings writers) are state/HookCalls.h.
//
// Threads: worker thread (body handlers), like the tree.

#include "edx/EdxWorld.h"
#include "state/CommandId.h"
#include "state/HookCalls.h"
#include "state/TagUserData.h"

namespace dz {

// The skin's bitmap of an element ("MAIN", "CBUTTONS", ...); null when it lacks one.
EdxImage* SkinImage(TAG_USERDATA* d, const char* element);
// A skin colour ("TEXT.Normal", "PLEDIT.Current", ...) or the fallback.
ColorRef SkinColour(TAG_USERDATA* d, const char* name, ColorRef fallback);
// The answer of a body that names a skin cursor to EDX_SET_CURSOR: when the skin has
// the cursor it is set and the answer is 1 (the search ends), else 0.
int SetSkinCursor(EdxBody* body, TAG_USERDATA* d, const char* name);

// True while the window has the keyboard focus (the title bars draw their active rows).
bool Active(const EdxBody* body);

// A child body from its rectangle (x, y, width, height in the parent) and menu tag.
struct ChildSpec {
    EdxHandler handler;
    int x, y, w, h;
    int tag;
};
EdxBody* MakeChild(EdxBody* parent, const ChildSpec& c);

// A button looks pressed while some body holds the left button and the cursor is over it.
bool LooksPressed(const EdxBody* body);
// Shift or Ctrl (virtual keys 0x10, 0x11) held, from the key state copied into the world.
bool KeyHeld(const EdxBody* body, int virtual_key);

// Where a point of the body lies on the screen: window position + body position x zoom.
Point ScreenPointOf(const EdxBody* body, int x, int y);
// Shows a snapshot of menus[index] at a screen point; the choice comes back as a command
// (posted).
void ShowMenu(TAG_USERDATA* d, int index, Point screen);

// The right release every body answers: menus[tag] at the cursor.
int CommonEvents(EdxBody* body, int code, TAG_USERDATA* d);
// Window moves: the left press starts the drag, the left release ends it and saves the
// window position. Returns 1 when it handled `code`.
int MoveWindowEvents(EdxBody* body, int code, TAG_USERDATA* d);

// CommonEvents, and window moves by the left button while easy move is on.
int EasyMove(EdxBody* body, int code, TAG_USERDATA* d);

// A bar that moves the window: a double click runs `toggle_shade`; other codes are window
// moves and CommonEvents.
int ShadingBarEvents(EdxBody* body, int code, TAG_USERDATA* d, void (*toggle_shade)(TAG_USERDATA*));

}  // namespace dz
