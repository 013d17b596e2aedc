#pragma once
// The program's own texts: titles, the file type, prompts and menu items,
// each shown through Tr so a translation can stand in for it.
// A command string holds the status-bar prompt, then "\n" and the tooltip.

#include <QCoreApplication>
#include <QString>

namespace pelto {

namespace appstr {

inline QString Tr(const char* text) {
    return QCoreApplication::translate("pelto::appstr", text);
}

inline constexpr const char* kMainTitle = QT_TRANSLATE_NOOP("pelto::appstr", "Pelto Tool");
inline constexpr const char* kIdlePrompt =
    QT_TRANSLATE_NOOP("pelto::appstr", "ﾍﾙﾌﾟを表示するには [F1] を押してください。");

// File dialogs.
inline constexpr const char* kFilterName = QT_TRANSLATE_NOOP("pelto::appstr", "BITMAPFILE(..bmp)");
inline constexpr const char* kFilterExtension = ".bmp";
inline constexpr const char* kPngFilterName = QT_TRANSLATE_NOOP("pelto::appstr", "PNGFILE(..png)");
inline constexpr const char* kPngExtension = ".png";
inline constexpr const char* kPictureFilterName =
    QT_TRANSLATE_NOOP("pelto::appstr", "画像ﾌｧｲﾙ(..bmp;..png)");
inline constexpr const char* kMsgTransparencyLost = QT_TRANSLATE_NOOP(
    "pelto::appstr",
    "BMP ファイルには透明な部分を保存できません。透明な部分を白にして保存しますか？");
inline constexpr const char* kMsgStyleKeepsPicks =
    QT_TRANSLATE_NOOP("pelto::appstr", "絵の上で選んだ背景の点もスタイルに保存しますか？");
inline constexpr const char* kMsgStyleKeepsTransparent = QT_TRANSLATE_NOOP(
    "pelto::appstr", "背景として選ばれている透明な画素もスタイルに保存しますか？");
inline constexpr const char* kAllFilesFilterName =
    QT_TRANSLATE_NOOP("pelto::appstr", "すべてのﾌｧｲﾙ (*.*)");
inline constexpr const char* kOpenTitle = QT_TRANSLATE_NOOP("pelto::appstr", "開く");
inline constexpr const char* kSaveAsTitle = QT_TRANSLATE_NOOP("pelto::appstr", "名前を付けて保存");

// Printing from the command line.
inline constexpr const char* kMsgNoFileToPrint =
    QT_TRANSLATE_NOOP("pelto::appstr", "印刷するファイルが指定されていません。");

// Command strings.
inline constexpr const char* kCmdEditBgcolor =
    QT_TRANSLATE_NOOP("pelto::appstr", "背景色の選択\n背景色選択");
inline constexpr const char* kCmdEditMakebutton =
    QT_TRANSLATE_NOOP("pelto::appstr", "立体ボタン作成\nボタン作成");
inline constexpr const char* kCmdFileOpen =
    QT_TRANSLATE_NOOP("pelto::appstr", "既存のﾌｧｲﾙを開く\n開く");
inline constexpr const char* kCmdFileClose =
    QT_TRANSLATE_NOOP("pelto::appstr", "作業中のﾌｧｲﾙを閉じる\n閉じる");
inline constexpr const char* kCmdFileSave =
    QT_TRANSLATE_NOOP("pelto::appstr", "作業中のﾌｧｲﾙを保存\n保存");
inline constexpr const char* kCmdFileSaveAs =
    QT_TRANSLATE_NOOP("pelto::appstr", "作業中のﾌｧｲﾙに名前を付けて保存\n名前をつけて保存");
inline constexpr const char* kCmdFileExportStates =
    QT_TRANSLATE_NOOP("pelto::appstr", "今の値で通常・ホバー・押下・無効のボタンとそのスプライト、C"
                                       "SS を書き出す\nボタン一式の書き出し");
inline constexpr const char* kCmdRecentFile =
    QT_TRANSLATE_NOOP("pelto::appstr", "指定のﾌｧｲﾙを開く");
inline constexpr const char* kCmdEditUndo =
    QT_TRANSLATE_NOOP("pelto::appstr", "直前に行った動作を元に戻す\n元に戻す");
inline constexpr const char* kCmdEditRedo =
    QT_TRANSLATE_NOOP("pelto::appstr", "直前に元に戻した動作をやり直す\nやり直し");
inline constexpr const char* kCmdEditCutOut = QT_TRANSLATE_NOOP(
    "pelto::appstr", "選択した背景を透明にし、図形の縁から背景の色を取り除く\n背景を透明にする");
inline constexpr const char* kCmdWindowNew =
    QT_TRANSLATE_NOOP("pelto::appstr", "作業中のｳｨﾝﾄﾞｳを複写して表示\n新規ｳｨﾝﾄﾞｳ");
inline constexpr const char* kCmdWindowArrange =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｳｨﾝﾄﾞｳの下部にｱｲｺﾝを整列\nｱｲｺﾝの整列");
inline constexpr const char* kCmdWindowCascade =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｳｨﾝﾄﾞｳを重ねて表示\n重ねて表示");
inline constexpr const char* kCmdWindowTileHorz =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｳｨﾝﾄﾞｳを上下に並べて表示\n上下に並べて表示");
inline constexpr const char* kCmdAppAbout = QT_TRANSLATE_NOOP("pelto::appstr", "ﾍﾙﾌﾟを表示\nﾍﾙﾌﾟ");
inline constexpr const char* kCmdAppExit =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了");
inline constexpr const char* kCmdHelpFinder =
    QT_TRANSLATE_NOOP("pelto::appstr", "ﾄﾋﾟｯｸの検索\nﾄﾋﾟｯｸの検索");
inline constexpr const char* kCmdViewToolbar =
    QT_TRANSLATE_NOOP("pelto::appstr", "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示/非表示");
inline constexpr const char* kCmdViewStatusBar =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示/非表示");
inline constexpr const char* kCmdViewZoomIn =
    QT_TRANSLATE_NOOP("pelto::appstr", "拡大して表示\n拡大");
inline constexpr const char* kCmdViewZoomOut =
    QT_TRANSLATE_NOOP("pelto::appstr", "縮小して表示\n縮小");
inline constexpr const char* kCmdViewZoomActual =
    QT_TRANSLATE_NOOP("pelto::appstr", "1 画素を 1 ﾄﾞｯﾄで表示\n等倍表示");
inline constexpr const char* kCmdViewZoomFit =
    QT_TRANSLATE_NOOP("pelto::appstr", "絵全体をｳｨﾝﾄﾞｳに合わせて表示\nｳｨﾝﾄﾞｳに合わせる");

// Menus.
inline constexpr const char* kMenuFile = QT_TRANSLATE_NOOP("pelto::appstr", "ﾌｧｲﾙ(&F)");
inline constexpr const char* kMenuEdit = QT_TRANSLATE_NOOP("pelto::appstr", "編集(&E)");
inline constexpr const char* kMenuView = QT_TRANSLATE_NOOP("pelto::appstr", "表示(&V)");
inline constexpr const char* kMenuWindow = QT_TRANSLATE_NOOP("pelto::appstr", "ｳｨﾝﾄﾞｳ(&W)");
inline constexpr const char* kMenuHelp = QT_TRANSLATE_NOOP("pelto::appstr", "ﾍﾙﾌﾟ(&H)");
inline constexpr const char* kItemFileOpen = QT_TRANSLATE_NOOP("pelto::appstr", "開く(&O)...");
inline constexpr const char* kItemFileClose = QT_TRANSLATE_NOOP("pelto::appstr", "閉じる(&C)");
inline constexpr const char* kItemFileSave = QT_TRANSLATE_NOOP("pelto::appstr", "上書き保存(&S)");
inline constexpr const char* kItemFileSaveAs =
    QT_TRANSLATE_NOOP("pelto::appstr", "名前を付けて保存(&A)...");
inline constexpr const char* kItemFileExportStates =
    QT_TRANSLATE_NOOP("pelto::appstr", "ボタン一式の書き出し…");
inline constexpr const char* kItemRecentFile = QT_TRANSLATE_NOOP("pelto::appstr", "最新のﾌｧｲﾙ");
inline constexpr const char* kItemAppExit =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)");
inline constexpr const char* kItemEditUndo = QT_TRANSLATE_NOOP("pelto::appstr", "元に戻す(&U)");
inline constexpr const char* kItemEditRedo = QT_TRANSLATE_NOOP("pelto::appstr", "やり直し(&R)");
inline constexpr const char* kItemEditBgcolor = QT_TRANSLATE_NOOP("pelto::appstr", "背景色の選択");
inline constexpr const char* kItemEditMakebutton = QT_TRANSLATE_NOOP("pelto::appstr", "ボタン作成");
inline constexpr const char* kItemEditCutOut =
    QT_TRANSLATE_NOOP("pelto::appstr", "背景を透明にする");
inline constexpr const char* kItemViewToolbar = QT_TRANSLATE_NOOP("pelto::appstr", "ﾂｰﾙ ﾊﾞｰ(&T)");
inline constexpr const char* kItemViewStatusBar =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)");
inline constexpr const char* kItemViewZoomIn = QT_TRANSLATE_NOOP("pelto::appstr", "拡大(&I)");
inline constexpr const char* kItemViewZoomOut = QT_TRANSLATE_NOOP("pelto::appstr", "縮小(&O)");
inline constexpr const char* kItemViewZoomActual =
    QT_TRANSLATE_NOOP("pelto::appstr", "等倍表示(&A)");
inline constexpr const char* kItemViewZoomFit =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｳｨﾝﾄﾞｳに合わせる(&F)");
inline constexpr const char* kItemWindowNew =
    QT_TRANSLATE_NOOP("pelto::appstr", "新しいｳｨﾝﾄﾞｳを開く(&N)");
inline constexpr const char* kItemWindowCascade =
    QT_TRANSLATE_NOOP("pelto::appstr", "重ねて表示(&C)");
inline constexpr const char* kItemWindowTileHorz =
    QT_TRANSLATE_NOOP("pelto::appstr", "並べて表示(&T)");
inline constexpr const char* kItemWindowArrange =
    QT_TRANSLATE_NOOP("pelto::appstr", "ｱｲｺﾝの整列(&A)");
inline constexpr const char* kItemHelpFinder = QT_TRANSLATE_NOOP("pelto::appstr", "目次(&H)");
inline constexpr const char* kItemAppAbout =
    QT_TRANSLATE_NOOP("pelto::appstr", "ﾊﾞｰｼﾞｮﾝ情報(&A)...");

// Button styles.
inline constexpr const char* kItemEditSaveStyle =
    QT_TRANSLATE_NOOP("pelto::appstr", "スタイルの保存(&Y)...");
inline constexpr const char* kCmdEditSaveStyle = QT_TRANSLATE_NOOP(
    "pelto::appstr",
    "ボタンの角度、幅、コントラスト、形と輪郭の位置をスタイル ﾌｧｲﾙに保存\nスタイルの保存");
inline constexpr const char* kItemEditLoadStyle =
    QT_TRANSLATE_NOOP("pelto::appstr", "スタイルの読み込み(&L)...");
inline constexpr const char* kCmdEditLoadStyle = QT_TRANSLATE_NOOP(
    "pelto::appstr", "スタイル ﾌｧｲﾙからボタンの値と背景を読み込む\nスタイルの読み込み");
inline constexpr const char* kStyleFilterName =
    QT_TRANSLATE_NOOP("pelto::appstr", "スタイル ﾌｧｲﾙ(..json)");
inline constexpr const char* kStyleExtension = ".json";
inline constexpr const char* kSaveStyleTitle = QT_TRANSLATE_NOOP("pelto::appstr", "スタイルの保存");
inline constexpr const char* kLoadStyleTitle =
    QT_TRANSLATE_NOOP("pelto::appstr", "スタイルの読み込み");

// The language menu; each language is named in itself, never translated.
inline constexpr const char* kMenuLanguage = QT_TRANSLATE_NOOP("pelto::appstr", "言語(&L)");
inline constexpr const char* kLanguageJapanese = "日本語";
inline constexpr const char* kLanguageEnglish = "English";

// Status-bar indicators.
inline constexpr const char* kIndicatorKana = QT_TRANSLATE_NOOP("pelto::appstr", "ｶﾅ");
inline constexpr const char* kIndicatorCaps = QT_TRANSLATE_NOOP("pelto::appstr", "CAP");
inline constexpr const char* kIndicatorNum = QT_TRANSLATE_NOOP("pelto::appstr", "NUM");
inline constexpr const char* kIndicatorScroll = QT_TRANSLATE_NOOP("pelto::appstr", "SCRL");

// About box.
inline constexpr const char* kAboutCaption =
    QT_TRANSLATE_NOOP("pelto::appstr", "ﾊﾞｰｼﾞｮﾝ情報(Pelto Tool)");
inline constexpr const char* kAboutVersion =
    QT_TRANSLATE_NOOP("pelto::appstr", "Pelto Tool   Version %1");
inline constexpr const char* kAboutNotice =
    QT_TRANSLATE_NOOP("pelto::appstr", "平らな絵から立体ボタンを作るツール");

} // namespace appstr

} // namespace pelto
