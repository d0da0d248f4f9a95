#include "app/SkinChoice.h"

#include <optional>
#include <string>

#include "skin/SkinImageDecoder.h"
#include "skin/SkinSelection.h"
#include "state/CommandId.h"
#include "state/HookCalls.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

// skin_name and the texts of skin items hold at most 259 bytes.
constexpr std::size_t kMaxSkinName = 259;

}  // namespace

SkinRegistries RegistriesOf(TAG_USERDATA& data) {
    static SkinImageDecoder own_decoder;  // stateless
    ImageDecoder& decoder =
        data.services.image_decoder ? *data.services.image_decoder : own_decoder;
    return SkinRegistries{data.skin, decoder, data.main_window, nullptr};
}

void SelectSkin(std::string_view name, TAG_USERDATA& data) {
    data.skin_name = std::string(name.substr(0, kMaxSkinName));
    const std::optional<SkinLocation> skin = FindSkin(SkinsFolder(), data.skin_name);
    if (!skin) return;
    SkinRegistries registries = RegistriesOf(data);
    if (skin->is_folder) {
        LoadSkinFolder(registries, skin->path);
    } else {
        LoadSkinArchive(registries, skin->path);
    }
}

void SkinMenuCommand(TAG_USERDATA& data, int id) {
    const std::shared_ptr<Menu>& menu = data.menus[2];
    if (!menu || id < kCmdFirstSkin || data.skin_menu_base < 0) return;
    const std::size_t position = static_cast<std::size_t>(data.skin_menu_base) +
                                 static_cast<std::size_t>(id - kCmdFirstSkin);
    if (position >= menu->items.size()) return;
    const MenuItem& item = menu->items[position];
    if (item.separator || item.submenu) return;
    const std::string text = item.text.substr(0, kMaxSkinName);
    if (text == data.skin_name) return;
    SelectSkin(text, data);
    refresh_menu_checks(data);
    save_settings(data);
}

}  // namespace dz
