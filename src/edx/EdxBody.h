#pragma once
// A rectangular node of the widget tree, with one event handler.
//
// Threads: after the world is attached, bodies are created, changed, walked and
// destroyed by the worker thread only; nothing in the tree is locked.

#include <cstdint>
#include <deque>

#include "platform/Geometry.h"

namespace dz {

class EdxBody;
class EdxWorld;
class TAG_USERDATA;

// A body's event handler. The result is ignored except for EDX_SET_CURSOR, where
// non-zero means the cursor has been set.
using EdxHandler = int (*)(EdxBody* body, int code, TAG_USERDATA* data);

// The creation record of a body.
struct EdxBodyInfo {
    EdxHandler handler = nullptr;
    Rect rect;  // in parent coordinates
    std::int32_t visible = 1;
    std::int32_t tag = 0;
};

class EdxBody {
public:
    EdxBody() = default;
    virtual ~EdxBody() = default;
    EdxBody(const EdxBody&) = delete;
    EdxBody& operator=(const EdxBody&) = delete;

    // Calls the handler with `code` and the world's user data; 0 when there is no handler.
    int send(int code);

    EdxHandler handler = nullptr;
    std::uint32_t update_count = 0;  // only the world's is used
    std::int32_t remove_mark = 0;    // non-zero: removed at the next walk of its parent
    EdxWorld* world = nullptr;       // the world points to itself
    EdxBody* parent = nullptr;       // null only for the world
    std::int32_t depth = 0;
    std::int32_t visible = 1;
    Rect rect;           // in the parent's coordinates
    Point child_origin;  // added to the position of every child (scrolling)
    std::int32_t tag = 0;
    std::deque<EdxBody*> children;  // first drawn first; last on top
};

// --- tree operations (worker thread) ---

// Creates a body under `parent` from `info`, registers it with the world and sends
// it EDX_CREATE. Returns the new body (owned by the world).
EdxBody* CreateBody(EdxBody* parent, const EdxBodyInfo& info);
// Marks every child of `body`; they leave the tree at the next walk through `body`.
void MarkChildrenForRemoval(EdxBody* body);
// 1 when the body and every ancestor are visible.
int IsShown(const EdxBody* body);
// The body's top-left corner in world pixels.
Point AbsoluteOrigin(const EdxBody* body);
// (0, 0, width, height) of the body moved to its absolute origin.
Rect AbsoluteRect(const EdxBody* body);
// True when the world's left_pressed is this body.
bool IsLeftPressed(const EdxBody* body);
// The cursor position in logical pixels (cursor_pos / zoom, truncated toward zero).
Point MousePosition(const EdxBody* body);
// Sends `code` to the body and its shown subtree, removing marked children. Returns 0.
int Broadcast(EdxBody* body, int code);
// The deepest shown body under (x, y) in world pixels, or null.
EdxBody* HitTest(EdxBody* body, int x, int y);
// Sends EDX_DETACH through the subtree (parents first) and empties every children list.
void Detach(EdxBody* body);

}  // namespace dz
