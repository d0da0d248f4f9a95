#include "app/RunFolder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace dz {

namespace fs = std::filesystem;

namespace {

std::string EnvOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool IsAbsolute(std::string_view p) {
    return !p.empty() && p.front() == '/';
}

// Copies `from` to `to` through a hidden name beside `to`.
void CopyWhole(const fs::path& from, const fs::path& to) {
    const fs::path part =
        to.parent_path() / ("." + to.filename().string() + ".part" + std::to_string(getpid()));
    std::error_code ec;
    fs::remove_all(part, ec);
    fs::copy(from, part, fs::copy_options::recursive, ec);
    if (!ec) fs::rename(part, to, ec);
    if (ec) fs::remove_all(part, ec);
}

}  // namespace

std::string ChooseRunFolder(const RunFolderInputs& in) {
    const bool cwd_useful =
        !in.cwd.empty() && fs::path(in.cwd).lexically_normal() != "/" && in.cwd_writable;
    if (!in.desktop_option && cwd_useful) return {};
    if (IsAbsolute(in.xdg_data_home)) return (fs::path(in.xdg_data_home) / "dezidu").string();
    if (IsAbsolute(in.home)) return (fs::path(in.home) / ".local/share/dezidu").string();
    return {};
}

bool PrepareRunFolder(const fs::path& folder, const fs::path& default_skins) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) return false;
    if (default_skins.empty()) return true;
    const fs::path skins = folder / "skins";
    fs::create_directories(skins, ec);
    for (fs::directory_iterator it(default_skins, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path target = skins / it->path().filename();
        std::error_code exists_ec;
        if (fs::exists(fs::symlink_status(target, exists_ec))) continue;
        CopyWhole(it->path(), target);
    }
    return true;
}

fs::path InstalledDataFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path beside = (exe.parent_path() / DEZIDU_DATADIR_FROM_BINDIR).lexically_normal();
        if (fs::is_directory(beside / "skins", ec)) return beside;
    }
    const fs::path configured = DEZIDU_INSTALL_DATADIR;
    if (fs::is_directory(configured / "skins", ec)) return configured;
    return {};
}

fs::path EnterRunFolder(bool desktop_option) {
    std::error_code ec;
    RunFolderInputs in;
    in.desktop_option = desktop_option;
    const fs::path cwd = fs::current_path(ec);
    if (!ec) in.cwd = cwd.string();
    in.cwd_writable = !in.cwd.empty() && access(in.cwd.c_str(), W_OK) == 0;
    in.xdg_data_home = EnvOrEmpty("XDG_DATA_HOME");
    in.home = EnvOrEmpty("HOME");
    const std::string folder = ChooseRunFolder(in);
    if (folder.empty()) return ec ? fs::path() : cwd;

    const fs::path data = InstalledDataFolder();
    if (!PrepareRunFolder(folder, data.empty() ? fs::path() : data / "skins") ||
        chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "dezidu: cannot use the data folder %s; staying in %s\n",
                     folder.c_str(), in.cwd.empty() ? "the current folder" : in.cwd.c_str());
        return ec ? fs::path() : cwd;
    }
    std::error_code now_ec;
    const fs::path now = fs::current_path(now_ec);
    return now_ec ? fs::path() : now;
}

}  // namespace dz
