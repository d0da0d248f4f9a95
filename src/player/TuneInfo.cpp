#include "player/TuneInfo.h"

#include <cctype>

namespace dz {

namespace {

bool is_separator(char c) {
    return c == '/' || c == '\\';
}

std::string lower_ascii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string extension_of(const std::string& path) {
    std::size_t dot = std::string::npos;
    for (std::size_t k = 0; k < path.size(); ++k) {
        char c = path[k];
        if (is_separator(c) || c == ' ')
            dot = std::string::npos;
        else if (c == '.')
            dot = k;
    }
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string file_title_of(const std::string& path) {
    std::size_t start = 0;
    for (std::size_t k = 0; k < path.size(); ++k)
        if (is_separator(path[k])) start = k + 1;
    std::string stripped = path.substr(start);
    std::string ext = extension_of(stripped);
    return stripped.substr(0, stripped.size() - ext.size());
}

bool is_url(const std::string& path) {
    std::size_t colon = path.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    if (!std::isalpha(static_cast<unsigned char>(path[0]))) return false;
    for (std::size_t k = 1; k < colon; ++k) {
        unsigned char c = static_cast<unsigned char>(path[k]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

bool has_tune_extension(const std::string& path) {
    std::string ext = lower_ascii(extension_of(path));
    return ext.find(".ptcop") != std::string::npos || ext.find(".pttune") != std::string::npos;
}

}  // namespace dz
