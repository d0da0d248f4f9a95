#pragma once
// The folder the player runs in. The settings file (Dezidu.ini), the skins folder and the
// Japanese switch (japanese.ico) are looked up in the current folder; at start-up this
// chooses that folder.
//
// The player stays in the folder it was started from (a start from a terminal), except when
//   - the command line has --desktop (the desktop entry passes it), or
//   - the current folder cannot be read, is "/", or is not writable (a launcher that gives
//     no useful folder);
// then it runs in the data folder: $XDG_DATA_HOME/dezidu when XDG_DATA_HOME is an absolute
// path, else $HOME/.local/share/dezidu. With neither it stays where it is.
//
// The data folder is made on first use, and every default skin of the installed data
// (<prefix>/share/dezidu/skins) that its skins folder lacks is copied in; skins already
// there, changed or not, are left as they are.

#include <filesystem>
#include <string>

namespace dz {

struct RunFolderInputs {
    bool desktop_option = false;
    std::string cwd;  // empty when it cannot be read
    bool cwd_writable = false;
    std::string xdg_data_home;  // empty when unset
    std::string home;           // empty when unset
};

// The data folder to run in, or empty to stay in the current folder.
std::string ChooseRunFolder(const RunFolderInputs& in);

// Makes `folder` (with its parents) and copies each entry of `default_skins` that
// folder/skins lacks. A copy is written under a hidden name and then renamed, so an
// interrupted start never leaves half a skin. False when the folder cannot be made;
// a skin that cannot be copied is passed over.
bool PrepareRunFolder(const std::filesystem::path& folder,
                      const std::filesystem::path& default_skins);

// The installed data folder: <program's folder>/../share/dezidu (wherever the package was
// installed), else the one of the configured install prefix. Empty when neither holds a
// skins folder (a program run from its build folder).
std::filesystem::path InstalledDataFolder();

// Reads the environment and the current folder, applies the rule above, prepares the data
// folder and makes it the current folder. A data folder that cannot be made is reported on
// stderr and the player stays where it is. Returns the current folder afterwards (empty
// when it cannot be read).
std::filesystem::path EnterRunFolder(bool desktop_option);

}  // namespace dz
