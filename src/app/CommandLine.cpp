#include "app/CommandLine.h"

#include "base/PathUtil.h"

namespace dz {

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%XX" escapes decoded; a '%' without two hex digits stays as it is.
std::string percent_decode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int hi = hex_value(text[i + 1]), lo = hex_value(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// "." and ".." resolved lexically; no trailing '/' (folders are listed as folder + '/' + name).
std::string local_path(std::string_view dir, std::string_view name) {
    std::string path = path_combine(dir, name);
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// A local path, absolute; a file:// URL as the local path it names; other URLs
// (a scheme followed by "://") as given.
std::string resolve_argument(std::string_view arg, std::string_view start_dir) {
    constexpr std::string_view kFile = "file://";
    if (arg.size() > kFile.size() && equals_nocase(arg.substr(0, kFile.size()), kFile)) {
        std::string_view rest = arg.substr(kFile.size());
        // file:///path or file://localhost/path; other hosts are not local.
        if (rest.front() == '/') return local_path("/", percent_decode(rest));
        constexpr std::string_view kLocalhost = "localhost/";
        if (rest.size() > kLocalhost.size() &&
            equals_nocase(rest.substr(0, kLocalhost.size()), kLocalhost))
            return local_path("/", percent_decode(rest.substr(kLocalhost.size() - 1)));
        return std::string(arg);
    }
    if (path_is_url(arg) && arg.find("://") != std::string_view::npos) return std::string(arg);
    return local_path(start_dir, arg);
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args, std::string_view start_dir) {
    CommandLine result;
    bool options_end = false;
    for (const std::string& arg : args) {
        if (!options_end && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                options_end = true;
            } else if (arg == "--help" || arg == "-h") {
                if (result.action != CommandLine::Action::Error)
                    result.action = CommandLine::Action::Help;
            } else if (arg == "--version" || arg == "-V") {
                if (result.action == CommandLine::Action::Run)
                    result.action = CommandLine::Action::Version;
            } else if (arg == "--desktop") {
                result.desktop = true;
            } else if (result.action != CommandLine::Action::Error) {
                result.action = CommandLine::Action::Error;
                result.error = "unknown option '" + arg + "'";
            }
            continue;
        }
        if (arg.empty()) continue;
        result.paths.push_back(resolve_argument(arg, start_dir));
    }
    if (result.action != CommandLine::Action::Run) result.paths.clear();
    return result;
}

std::string command_line_help(std::string_view program) {
    std::string p(program);
    return "Usage: " + p + " [OPTION] [FILE|URL|FOLDER ...]\n" +
           "Plays pxtone tunes (.ptcop, .pttune).\n"
           "\n"
           "Tunes and URLs are added to the playlist, a playlist file (.ptlist) is opened\n"
           "and a folder adds the tunes directly inside it; the first new entry plays.\n"
           "When a player started from the same folder (the same settings file, Dezidu.ini)\n"
           "is running, the arguments go to it and its window is raised.\n"
           "\n"
           "The player keeps Dezidu.ini and its skins folder in the current folder. With\n"
           "--desktop, or when the current folder is / or not writable, it uses the data\n"
           "folder $XDG_DATA_HOME/dezidu (default ~/.local/share/dezidu) instead.\n"
           "\n"
           "  -h, --help     print this help and exit\n"
           "  -V, --version  print the version and exit\n"
           "  --desktop      run in the data folder (the desktop entry passes it)\n"
           "  --             the arguments after it are files, even when they start with '-'\n";
}

std::string command_line_version() {
    return "Dezidu " DEZIDU_VERSION "\n";
}

}  // namespace dz
