#include "io/ProfileFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <mutex>
#include <set>
#include <utility>

#include "base/PathUtil.h"
#include "base/RegularFile.h"
#include "io/AtomicFile.h"

namespace dz {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trim_right(std::string_view s) {
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string_view> header_name(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    size_t close = t.rfind(']');
    if (close == std::string_view::npos || close == 0) return std::nullopt;
    return trim(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> key_line(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() == ';') return std::nullopt;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view key = trim(t.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return KeyLine{key, trim(t.substr(eq + 1))};
}

std::string one_line(std::string_view text) {
    std::string out(text);
    std::replace(out.begin(), out.end(), '\n', ' ');
    std::replace(out.begin(), out.end(), '\r', ' ');
    return out;
}

std::string_view strip_quotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string cut(std::string_view v, size_t buffer_size) {
    if (buffer_size == 0) return {};
    return std::string(v.substr(0, std::min(v.size(), buffer_size - 1)));
}

int leading_int(std::string_view v) {
    size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) negative = v[i++] == '-';
    long long n = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
        n = n * 10 + (v[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-n);
    return static_cast<int>(std::min<long long>(n, INT_MAX));
}

}  // namespace

ProfileFile ProfileFile::parse(std::string_view text) {
    ProfileFile file;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        file.bom_ = true;
        text.remove_prefix(3);
    }
    file.sections_.push_back(Section{});
    while (!text.empty()) {
        size_t nl = text.find('\n');
        // A line keeps every byte before its LF, the CR of a CR LF included.
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        if (auto name = header_name(line)) {
            Section section;
            section.has_header = true;
            section.folded_name = to_lower_ascii(*name);
            file.sections_.push_back(std::move(section));
        }
        file.sections_.back().lines.emplace_back(line);
    }
    for (Section& s : file.sections_) index_section(s);
    return file;
}

std::optional<ProfileFile> ProfileFile::load(const std::filesystem::path& path) {
    bool missing = false;
    std::optional<std::string> text = read_whole_file(path, &missing);
    if (text) return parse(*text);
    if (missing) return ProfileFile{};
    return std::nullopt;
}

namespace {

// Says on stderr, once per file and reason in this process, that changes to `path` are
// not saved.
void report_unsaved(const std::filesystem::path& path, const std::string& reason) {
    static std::mutex mutex;
    static std::set<std::string> said;
    const std::lock_guard<std::mutex> lock(mutex);
    if (!said.insert(path.string() + '\0' + reason).second) return;
    std::fprintf(stderr, "dezidu: %s: %s; changes to it are not saved\n", path.c_str(),
                 reason.c_str());
}

}  // namespace

bool ProfileFile::update(const std::filesystem::path& path,
                         const std::function<void(ProfileFile&)>& change) {
    std::string text;
    const ReadFileStatus status = read_regular_file(path, kMaxReadBytes, text);
    if (status == ReadFileStatus::TooLarge) {
        report_unsaved(path, "larger than " + std::to_string(kMaxReadBytes >> 20) + " MiB");
        return false;
    }
    if (status != ReadFileStatus::Ok && status != ReadFileStatus::Missing) {
        report_unsaved(path, describe(status));
        return false;
    }
    if (file_is_read_only(path)) {
        report_unsaved(path, "read-only");
        return false;
    }
    ProfileFile file = parse(text);
    change(file);
    if (file.save(path)) return true;
    report_unsaved(path, "cannot be written");
    return false;
}

ProfileFile ProfileFile::load_or_empty(const std::filesystem::path& path) {
    std::optional<ProfileFile> file = load(path);
    return file ? std::move(*file) : ProfileFile{};
}

std::string ProfileFile::serialize() const {
    size_t size = bom_ ? 3 : 0;
    for (const Section& s : sections_)
        for (const std::string& line : s.lines) size += line.size() + 1;
    std::string out;
    out.reserve(size);
    if (bom_) out += "\xEF\xBB\xBF";
    for (const Section& s : sections_)
        for (const std::string& line : s.lines) {
            out += line;
            out += '\n';
        }
    return out;
}

bool ProfileFile::save(const std::filesystem::path& path) const {
    return write_file_atomically(path, serialize());
}

void ProfileFile::index_section(Section& section) {
    section.index.clear();
    for (size_t i = section.has_header ? 1 : 0; i < section.lines.size(); ++i)
        if (auto kl = key_line(section.lines[i]))
            section.index.try_emplace(to_lower_ascii(kl->key), i);
}

bool ProfileFile::crlf() const {
    for (const Section& s : sections_)
        if (!s.lines.empty()) return s.lines.front().ends_with('\r');
    return false;
}

const ProfileFile::Section* ProfileFile::find_section(std::string_view section) const {
    std::string folded = to_lower_ascii(trim(section));
    for (const Section& s : sections_)
        if (s.has_header && s.folded_name == folded) return &s;
    return nullptr;
}

ProfileFile::Section* ProfileFile::find_section(std::string_view section) {
    return const_cast<Section*>(std::as_const(*this).find_section(section));
}

std::optional<std::string_view> ProfileFile::find(std::string_view section,
                                                  std::string_view key) const {
    const Section* s = find_section(section);
    if (!s) return std::nullopt;
    auto it = s->index.find(to_lower_ascii(trim(key)));
    if (it == s->index.end()) return std::nullopt;
    return key_line(s->lines[it->second])->value;
}

std::string ProfileFile::get_string(std::string_view section, std::string_view key,
                                    std::string_view default_value, size_t buffer_size) const {
    if (auto value = find(section, key)) return cut(strip_quotes(*value), buffer_size);
    return cut(trim_right(default_value), buffer_size);
}

int ProfileFile::get_int(std::string_view section, std::string_view key, int default_value) const {
    auto value = find(section, key);
    if (!value) return default_value;
    std::string_view v = strip_quotes(*value);
    if (v.empty()) return default_value;
    return leading_int(v);
}

bool ProfileFile::has_section(std::string_view section) const {
    return find_section(section) != nullptr;
}

std::vector<std::string> ProfileFile::keys(std::string_view section) const {
    std::vector<std::string> out;
    const Section* s = find_section(section);
    if (!s) return out;
    for (size_t i = 1; i < s->lines.size(); ++i)
        if (auto kl = key_line(s->lines[i])) out.emplace_back(kl->key);
    return out;
}

void ProfileFile::write_string(std::string_view section, std::string_view key,
                               std::string_view value) {
    const std::string clean_section = one_line(trim(section));
    const std::string clean_key = one_line(trim(key));
    const std::string clean_value = one_line(value);
    const std::string folded_key = to_lower_ascii(clean_key);
    // A key that would read back as something else (a header, a comment, a
    // shorter key) is not written.
    if (clean_key.empty() || clean_key.front() == '[' || clean_key.front() == ';' ||
        clean_key.find('=') != std::string::npos)
        return;

    const std::string cr = crlf() ? "\r" : "";
    Section* s = find_section(clean_section);
    if (!s) {
        Section fresh;
        fresh.has_header = true;
        fresh.folded_name = to_lower_ascii(clean_section);
        fresh.lines.push_back("[" + clean_section + "]" + cr);
        fresh.lines.push_back(clean_key + "=" + clean_value + cr);
        fresh.index.emplace(folded_key, 1);
        sections_.push_back(std::move(fresh));
        return;
    }
    auto it = s->index.find(folded_key);
    if (it != s->index.end()) {
        std::string& line = s->lines[it->second];
        std::string spelled(key_line(line)->key);
        const bool had_cr = !line.empty() && line.back() == '\r';
        line = spelled + "=" + clean_value + (had_cr ? "\r" : "");
        return;
    }
    // After the last non-blank line, so blank lines that separate this section
    // from the next stay in place. Only blank lines move, so the index holds.
    size_t at = s->lines.size();
    while (at > 1 && trim(s->lines[at - 1]).empty()) --at;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at),
                    clean_key + "=" + clean_value + cr);
    s->index.emplace(folded_key, at);
}

void ProfileFile::delete_key(std::string_view section, std::string_view key) {
    Section* s = find_section(section);
    if (!s) return;
    auto it = s->index.find(to_lower_ascii(trim(key)));
    if (it == s->index.end()) return;
    s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
    index_section(*s);
}

void ProfileFile::delete_section(std::string_view section) {
    std::string folded = to_lower_ascii(trim(section));
    std::erase_if(sections_,
                  [&](const Section& s) { return s.has_header && s.folded_name == folded; });
}

std::string profile_get_string(const std::filesystem::path& path, std::string_view section,
                               std::string_view key, std::string_view default_value,
                               size_t buffer_size) {
    return ProfileFile::load_or_empty(path).get_string(section, key, default_value, buffer_size);
}

int profile_get_int(const std::filesystem::path& path, std::string_view section,
                    std::string_view key, int default_value) {
    return ProfileFile::load_or_empty(path).get_int(section, key, default_value);
}

bool profile_write_string(const std::filesystem::path& path, std::string_view section,
                          std::optional<std::string_view> key,
                          std::optional<std::string_view> value) {
    return ProfileFile::update(path, [&](ProfileFile& file) {
        if (!key)
            file.delete_section(section);
        else if (!value)
            file.delete_key(section, *key);
        else
            file.write_string(section, *key, *value);
    });
}

}  // namespace dz
