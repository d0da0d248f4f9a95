#pragma once
// Element names of skin files and the kind of file a name stands for.
//
// The element name of a file or archive member is its name cut to 259 bytes, without
// its folder part (everything up to the last '/', '\' or ':' that is followed by more
// text) and without its extension: "Skin/main.BMP" gives "main". Registries key it with
// MakeElementKey (ASCII upper case), so "main" and "MAIN" are one element.
//
// The kind comes from the extension (from the last '.', unless a ' ', '/' or '\' follows
// it), tested without regard to case for containing, in this order:
//
// | Extension holds | Kind                                                           |
// |-----------------|----------------------------------------------------------------|
// | ".BMP"          | bitmap                                                         |
// | ".CUR"          | cursor (CUR or ANI data)                                       |
// | ".TXT"          | the element name holds "PLEDIT", "VISCOLOR" or "REGION" (first |
// |                 | match in this order, case ignored); other text files: ignored |
// | anything else   | ignored (.ani files are loaded from skin folders only)         |
//
// Only the elements the windows look up are decoded; a skin's other bitmaps and cursors
// are passed over unread:
//
// | Kind   | Elements                                                                   |
// |--------|----------------------------------------------------------------------------|
// | bitmap | MAIN CBUTTONS PLAYPAUS MONOSTER POSBAR SHUFREP VOLUME TITLEBAR NUMS_EX      |
// |        | NUMBERS TEXT PLEDIT                                                        |
// | cursor | NORMAL CLOSE MIN MMENU MAINMENU WINBUT WSNORMAL WSPOSBAR TITLEBAR VOLBAL   |
// |        | SONGNAME PNORMAL PCLOSE PWINBUT PWSNORM PSIZE PTBAR PVSCROLL               |

#include <string>
#include <string_view>

namespace dz {

enum class SkinFileKind { kIgnored, kBitmap, kCursor, kPleditTxt, kViscolorTxt, kRegionTxt };

// ASCII case-insensitive substring test.
bool ContainsNoCase(std::string_view text, std::string_view part);
// The extension of a name, with its dot; empty when there is none.
std::string_view NameExtension(std::string_view name);
std::string ElementNameOf(std::string_view name);
SkinFileKind ClassifySkinFile(std::string_view name);
// The element (any case) is one the windows look up as a bitmap, or as a cursor.
bool IsUsedBitmap(std::string_view element);
bool IsUsedCursor(std::string_view element);
// The reason given for a file or member whose element is not used.
inline constexpr const char* kUnusedElement = "not an element the player uses";

// A bitmap of this element name makes the TEXT colours be taken (it holds "TEXT").
bool IsTextColourTrigger(std::string_view element);

}  // namespace dz
