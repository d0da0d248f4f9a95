#include "base/PathUtil.h"

#include <algorithm>
#include <system_error>

namespace dz {

namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool is_scheme_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
}

// Iterative matcher with one backtrack point for the last '*'.
bool match_simple(std::string_view p, std::string_view n) {
    size_t pi = 0, ni = 0;
    size_t star = std::string_view::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || lower(p[pi]) == lower(n[ni]))) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ni;
        } else if (star != std::string_view::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

}  // namespace

bool equals_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool contains_nocase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    for (size_t i = 0; i + part.size() <= text.size(); ++i)
        if (equals_nocase(text.substr(i, part.size()), part)) return true;
    return false;
}

std::string to_lower_ascii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lower(c);
    return out;
}

bool path_is_url(std::string_view path) {
    if (path.empty() || !((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z')))
        return false;
    size_t i = 0;
    while (i < path.size() && is_scheme_char(path[i])) ++i;
    return i >= 2 && i < path.size() && path[i] == ':';
}

std::string_view path_find_extension(std::string_view path) {
    const bool url = path_is_url(path);
    size_t dot = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (c == '\\' || c == ' ' || (c == '/' && !url))
            dot = std::string_view::npos;
        else if (c == '.')
            dot = i;
    }
    return dot == std::string_view::npos ? path.substr(path.size()) : path.substr(dot);
}

std::string_view path_strip_path(std::string_view path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if ((c == '/' || c == '\\' || c == ':') && i + 1 < path.size() && path[i + 1] != '/' &&
            path[i + 1] != '\\')
            start = i + 1;
    }
    return path.substr(start);
}

std::string_view path_file_name(std::string_view path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view path_remove_extension(std::string_view path) {
    return path.substr(0, path.size() - path_find_extension(path).size());
}

std::string path_combine(std::string_view dir, std::string_view name) {
    std::string joined;
    if (!name.empty() && name.front() == '/') {
        joined = name;
    } else {
        joined = dir;
        if (!joined.empty() && joined.back() != '/' && !name.empty()) joined += '/';
        joined += name;
    }
    const bool absolute = !joined.empty() && joined.front() == '/';
    const bool trailing = joined.size() > 1 && joined.back() == '/';
    std::vector<std::string_view> parts;
    std::string_view rest = joined;
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
            continue;
        }
        parts.push_back(part);
    }
    std::string out = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '/';
        out += parts[i];
    }
    if (trailing && !parts.empty()) out += '/';
    return out;
}

bool path_file_exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec);
}

bool wildcard_match(std::string_view pattern, std::string_view name) {
    if (match_simple(pattern, name)) return true;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
        return match_simple(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

std::vector<DirEntry> find_files(const std::filesystem::path& dir, std::string_view pattern) {
    std::vector<DirEntry> out;
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!wildcard_match(pattern, name)) continue;
        std::error_code type_ec;
        out.push_back({std::move(name), it->is_directory(type_ec)});
    }
    return out;
}

std::optional<std::filesystem::path> find_file_nocase(const std::filesystem::path& dir,
                                                      std::string_view name) {
    std::error_code ec;
    std::filesystem::path exact = dir / std::string(name);
    if (std::filesystem::exists(exact, ec)) return exact;
    std::optional<std::filesystem::path> found;
    std::filesystem::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (equals_nocase(it->path().filename().string(), name)) {
            // Several case variants: take the smallest name so the choice does
            // not depend on the directory order.
            if (!found || it->path().filename() < found->filename()) found = it->path();
        }
    }
    return found;
}

bool has_tune_extension(std::string_view path) {
    std::string_view ext = path_find_extension(path);
    return contains_nocase(ext, ".ptcop") || contains_nocase(ext, ".pttune");
}

std::vector<std::string> list_tune_files(const std::string& folder) {
    std::error_code ec;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code dir_ec;
        if (it->is_directory(dir_ec)) continue;
        std::string name = it->path().filename().string();
        if (has_tune_extension(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    std::string base = folder;
    if (base.empty() || (base.back() != '/' && base.back() != '\\')) base += '/';
    for (std::string& name : names) name = base + name;
    return names;
}

}  // namespace dz
