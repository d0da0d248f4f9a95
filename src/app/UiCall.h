#pragma once
// Worker code that needs the UI thread (dialogs, window queries) runs there and
// waits for the result.

#include <cstdint>
#include <utility>

#include "state/TagUserData.h"

namespace dz {

// Runs `fn` on the UI thread and returns its result. When there is no window, or the UI
// thread no longer takes calls (the close sequence), `fn` does not run and a
// default-constructed result comes back.
template <class F>
auto RunOnUiThread(TAG_USERDATA& data, F&& fn) -> decltype(fn()) {
    using Result = decltype(fn());
    Result result{};
    if (!data.main_window) return result;
    data.main_window->call_on_ui_thread([&]() -> std::intptr_t {
        result = fn();
        return 0;
    });
    return result;
}

}  // namespace dz
