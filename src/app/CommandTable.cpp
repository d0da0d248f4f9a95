#include "app/CommandTable.h"

#include "app/TagUserData.h"

namespace dz {

namespace {

// Exit: the close request, as if the user closed the window; the worker finishes this
// command before it leaves its loop.
int command_exit(TAG_USERDATA* data) {
    if (data->main_window) data->main_window->request_close();
    return 0;
}

// Rows in table order. Columns: accelerator enabled, virtual key, ctrl, alt, shift, id, handler.
const CommandRow kCommandTable[] = {
    {0, 0, 0, 0, 0, kCommandExit, command_exit},
};

}  // namespace

std::span<const CommandRow> command_table() {
    return kCommandTable;
}

void dispatch_command(int id, TAG_USERDATA* data, std::span<const CommandRow> table) {
    if (id >= kFirstSkinCommand) {
        if (data->hooks.skin_menu_command) data->hooks.skin_menu_command(*data, id);
        return;
    }
    for (const CommandRow& row : table) {
        if (row.id == id) {
            if (row.handler) row.handler(data);
            return;
        }
    }
}

void dispatch_command(int id, TAG_USERDATA* data) {
    dispatch_command(id, data, command_table());
}

std::vector<EdxAccelerator> make_accelerators(std::span<const CommandRow> table) {
    std::vector<EdxAccelerator> out;
    for (const CommandRow& row : table) {
        if (row.accel_enabled != 1 || row.id == 0) continue;
        EdxAccelerator a;
        a.flags = EdxAccelerator::kVirtKey;
        if (row.ctrl) a.flags |= EdxAccelerator::kControl;
        if (row.alt) a.flags |= EdxAccelerator::kAlt;
        if (row.shift) a.flags |= EdxAccelerator::kShift;
        a.key = static_cast<std::uint16_t>(row.vk);
        a.command = static_cast<std::uint16_t>(row.id);
        out.push_back(a);
    }
    return out;
}

void build_accelerators(TAG_USERDATA* data) {
    if (data->world) data->world->accelerators = make_accelerators(command_table());
}

int translate_accelerator(const std::vector<EdxAccelerator>& table, int vk, bool ctrl, bool alt,
                          bool shift) {
    for (const EdxAccelerator& a : table) {
        if (a.key != vk) continue;
        if (((a.flags & EdxAccelerator::kControl) != 0) != ctrl) continue;
        if (((a.flags & EdxAccelerator::kAlt) != 0) != alt) continue;
        if (((a.flags & EdxAccelerator::kShift) != 0) != shift) continue;
        return a.command;
    }
    return 0;
}

}  // namespace dz
