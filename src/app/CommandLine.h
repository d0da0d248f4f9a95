#pragma once
// The program's command line: dezidu [OPTION] [FILE|URL|FOLDER ...]. Pure parsing, no
// file system access: relative paths are joined to the start folder given by the caller.

#include <string>
#include <string_view>
#include <vector>

namespace dz {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    // Run: the arguments in order; local paths absolute, URLs as given, file:// URLs
    // turned into local paths.
    std::vector<std::string> paths;
    // Error: one line naming the bad argument.
    std::string error;
    // --desktop: run in the user's data folder (app/RunFolder.h), as the desktop entry asks.
    bool desktop = false;
};

// Parses the arguments after the program name. Any argument before "--" that starts with '-'
// (except "-" itself) is an option: "--help"/"-h", "--version"/"-V", "--desktop", or else an
// unknown option. An unknown option wins over help, help over version, and each of them over
// paths (which are then dropped). After "--" every argument is a path. Empty arguments
// are skipped. `start_dir` is absolute.
CommandLine parse_command_line(const std::vector<std::string>& args, std::string_view start_dir);

// The texts printed for --help and --version (each ends with a newline).
std::string command_line_help(std::string_view program);
std::string command_line_version();

}  // namespace dz
