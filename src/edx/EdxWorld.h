#pragma once
// The world: one per window, the root body of the tree, owner of every body,
// the frame buffers, the input queue and the keyboard state.
//
// Threads: the UI thread queues mouse records, keeps the focus flag and the key
// state, and paints from the front buffer; the worker thread owns the tree and
// draws. `lock` guards the input queue, the front buffer, the recreation of the
// buffers and `key_state`, and is held only for those copies.

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "edx/EdxBody.h"
#include "edx/EdxComposer.h"
#include "edx/EdxFont.h"
#include "edx/EdxImage.h"
#include "edx/EdxShape.h"
#include "platform/WindowHost.h"

namespace dz {

// A queued window message (the MSG layout). Only `message` is read later.
struct EdxMessage {
    void* window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    std::uint32_t time = 0;
    Point pt;
};

// One keyboard accelerator: virtual key plus modifier flags -> command id.
struct EdxAccelerator {
    static constexpr std::uint8_t kVirtKey = 0x01;
    static constexpr std::uint8_t kShift = 0x04;
    static constexpr std::uint8_t kControl = 0x08;
    static constexpr std::uint8_t kAlt = 0x10;
    std::uint8_t flags = kVirtKey;
    std::uint16_t key = 0;
    std::uint16_t command = 0;
};

class EdxWorld : public EdxBody {
public:
    explicit EdxWorld(WindowHost* window);
    ~EdxWorld() override;  // teardown: detach, EDX_DESTROYED, delete every body

    WindowHost* window = nullptr;
    std::vector<EdxAccelerator> accelerators;  // built at start, read by the UI thread
    Rect clip;                                 // drawing clip, back-buffer pixels
    EdxImage back_buffer;
    EdxImage front_buffer;
    EdxImage mask_buffer;
    std::array<std::uint8_t, 256> key_state{};  // high bit: held (guarded by lock)
    std::atomic<std::int32_t> has_focus{1};
    Point cursor_pos;  // client pixels (scaled by zoom), refreshed at every update
    EdxBody* hovered = nullptr;
    // The window follows the mouse while dragging is 1. The worker writes drag_offset
    // before setting dragging; the UI thread reads both without the lock.
    std::atomic<std::int32_t> dragging{0};
    Point drag_offset;
    double zoom = 1.0;  // written under lock, read by painting under lock
    TAG_USERDATA* user_data = nullptr;
    std::vector<std::unique_ptr<EdxBody>> registry;  // every body, creation order
    EdxBody* left_pressed = nullptr;
    EdxBody* middle_pressed = nullptr;
    EdxBody* right_pressed = nullptr;
    EdxBody* captured = nullptr;
    EdxBody* target = nullptr;
    EdxFont font{12};
    std::mutex lock;
    std::deque<EdxMessage> input_queue;
    std::intptr_t call_argument = 0;

    // 1 while the layout has nothing to show (a logical size of 0): the buffers keep the
    // last frame and nothing is composed or presented. Worker thread.
    std::int32_t suspended = 0;
    // The front buffer or the scale changed since the window was last asked to show it
    // (guarded by lock). A frame equal to the one shown is not presented again.
    bool frame_changed = false;
    // The cursor last set through SetBodyCursor (0: none yet). Only SetBodyCursor sets the
    // window's cursor, so asking again for this one needs no call into the UI thread.
    CursorHandle cursor_set = 0;
    // The window shape's cut pixels, kept between frames. Worker thread.
    EdxShapeMask shape_mask;
    // The drawing of the last composed frame, to draw only what changed. Worker thread.
    EdxComposer composer;
};

// A function the worker has run on the UI thread: (body, user data, call_argument).
using EdxUiFunction = std::intptr_t (*)(EdxBody* body, TAG_USERDATA* data, std::intptr_t arg);

// --- world operations ---

// UI thread, once: installs the application's handler and user data, sizes the world to
// the client area, creates the buffers, sends EDX_CREATE, draws and shows the first frame.
void Attach(EdxWorld* world, TAG_USERDATA* user_data, EdxHandler handler);
// Worker thread, once per frame tick: cursor tracking, queued button records, updates.
void Update(EdxWorld* world);
// First step of Update: cursor_pos, hovered, target.
void TrackCursor(EdxWorld* world);
// UI thread: queue a button record 0x201-0x209 for the next update.
void QueueMouseMessage(EdxWorld* world, std::uint32_t message, std::uintptr_t wparam);
// UI thread: focus changes and key events.
void SetFocusState(EdxWorld* world, bool focus);
void RefreshKeyState(EdxWorld* world);

// Runs `fn` (body, user data, argument) on the UI thread and returns its result; sets
// call_argument around the call (the WM_USER+1 call).
std::intptr_t CallInUiThread(EdxBody* body, EdxUiFunction fn, std::intptr_t argument = 0);
// The posted form: the worker does not wait.
void PostToUiThread(EdxBody* body, EdxUiFunction fn, std::intptr_t argument = 0);

// Mouse capture and cursor, run in the UI thread on behalf of the worker.
int Capture(EdxBody* body);
int ReleaseCaptureFor(EdxBody* body);
CursorHandle SetBodyCursor(EdxBody* body, CursorHandle cursor);
// Sends EDX_SET_CURSOR to the update's target and then up through its ancestors to the
// world, to each that has a handler, until one answers non-zero (it set the cursor).
// Returns that answer, or 0 when nobody set one.
int RequestCursor(EdxWorld* world);

}  // namespace dz
