#pragma once
// The program's own texts: titles, the file type, prompts and menu items.
// A command string holds the status-bar prompt, then "\n" and the tooltip.

namespace pelto {

namespace appstr {

inline constexpr const char* kMainTitle = "Pelto Tool";
inline constexpr const char* kIdlePrompt = "ﾍﾙﾌﾟを表示するには [F1] を押してください。";

// File dialogs.
inline constexpr const char* kFilterName = "BITMAPFILE(..bmp)";
inline constexpr const char* kFilterExtension = ".bmp";
inline constexpr const char* kAllFilesFilterName = "すべてのﾌｧｲﾙ (*.*)";
inline constexpr const char* kOpenTitle = "開く";
inline constexpr const char* kSaveAsTitle = "名前を付けて保存";

// Printing from the command line.
inline constexpr const char* kMsgNoFileToPrint = "印刷するファイルが指定されていません。";

// Command strings.
inline constexpr const char* kCmdEditBgcolor = "背景色の選択\n背景色選択";
inline constexpr const char* kCmdEditMakebutton = "立体ボタン作成\nボタン作成";
inline constexpr const char* kCmdFileOpen = "既存のﾌｧｲﾙを開く\n開く";
inline constexpr const char* kCmdFileClose = "作業中のﾌｧｲﾙを閉じる\n閉じる";
inline constexpr const char* kCmdFileSave = "作業中のﾌｧｲﾙを保存\n保存";
inline constexpr const char* kCmdFileSaveAs = "作業中のﾌｧｲﾙに名前を付けて保存\n名前をつけて保存";
inline constexpr const char* kCmdRecentFile = "指定のﾌｧｲﾙを開く";
inline constexpr const char* kCmdEditUndo = "直前に行った動作を元に戻す\n元に戻す";
inline constexpr const char* kCmdWindowNew = "作業中のｳｨﾝﾄﾞｳを複写して表示\n新規ｳｨﾝﾄﾞｳ";
inline constexpr const char* kCmdWindowArrange = "ｳｨﾝﾄﾞｳの下部にｱｲｺﾝを整列\nｱｲｺﾝの整列";
inline constexpr const char* kCmdWindowCascade = "ｳｨﾝﾄﾞｳを重ねて表示\n重ねて表示";
inline constexpr const char* kCmdWindowTileHorz = "ｳｨﾝﾄﾞｳを上下に並べて表示\n上下に並べて表示";
inline constexpr const char* kCmdAppAbout = "ﾍﾙﾌﾟを表示\nﾍﾙﾌﾟ";
inline constexpr const char* kCmdAppExit = "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了";
inline constexpr const char* kCmdHelpFinder = "ﾄﾋﾟｯｸの検索\nﾄﾋﾟｯｸの検索";
inline constexpr const char* kCmdViewToolbar = "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示/非表示";
inline constexpr const char* kCmdViewStatusBar = "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示/非表示";
inline constexpr const char* kCmdViewZoomIn = "拡大して表示\n拡大";
inline constexpr const char* kCmdViewZoomOut = "縮小して表示\n縮小";
inline constexpr const char* kCmdViewZoomActual = "1 画素を 1 ﾄﾞｯﾄで表示\n等倍表示";
inline constexpr const char* kCmdViewZoomFit = "絵全体をｳｨﾝﾄﾞｳに合わせて表示\nｳｨﾝﾄﾞｳに合わせる";

// Menus.
inline constexpr const char* kMenuFile = "ﾌｧｲﾙ(&F)";
inline constexpr const char* kMenuEdit = "編集(&E)";
inline constexpr const char* kMenuView = "表示(&V)";
inline constexpr const char* kMenuWindow = "ｳｨﾝﾄﾞｳ(&W)";
inline constexpr const char* kMenuHelp = "ﾍﾙﾌﾟ(&H)";
inline constexpr const char* kItemFileOpen = "開く(&O)...";
inline constexpr const char* kItemFileClose = "閉じる(&C)";
inline constexpr const char* kItemFileSave = "上書き保存(&S)";
inline constexpr const char* kItemFileSaveAs = "名前を付けて保存(&A)...";
inline constexpr const char* kItemRecentFile = "最新のﾌｧｲﾙ";
inline constexpr const char* kItemAppExit = "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)";
inline constexpr const char* kItemEditUndo = "元に戻す(&U)";
inline constexpr const char* kItemEditBgcolor = "背景色の選択";
inline constexpr const char* kItemEditMakebutton = "ボタン作成";
inline constexpr const char* kItemViewToolbar = "ﾂｰﾙ ﾊﾞｰ(&T)";
inline constexpr const char* kItemViewStatusBar = "ｽﾃｰﾀｽ ﾊﾞｰ(&S)";
inline constexpr const char* kItemViewZoomIn = "拡大(&I)";
inline constexpr const char* kItemViewZoomOut = "縮小(&O)";
inline constexpr const char* kItemViewZoomActual = "等倍表示(&A)";
inline constexpr const char* kItemViewZoomFit = "ｳｨﾝﾄﾞｳに合わせる(&F)";
inline constexpr const char* kItemWindowNew = "新しいｳｨﾝﾄﾞｳを開く(&N)";
inline constexpr const char* kItemWindowCascade = "重ねて表示(&C)";
inline constexpr const char* kItemWindowTileHorz = "並べて表示(&T)";
inline constexpr const char* kItemWindowArrange = "ｱｲｺﾝの整列(&A)";
inline constexpr const char* kItemHelpFinder = "目次(&H)";
inline constexpr const char* kItemAppAbout = "ﾊﾞｰｼﾞｮﾝ情報(&A)...";

// Status-bar indicators.
inline constexpr const char* kIndicatorKana = "ｶﾅ";
inline constexpr const char* kIndicatorCaps = "CAP";
inline constexpr const char* kIndicatorNum = "NUM";
inline constexpr const char* kIndicatorScroll = "SCRL";

// About box.
inline constexpr const char* kAboutCaption = "ﾊﾞｰｼﾞｮﾝ情報(Pelto Tool)";
inline constexpr const char* kAboutVersion = "Pelto Tool   Version 1.1";
inline constexpr const char* kAboutNotice = "平らな絵から立体ボタンを作るツール";

} // namespace appstr

} // namespace pelto
