#include "ui/menus/MenuTable.h"

namespace dz {

namespace {

constexpr MenuRowKind C = MenuRowKind::Command;
constexpr MenuRowKind S = MenuRowKind::Separator;
constexpr MenuRowKind M = MenuRowKind::Submenu;

// clang-format off
constexpr MenuRow kRows[] = {
    {0, C, kCmdAbout, -1, "Dezidu(&P)...", "Dezidu..."},
    {0, S, kCmdNone, -1, "", ""},
    {0, M, kCmdNone, 3, "再生(&P)", "Play"},
    {0, C, kCmdFileInfo, -1, "ファイル情報を表示(&F)...\tI", "View File info...\tI"},
    {0, S, kCmdNone, -1, "", ""},
    {0, C, kCmdPlaylistEditor, -1, "プレイリスト エディタ(&E)\tAlt+E", "Playlist Editor\tAlt+E"},
    {0, S, kCmdNone, -1, "", ""},
    {0, M, kCmdNone, 1, "オプション", "Options"},
    {0, M, kCmdNone, 2, "スキン", "Skins"},
    {0, S, kCmdNone, -1, "", ""},
    {0, C, kCmdExit, -1, "終了(&X)", "Exit\tAlt+F4"},
    {3, C, kCmdAddFiles, -1, "ファイル(&F)...\tL", "File...\tL"},
    {3, C, kCmdAddUrl, -1, "URL(&U)...\tCtrl+L", "URL...\tCtrl+L"},
    {3, C, kCmdAddFolder, -1, "フォルダ(&F)...\tShift+L", "Folder...\tShift+L"},
    {1, C, kCmdPreferences, -1, "設定(&P)...\tCtrl+P", "Preferences...\tCtrl+P"},
    {1, M, kCmdNone, 2, "スキン", "Skins"},
    {1, S, kCmdNone, -1, "", ""},
    {1, C, kCmdShowElapsed, -1, "経過時間(&E)\tCtrl+Tで切り替え", "Time enlapded\tCtrl+T toggles"},
    {1, C, kCmdShowRemaining, -1, "残り時間(&E)\tCtrl+Tで切り替え", "Time remaining\tCtrl+T toggles"},
    {1, S, kCmdNone, -1, "", ""},
    {1, C, kCmdAlwaysOnTop, -1, "常に手前に表示(&A)\tA", "Always On Top\tA"},
    {1, C, kCmdDoubleSize, -1, "ダブルサイズにする(&D)\tD", "Double Size\tD"},
    {1, C, kCmdEasyMove, -1, "簡易ウインドウ移動(&E)\tE", "EasyMove\tE"},
    {1, S, kCmdNone, -1, "", ""},
    {1, C, kCmdRepeat, -1, "繰り返す(&R)\tR", "Repeat\tR"},
    {1, C, kCmdShuffle, -1, "シャッフル(&S)\tS", "Shuffle\tS"},
    {2, C, kCmdReloadSkins, -1, "スキンフォルダを再読み込み(&R)", "Reload Skins Folder"},
    {2, S, kCmdNone, -1, "", ""},
    {4, C, kCmdPrevious, -1, "前の曲へ(&P)\tクリック", "Previous\tClick"},
    {4, C, kCmdRestart, -1, "リストの先頭に移動(&S)\tCtrl+クリック", "Start of list\tCtrl+Click"},
    {4, C, kCmdBack5, -1, "5秒戻る(&R)\tShift+クリック", "Rewind 5 seconds\tShift+Click"},
    {5, C, kCmdPlay, -1, "再生/再々生(&P)\tクリック", "Play/restart\tClick"},
    {5, C, kCmdAddUrl, -1, "URL を開く(&U)...\tCtrl+クリック", "Open URL...\tCtrl+Click"},
    {5, C, kCmdAddFiles, -1, "ファイルを開く(&F)...\tShift+クリック", "Open file...\tShift+Click"},
    {6, C, kCmdPause, -1, "一時停止/一時停止解除(&P)\tクリック", "Puase/Unpause\tClick"},
    {7, C, kCmdStop, -1, "停止(&S)\tクリック", "Stop\tClick"},
    {8, C, kCmdNext, -1, "次の曲へ(&N)\tクリック", "Next\tClick"},
    {8, C, kCmdForward5, -1, "5秒進む(&F)\tShift+クリック", "Fastforward 5 seconds\tShift+Click"},
    {8, C, kCmdJumpToEnd, -1, "リスト終端へ移動(&E)\tCtrl+クリック", "End of list\tCtrl+Click"},
    {10, C, kCmdPlayCursorRow, -1, "選択項目の再生\tEnter", "Play item(s)\tEnter"},
    {10, S, kCmdNone, -1, "", ""},
    {10, C, kCmdRemoveSelected, -1, "項目を削除\tDelete", "Remove item(s)\tDelete"},
    {10, C, kCmdCrop, -1, "未選択ファイルを削除\tCtrl+Delete", "Crop files\tCtrl+Delete"},
    {10, S, kCmdNone, -1, "", ""},
    {10, C, kCmdFileInfo, -1, "ファイル情報を表示(&V)...\tI", "View File info...\tI"},
    {9, C, kCmdPlaylistEditor, -1, "プレイリスト エディタ(&E)\tAlt+E", "Playlist Editor\tAlt+E"},
    {11, C, kCmdRepeat, -1, "繰り返し(&R)\tR", "Repeat\tR"},
    {12, C, kCmdShuffle, -1, "シャッフル(&S)\tS", "Shuffle\tS"},
    {13, C, kCmdShowElapsed, -1, "経過時間(&E)\tCtrl+Tで切り替え", "Time enlapded\tCtrl+T toggles"},
    {13, C, kCmdShowRemaining, -1, "残り時間(&E)\tCtrl+Tで切り替え", "Time remaining\tCtrl+T toggles"},
    {14, C, kCmdSortByTitle, -1, "タイトルでリストを並び替え(&T)", "Sort list by title\tCtrl+1"},
    {14, C, kCmdSortByFileName, -1, "ファイル名でリストを並び替え(&F)", "Sort list by filename\tCtrl+2"},
    {14, C, kCmdSortByPath, -1, "パスおよびファイル名でリストを並び替え(&P)", "Sort list by path and filename\tCtrl+3"},
    {14, S, kCmdNone, -1, "", ""},
    {14, C, kCmdReverseList, -1, "逆順に並び替え(&E)\tCtrl+R", "Reverse list\tCtrl+R"},
    {14, C, kCmdRandomizeList, -1, "ランダムに並び替え(&R)", "Randomize list\tCtrl+Shift+R"},
    {15, C, kCmdAddFiles, -1, "ファイルの追加\tL", "Add file(s)\tL"},
    {15, C, kCmdAddFolder, -1, "フォルダの追加\tShift+L", "Add folder\tShift+L"},
    {15, C, kCmdAddUrl, -1, "URL の追加\tCtrl+L", "Add URL\tCtrl+L"},
    {16, C, kCmdRemoveSelected, -1, "選択項目を削除\tDelete", "Remove selected\tDelete"},
    {16, C, kCmdCrop, -1, "未選択項目を消去\tCtrl+Delete", "Crop selected\tCtrl+Delete"},
    {16, C, kCmdClearPlaylist, -1, "プレイリストをクリア\tCtrl+Shift+Delete", "Clear playlist\tCtrl+Shift+Delete"},
    {17, C, kCmdSelectAll, -1, "すべて選択\tCtrl+A", "Select all\tCtrl+A"},
    {17, C, kCmdSelectNone, -1, "選択解除", "Select none"},
    {17, C, kCmdInvertSelection, -1, "選択の反転\tCtrl+I", "Invert selection\tCtrl+I"},
    {18, M, kCmdNone, 14, "並べ替え", "Sort"},
    {19, C, kCmdOpenPlaylist, -1, "プレイリストを開く...\tCtrl+O", "Open playlist...\tCtrl+O"},
    {19, C, kCmdSavePlaylist, -1, "プレイリストの保存...\tCtrl+S", "Save playlist...\tCtrl+S"},
    {19, C, kCmdClearPlaylist, -1, "新規プレイリスト(クリア)\tCtrl+N", "New playlist(clear)\tCtrl+N"},
};
// clang-format on

static_assert(std::size(kRows) == 69);

}  // namespace

std::span<const MenuRow> menu_table() {
    return kRows;
}

}  // namespace dz
