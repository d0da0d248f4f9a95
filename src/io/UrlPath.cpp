#include "io/UrlPath.h"

#include "base/PathUtil.h"

namespace dz {

bool path_or_url_exists(const std::string& path, HttpClient& http) {
    if (path_is_url(path)) return http.exists(path);
    return path_file_exists(path);
}

}  // namespace dz
