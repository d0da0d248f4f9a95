#pragma once
// Hooks the end-to-end tests switch on through the environment; with the variables unset
// nothing changes.
//
//   DEZIDU_SHUTDOWN_LOG  a file: each run of the shutdown sequence appends "shutdown\n"
//   DEZIDU_TEST_DROP     files, one per line, handed to the window as one drop once the
//                        worker runs

#include "state/AppHooks.h"

namespace dz {

class Application;

// Before the application is built: DEZIDU_SHUTDOWN_LOG.
void InstallTestHooks(AppHooks& hooks);
// After the worker has started (UI thread): DEZIDU_TEST_DROP.
void RunTestDrop(Application& app);

}  // namespace dz
