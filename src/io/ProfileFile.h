#pragma once
// A profile (INI) file held in memory: "[Section]" headers and "key=value"
// lines, read and changed with the rules of the Windows profile-string
// functions, then written back whole.
//
// Rules:
// - Section and key names match without regard to ASCII case. Names and values
//   lose their surrounding blanks (space, tab, CR, VT, FF).
// - Lines whose first non-blank character is ';' are comments; lines without
//   '=' are ignored; both are kept as they are when the file is rewritten.
// - A key that appears twice in a section: the first one counts (reads and
//   writes). A section that appears twice: the first one counts for reads and
//   writes; deleting a section removes every section of that name.
// - Values are byte strings; nothing is converted.
// - A write replaces the value where the key stands (keeping the key's
//   spelling), or adds "key=value" after the last non-blank line of the
//   section; a missing section is added at the end as "[Section]" and the key.
// - Line ends: lines keep their bytes (a CR before the LF included); lines
//   the writer adds end in CR LF when the file's first line does, else in LF.
//   Every line, the last included, ends with LF. A leading UTF-8 byte-order
//   mark is kept.
// - CR and LF inside written names and values become blanks, so a value can
//   never start a new line (and inject keys or sections). A key that is empty,
//   holds '=' or starts with '[' or ';' is not written.
//
// Changes touch only the memory copy; save() writes the whole file once, so
// any number of writes costs one file write. Loading, applying writes one by
// one with a save after each, and loading, applying them all and saving once
// produce the same bytes.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dz {

class ProfileFile {
public:
    ProfileFile() = default;

    static ProfileFile parse(std::string_view text);
    // A missing file gives an empty profile; a file that exists but cannot be
    // read gives nothing, so that a writer never replaces a file it could not
    // read.
    static std::optional<ProfileFile> load(const std::filesystem::path& path);
    // Like load(), but an unreadable file also gives an empty profile.
    static ProfileFile load_or_empty(const std::filesystem::path& path);

    // Loads the file at `path` (a missing one as empty), applies `change` and saves it.
    // False, and the file untouched, when it cannot be read (larger than
    // kMaxReadBytes, not a regular file, ...), is read-only or cannot be written;
    // each such reason is said on stderr once per file and process, so a
    // settings file that cannot take changes does not swallow them silently.
    static bool update(const std::filesystem::path& path,
                       const std::function<void(ProfileFile&)>& change);

    std::string serialize() const;
    // Writes the whole file through a temporary file and a rename.
    bool save(const std::filesystem::path& path) const;

    // The value of a key: blanks around it removed, enclosing quotes (" or ')
    // kept. Nothing when the key or its section is missing.
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;

    // GetPrivateProfileString: the value without enclosing quotes (or the
    // default without trailing blanks), cut to buffer_size - 1 bytes.
    std::string get_string(std::string_view section, std::string_view key,
                           std::string_view default_value, size_t buffer_size) const;

    // GetPrivateProfileInt: the decimal number at the start of the value, with
    // an optional sign; a value without digits gives 0; an empty value or a
    // missing key gives the default. Values beyond the int range saturate.
    int get_int(std::string_view section, std::string_view key, int default_value) const;

    bool has_section(std::string_view section) const;
    // The key names of a section in file order (duplicates included).
    std::vector<std::string> keys(std::string_view section) const;

    // WritePrivateProfileString with a key and a value.
    void write_string(std::string_view section, std::string_view key, std::string_view value);
    // WritePrivateProfileString with a key and no value: removes the key line.
    void delete_key(std::string_view section, std::string_view key);
    // WritePrivateProfileString with no key: removes the section(s) with
    // their header and every line up to the next section.
    void delete_section(std::string_view section);

private:
    struct Section {
        bool has_header = false;         // false only for the lines before the first header
        std::string folded_name;         // name in lower case
        std::vector<std::string> lines;  // lines[0] is the header when has_header
        std::unordered_map<std::string, size_t> index;  // folded key -> first line
    };

    static void index_section(Section& section);
    bool crlf() const;  // the first line ends in CR LF
    const Section* find_section(std::string_view section) const;
    Section* find_section(std::string_view section);

    std::vector<Section> sections_;
    bool bom_ = false;
};

// One-call forms over a file path (each call reads the file; each write call
// rewrites it whole).
std::string profile_get_string(const std::filesystem::path& path, std::string_view section,
                               std::string_view key, std::string_view default_value,
                               size_t buffer_size);
int profile_get_int(const std::filesystem::path& path, std::string_view section,
                    std::string_view key, int default_value);
// key == nullopt deletes the section; value == nullopt deletes the key.
bool profile_write_string(const std::filesystem::path& path, std::string_view section,
                          std::optional<std::string_view> key,
                          std::optional<std::string_view> value);

}  // namespace dz
