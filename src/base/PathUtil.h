#pragma once
// Path helpers, shared by the player, the file and skin modules above it, with the
// rules of the Windows shell functions the player was designed around (PathFindExtension,
// PathStripPath, PathRemoveExtension, PathIsURL, PathCombine, FindFirstFile patterns). Paths are
// UTF-8 with '/'. Letter case is folded for ASCII only; other bytes compare as they are.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dz {

// The longest path taken, in bytes of its UTF-8 text: PATH_MAX less the terminating zero.
inline constexpr std::size_t kMaxPathBytes = 4095;

// ASCII case-insensitive equality and substring search (StrStrI).
bool equals_nocase(std::string_view a, std::string_view b);
bool contains_nocase(std::string_view text, std::string_view part);
std::string to_lower_ascii(std::string_view text);

// A scheme of at least two characters (a letter, then letters, digits, '+',
// '-', '.') followed by ':'. "http://x/a.ptcop" is a URL; "C:/x", "/tmp/a" and
// "12:30.ptcop" are not.
bool path_is_url(std::string_view path);

// The extension: from the last '.' to the end, or an empty view at the end of
// the text when there is none. A '/' (local paths only), a '\' or a blank after
// the dot cancels it. A URL is taken as one component, so its whole text is
// searched ("http://h/a.ptcop?x=1" -> ".ptcop?x=1").
std::string_view path_find_extension(std::string_view path);

// True when path_find_extension of `path` contains ".ptcop" or ".pttune", ignoring case.
bool has_tune_extension(std::string_view path);

// The files directly in `folder` (not its sub-folders) whose names have a tune
// extension, as folder + '/' + name, in byte order of the names (directory order
// differs between file systems). Empty when the folder cannot be read.
std::vector<std::string> list_tune_files(const std::string& folder);

// The last component: the part after the last '/', '\' or ':' that is
// followed by more text. "a/b/c.ptcop" -> "c.ptcop"; "a/b/" -> "b/".
std::string_view path_strip_path(std::string_view path);

// The part after the last '/' or '\\' (the whole text when there is none).
// Unlike path_strip_path, a ':' is part of the name: Linux file names may hold
// one ("a/Intro: part 1.ptcop" -> "Intro: part 1.ptcop").
std::string_view path_file_name(std::string_view path);

// The path without what path_find_extension finds.
std::string_view path_remove_extension(std::string_view path);

// Joins a folder and a name: an absolute name (leading '/') stands alone;
// otherwise one '/' joins them. "." and ".." components are then resolved
// lexically ("a/./b/../c" -> "a/c"); ".." never climbs above the root.
std::string path_combine(std::string_view dir, std::string_view name);

// A file or folder exists at `path` (PathFileExists).
bool path_file_exists(const std::string& path);

// Matches a file name against a FindFirstFile pattern: '*' any run of
// characters, '?' one character, ASCII letters without regard to case. A
// pattern ending in ".*" also matches the name without that dot
// ("main.*" matches "MAIN", "main.bmp" and "Main.Cur", not "mainx.bmp").
bool wildcard_match(std::string_view pattern, std::string_view name);

struct DirEntry {
    std::string name;  // file name only
    bool is_dir = false;
};

// The entries of `dir` whose names match `pattern`, in the order the file
// system returns them. A missing or unreadable folder gives none.
std::vector<DirEntry> find_files(const std::filesystem::path& dir, std::string_view pattern);

// The path of the entry of `dir` named `name` without regard to case (an exact
// match wins); nothing when there is none.
std::optional<std::filesystem::path> find_file_nocase(const std::filesystem::path& dir,
                                                      std::string_view name);

}  // namespace dz
