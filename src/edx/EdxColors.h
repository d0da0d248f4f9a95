#pragma once
// A registry of named skin colours (0x00BBGGRR), keyed like EdxImages; the first
// colour stored under a key stays.

#include <map>
#include <string>
#include <string_view>

#include "platform/Geometry.h"

namespace dz {

class EdxColors {
public:
    virtual ~EdxColors() = default;

    ColorRef GetSkinColour(std::string_view name, ColorRef fallback) const;
    // Stores the colour unless the key is taken; true when stored.
    bool SetColourIfAbsent(std::string_view name, ColorRef colour);
    void clear() { colours_.clear(); }
    std::size_t size() const { return colours_.size(); }

private:
    std::map<std::string, ColorRef> colours_;
};

}  // namespace dz
