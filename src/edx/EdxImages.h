#pragma once
// A registry of images by element name. Keys are the names with 'a'-'z' turned
// into 'A'-'Z' (every other byte unchanged) and compare bytewise; the first
// image stored under a key stays.

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "edx/EdxImage.h"

namespace dz {

// The element key of a name: ASCII lower case to upper case, other bytes as they are.
std::string MakeElementKey(std::string_view name);

class EdxImages {
public:
    virtual ~EdxImages() = default;

    // The image stored under the key of `name`, or null.
    EdxImage* lookup(std::string_view name) const;
    // Stores `image` unless the key is taken; returns false (and drops nothing of the
    // stored entry) when it was taken — `image` then stays with the caller.
    bool insert(std::string_view name, std::unique_ptr<EdxImage>& image);
    // Deletes every image.
    void clear() { images_.clear(); }
    std::size_t size() const { return images_.size(); }
    // Every entry, in key order.
    const std::map<std::string, std::unique_ptr<EdxImage>>& entries() const { return images_; }

private:
    std::map<std::string, std::unique_ptr<EdxImage>> images_;
};

}  // namespace dz
