#pragma once
// The ids of the user commands: the command table's rows, the menus' items, the
// accelerators and the commands posted to the worker. The values are the table's
// numbering and are compared and posted as plain ints; 12-13 and 39-40 are unused.
// From kCmdFirstSkin up an id is an item of the skins menu (kCmdFirstSkin + k is its
// k-th skin); those never reach the table.

namespace dz {

enum CommandId : int {
    kCmdNone = 0,  // no command (separators, a menu closed without a choice)

    // Playback
    kCmdPrevious = 1,
    kCmdPlay = 2,
    kCmdPause = 3,
    kCmdStop = 4,
    kCmdNext = 5,
    kCmdRestart = 6,
    kCmdJumpToEnd = 7,
    kCmdBack5 = 8,
    kCmdForward5 = 9,
    kCmdExit = 10,
    kCmdJumpToTune = 11,

    // Playlist editor: scrolling, cursor, selection
    kCmdPageUp = 14,
    kCmdPageDown = 15,
    kCmdCursorUp = 16,
    kCmdCursorDown = 17,
    kCmdExtendUp = 18,
    kCmdExtendDown = 19,
    kCmdPlayCursorRow = 20,
    kCmdScrollTop = 21,
    kCmdScrollBottom = 22,
    kCmdInvertSelection = 23,
    kCmdSelectNone = 24,
    kCmdSelectAll = 25,

    // Playlist contents and files
    kCmdClearPlaylist = 26,
    kCmdSavePlaylist = 27,
    kCmdOpenPlaylist = 28,
    kCmdCrop = 29,
    kCmdRemoveSelected = 30,
    kCmdSortByTitle = 31,
    kCmdSortByFileName = 32,
    kCmdSortByPath = 33,
    kCmdReverseList = 34,
    kCmdRandomizeList = 35,
    kCmdAddFiles = 36,
    kCmdAddUrl = 37,
    kCmdAddFolder = 38,

    // Options and window
    kCmdAlwaysOnTop = 41,
    kCmdDoubleSize = 42,
    kCmdEasyMove = 43,
    kCmdShuffle = 44,
    kCmdRepeat = 45,
    kCmdPlaylistEditor = 46,
    kCmdToggleTime = 47,
    kCmdShowElapsed = 48,
    kCmdShowRemaining = 49,
    kCmdMoveUp = 50,
    kCmdMoveDown = 51,
    kCmdMoveLeft = 52,
    kCmdMoveRight = 53,
    kCmdReloadSkins = 54,
    kCmdPreferences = 55,
    kCmdFileInfo = 56,
    kCmdAbout = 57,

    kCmdFirstSkin = 58,  // the first skin of the skins menu
};

}  // namespace dz
