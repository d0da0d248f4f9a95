#include "player/TuneInfo.h"

#include "player/PathUtil.h"

namespace dz {

std::string file_title_of(std::string_view path) {
    return std::string(path_remove_extension(path_file_name(path)));
}

bool has_tune_extension(std::string_view path) {
    std::string_view ext = path_find_extension(path);
    return contains_nocase(ext, ".ptcop") || contains_nocase(ext, ".pttune");
}

}  // namespace dz
