// The skins folder: listing and lookup by name.
#include <gtest/gtest.h>

#include "SkinFiles.h"
#include "skin/SkinSelection.h"

namespace dz {
namespace {

namespace fs = std::filesystem;

// Each test runs inside the scratch folder as the current directory.
using SkinSelectionTest = test::InScratchDir;

TEST_F(SkinSelectionTest, FoldersAndArchivesAreListedAndFoundByName) {
    const fs::path skins = dir.folder("skins");
    dir.folder("skins/Base");
    dir.write("skins/Base.wsz", test::MakeZip({}));
    dir.write("skins/Funky.ZIP", test::MakeZip({}));
    dir.folder("skins/.hidden");
    dir.folder("skins/base.old");
    dir.write("skins/notes.txt", "x");
    dir.write("skins/Old.zip.bak", "x");

    EXPECT_EQ(ListSkinNames(skins), (std::vector<std::string>{"Base", "base.old", "Funky"}));
    EXPECT_TRUE(ListSkinNames(dir.base() / "missing").empty());

    auto found = [&](std::string_view name) {
        std::optional<SkinLocation> at = FindSkin(skins, name);
        return at ? at->path.filename().string() + (at->is_folder ? "/" : "") : "-";
    };
    EXPECT_EQ(found("Base"), "Base/");  // the folder comes before Base.wsz and base.old
    EXPECT_EQ(found("BASE"), "Base/");
    EXPECT_EQ(found("base.old"), "base.old/");
    EXPECT_EQ(found("Funky"), "Funky.ZIP");
    EXPECT_EQ(found("notes"), "-");  // neither a folder nor an archive
    EXPECT_EQ(found("Fun"), "-");
    EXPECT_EQ(found("*"), "-");  // names are not patterns
    EXPECT_EQ(found(""), "-");
    EXPECT_EQ(found(".hidden"), ".hidden/");

    // Without a folder of the exact name, "Base" takes Base.old.
    fs::remove(skins / "Base");
    fs::remove(skins / "Base.wsz");
    EXPECT_EQ(found("Base"), "base.old/");
}

}  // namespace
}  // namespace dz
