#include "edx/EdxImages.h"

namespace dz {

std::string MakeElementKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return key;
}

EdxImage* EdxImages::lookup(std::string_view name) const {
    auto it = images_.find(MakeElementKey(name));
    return it == images_.end() ? nullptr : it->second.get();
}

bool EdxImages::insert(std::string_view name, std::unique_ptr<EdxImage>& image) {
    if (!image) return false;
    auto [it, added] = images_.try_emplace(MakeElementKey(name));
    if (!added) return false;
    it->second = std::move(image);
    return true;
}

}  // namespace dz
