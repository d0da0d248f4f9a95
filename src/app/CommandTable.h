#pragma once
// The command table: every user command (menu item, keyboard shortcut) is a
// numbered command (CommandId); one static table maps each id to its handler and,
// optionally, to one keyboard accelerator. Ids below kCmdFirstSkin are table
// commands; the items of the skins menu never reach the table.

#include <span>
#include <vector>

#include "edx/EdxWorld.h"
#include "state/CommandId.h"

namespace dz {

class TAG_USERDATA;

using CommandHandler = int (*)(TAG_USERDATA* data);  // returns 0 (ignored)

// One row. Order matters twice: lookup takes the first row with an id, and the
// accelerators are appended in row order (the first row with a key wins).
struct CommandRow {
    int accel_enabled;  // 1: this row contributes an accelerator
    int vk;             // Windows virtual-key code (platform/VirtualKeys.h)
    int ctrl;           // 1: Ctrl must be held
    int alt;            // 1: Alt must be held
    int shift;          // 1: Shift must be held
    CommandId id;
    CommandHandler handler;
};

// The program's table (CommandTable.cpp).
std::span<const CommandRow> command_table();

// Runs command `id` on the worker thread: below kCmdFirstSkin the handler of the first
// row of `table` with that id (no row: nothing); from kCmdFirstSkin the skin menu hook.
void dispatch_command(int id, TAG_USERDATA* data, std::span<const CommandRow> table);
void dispatch_command(int id, TAG_USERDATA* data);

// The accelerators of a table, in row order (rows enabled with a non-zero id).
std::vector<EdxAccelerator> make_accelerators(std::span<const CommandRow> table);
// First step of the initialisation: the world's accelerator table from the command table.
void build_accelerators(TAG_USERDATA* data);
// The command of the first accelerator whose key and modifiers match exactly; 0 when none.
int translate_accelerator(const std::vector<EdxAccelerator>& table, int vk, bool ctrl, bool alt,
                          bool shift);

}  // namespace dz
