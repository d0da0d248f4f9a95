#include "player/TuneInfo.h"

#include "base/PathUtil.h"

namespace dz {

std::string file_title_of(std::string_view path) {
    return std::string(path_remove_extension(path_file_name(path)));
}

}  // namespace dz
