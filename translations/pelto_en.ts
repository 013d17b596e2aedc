<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>pelto::CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>pelto::CBackgroundDlg</name>
    <message>
        <source>背景色の選択</source>
        <translation>Select Background Colour</translation>
    </message>
    <message>
        <source>色の違いの許容範囲(&amp;C)</source>
        <translation>&amp;Colour tolerance</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>隣接部分のみ(&amp;N)</source>
        <translation>Co&amp;nnected only</translation>
    </message>
</context>
<context>
    <name>pelto::CButtonDlg</name>
    <message>
        <source>立体ボタン作成</source>
        <translation>Make a Raised Button</translation>
    </message>
    <message>
        <source>光源の角度</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>度</source>
        <translation>°</translation>
    </message>
    <message>
        <source>ボタンの幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>ピクセル</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>ボタンの形</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>カット型</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>ラウンド型</source>
        <translation>Round</translation>
    </message>
    <message>
        <source>ボタンの輪郭の位置</source>
        <translation>Band lies</translation>
    </message>
    <message>
        <source>内周</source>
        <translation>Inside</translation>
    </message>
    <message>
        <source>外周</source>
        <translation>Outside</translation>
    </message>
    <message>
        <source>コントラスト</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>プレビュー(&amp;P)</source>
        <translation>&amp;Preview</translation>
    </message>
</context>
<context>
    <name>pelto::CButtonStatesDlg</name>
    <message>
        <source>通常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>ホバー</source>
        <translation>Hover</translation>
    </message>
    <message>
        <source>押下</source>
        <translation>Pressed</translation>
    </message>
    <message>
        <source>無効</source>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>ボタン一式の書き出し</source>
        <translation>Export Button States</translation>
    </message>
    <message>
        <source>書き出し(&amp;W)...</source>
        <translation>&amp;Write...</translation>
    </message>
</context>
<context>
    <name>pelto::CDataExchange</name>
    <message>
        <source>正の整数を入力してください。</source>
        <translation>Enter a positive whole number.</translation>
    </message>
    <message>
        <source>%1 から %2 までの整数を入力してください。</source>
        <translation>Enter a whole number from %1 to %2.</translation>
    </message>
</context>
<context>
    <name>pelto::CMainFrame</name>
    <message>
        <source>%1:%2</source>
        <translation>%1:%2</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
</context>
<context>
    <name>pelto::CPeltoView</name>
    <message>
        <source>選択範囲を指定してください</source>
        <translation>Select the background first.</translation>
    </message>
</context>
<context>
    <name>pelto::DialogLayout</name>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>pelto::MessageBox</name>
    <message>
        <source>%1 への変更を保存しますか？</source>
        <translation>Save the changes to %1?</translation>
    </message>
</context>
<context>
    <name>pelto::ViewZoom</name>
    <message>
        <source>%1 %</source>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>pelto::WebPage</name>
    <message>
        <source>PNG で保存</source>
        <translation>Save as PNG</translation>
    </message>
    <message>
        <source>BMP で保存</source>
        <translation>Save as BMP</translation>
    </message>
    <message>
        <source>透明な部分を選択</source>
        <translation>Select the transparent parts</translation>
    </message>
    <message>
        <source>選択の解除</source>
        <translation>Clear the selection</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>BMP または PNG の絵を開くか、ここにドロップしてください。</source>
        <translation>Open a BMP or PNG picture, or drop one here.</translation>
    </message>
    <message>
        <source>絵: クリックするか、矢印キーで十字を動かして Enter を押すと背景を選択します。</source>
        <translation>Picture: click it, or move the crosshair with the arrow keys and press Enter, to pick the background.</translation>
    </message>
    <message>
        <source>位置 %1, %2</source>
        <translation>Position %1, %2</translation>
    </message>
    <message>
        <source>エンジンを読み込めませんでした。</source>
        <translation>The engine could not be loaded.</translation>
    </message>
    <message>
        <source>%1°、左からの光</source>
        <translation>%1°, light from the left</translation>
    </message>
    <message>
        <source>%1°、左上からの光</source>
        <translation>%1°, light from the upper left</translation>
    </message>
    <message>
        <source>%1°、上からの光</source>
        <translation>%1°, light from above</translation>
    </message>
    <message>
        <source>%1°、右上からの光</source>
        <translation>%1°, light from the upper right</translation>
    </message>
    <message>
        <source>%1°、右からの光</source>
        <translation>%1°, light from the right</translation>
    </message>
    <message>
        <source>%1°、右下からの光</source>
        <translation>%1°, light from the lower right</translation>
    </message>
    <message>
        <source>%1°、下からの光</source>
        <translation>%1°, light from below</translation>
    </message>
    <message>
        <source>%1°、左下からの光</source>
        <translation>%1°, light from the lower left</translation>
    </message>
    <message>
        <source>処理中…</source>
        <translation>Working…</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>マウスで試せます:</source>
        <translation>Try it with the mouse:</translation>
    </message>
</context>
<context>
    <name>pelto::appstr</name>
    <message>
        <source>Pelto Tool</source>
        <translation>Pelto Tool</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟを表示するには [F1] を押してください。</source>
        <translation>For Help, press F1</translation>
    </message>
    <message>
        <source>BITMAPFILE(..bmp)</source>
        <translation>Bitmap files (.bmp)</translation>
    </message>
    <message>
        <source>PNGFILE(..png)</source>
        <translation>PNG files (.png)</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙ(..bmp;..png)</source>
        <translation>Pictures (.bmp, .png)</translation>
    </message>
    <message>
        <source>BMP ファイルには透明な部分を保存できません。透明な部分を白にして保存しますか？</source>
        <translation>A BMP file cannot keep the transparent parts. Save it with them made white?</translation>
    </message>
    <message>
        <source>絵の上で選んだ背景の点もスタイルに保存しますか？</source>
        <translation>Keep the points picked on the picture in the style, as its background?</translation>
    </message>
    <message>
        <source>背景として選ばれている透明な画素もスタイルに保存しますか？</source>
        <translation>Keep the transparent pixels in the style, as its background?</translation>
    </message>
    <message>
        <source>すべてのﾌｧｲﾙ (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>印刷するファイルが指定されていません。</source>
        <translation>No file to print was named.</translation>
    </message>
    <message>
        <source>背景色の選択
背景色選択</source>
        <translation>Select the background colour
Select background</translation>
    </message>
    <message>
        <source>立体ボタン作成
ボタン作成</source>
        <translation>Make a raised button
Make button</translation>
    </message>
    <message>
        <source>既存のﾌｧｲﾙを開く
開く</source>
        <translation>Open an existing file
Open</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙを閉じる
閉じる</source>
        <translation>Close the active file
Close</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙを保存
保存</source>
        <translation>Save the active file
Save</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙに名前を付けて保存
名前をつけて保存</source>
        <translation>Save the active file under a new name
Save As</translation>
    </message>
    <message>
        <source>指定のﾌｧｲﾙを開く</source>
        <translation>Open this file</translation>
    </message>
    <message>
        <source>直前に行った動作を元に戻す
元に戻す</source>
        <translation>Undo the last action
Undo</translation>
    </message>
    <message>
        <source>直前に元に戻した動作をやり直す
やり直し</source>
        <translation>Redo the last action undone
Redo</translation>
    </message>
    <message>
        <source>作業中のｳｨﾝﾄﾞｳを複写して表示
新規ｳｨﾝﾄﾞｳ</source>
        <translation>Open another window on the active file
New Window</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳの下部にｱｲｺﾝを整列
ｱｲｺﾝの整列</source>
        <translation>Arrange the icons at the bottom of the window
Arrange Icons</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳを重ねて表示
重ねて表示</source>
        <translation>Arrange the windows overlapping
Cascade</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳを上下に並べて表示
上下に並べて表示</source>
        <translation>Arrange the windows one above the other
Tile</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟを表示
ﾍﾙﾌﾟ</source>
        <translation>Show the program information
About</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示
終了</source>
        <translation>Quit the program, asking to save the files
Exit</translation>
    </message>
    <message>
        <source>ﾄﾋﾟｯｸの検索
ﾄﾋﾟｯｸの検索</source>
        <translation>Show the help topics
Help Topics</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰの表示/非表示
ﾂｰﾙ ﾊﾞｰの表示/非表示</source>
        <translation>Show or hide the toolbar
Toggle Toolbar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示
ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示</source>
        <translation>Show or hide the status bar
Toggle Status Bar</translation>
    </message>
    <message>
        <source>拡大して表示
拡大</source>
        <translation>Show the picture larger
Zoom In</translation>
    </message>
    <message>
        <source>縮小して表示
縮小</source>
        <translation>Show the picture smaller
Zoom Out</translation>
    </message>
    <message>
        <source>1 画素を 1 ﾄﾞｯﾄで表示
等倍表示</source>
        <translation>Show one picture pixel on one dot
Actual Size</translation>
    </message>
    <message>
        <source>絵全体をｳｨﾝﾄﾞｳに合わせて表示
ｳｨﾝﾄﾞｳに合わせる</source>
        <translation>Fit the whole picture into the window
Fit to Window</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳ(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>最新のﾌｧｲﾙ</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>背景色の選択</source>
        <translation>Select Background Colour</translation>
    </message>
    <message>
        <source>背景を透明にする</source>
        <translation>Make Background Transparent</translation>
    </message>
    <message>
        <source>選択した背景を透明にし、図形の縁から背景の色を取り除く
背景を透明にする</source>
        <translation>Make the selected background transparent and take its colour off the shape&apos;s edge
Make Background Transparent</translation>
    </message>
    <message>
        <source>ボタン作成</source>
        <translation>Make Button</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰ(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰ(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>拡大(&amp;I)</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>縮小(&amp;O)</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>等倍表示(&amp;A)</source>
        <translation>&amp;Actual Size</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳに合わせる(&amp;F)</source>
        <translation>&amp;Fit to Window</translation>
    </message>
    <message>
        <source>新しいｳｨﾝﾄﾞｳを開く(&amp;N)</source>
        <translation>&amp;New Window</translation>
    </message>
    <message>
        <source>重ねて表示(&amp;C)</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>並べて表示(&amp;T)</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>ｱｲｺﾝの整列(&amp;A)</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
    <message>
        <source>目次(&amp;H)</source>
        <translation>&amp;Help Topics</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Pelto Tool...</translation>
    </message>
    <message>
        <source>ｶﾅ</source>
        <translation>KANA</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(Pelto Tool)</source>
        <translation>About Pelto Tool</translation>
    </message>
    <message>
        <source>Pelto Tool   Version %1</source>
        <translation>Pelto Tool   Version %1</translation>
    </message>
    <message>
        <source>平らな絵から立体ボタンを作るツール</source>
        <translation>Makes raised buttons out of flat pictures</translation>
    </message>
    <message>
        <source>スタイルの保存(&amp;Y)...</source>
        <translation>Save St&amp;yle...</translation>
    </message>
    <message>
        <source>ボタンの角度、幅、コントラスト、形と輪郭の位置をスタイル ﾌｧｲﾙに保存
スタイルの保存</source>
        <translation>Save the button&apos;s angle, width, contrast, profile and band to a style file
Save Style</translation>
    </message>
    <message>
        <source>スタイルの読み込み(&amp;L)...</source>
        <translation>&amp;Load Style...</translation>
    </message>
    <message>
        <source>スタイル ﾌｧｲﾙからボタンの値と背景を読み込む
スタイルの読み込み</source>
        <translation>Load the button&apos;s values and background from a style file
Load Style</translation>
    </message>
    <message>
        <source>スタイル ﾌｧｲﾙ(..json)</source>
        <translation>Style files (.json)</translation>
    </message>
    <message>
        <source>スタイルの保存</source>
        <translation>Save Style</translation>
    </message>
    <message>
        <source>スタイルの読み込み</source>
        <translation>Load Style</translation>
    </message>
    <message>
        <source>言語(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>今の値で通常・ホバー・押下・無効のボタンとそのスプライト、CSS を書き出す
ボタン一式の書き出し</source>
        <translation>Write the normal, hover, pressed and disabled buttons of the current values, their sprite and CSS
Export Button States</translation>
    </message>
    <message>
        <source>ボタン一式の書き出し…</source>
        <translation>Export Button States…</translation>
    </message>
</context>
<context>
    <name>pelto::document</name>
    <message>
        <source>予期しないﾌｧｲﾙ形式です。</source>
        <translation>Unexpected file format.</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>ファイルが空で、画像がありません。</source>
        <translation>The file is empty: there is no picture in it.</translation>
    </message>
    <message>
        <source>標準入力</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>標準出力</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダが見つかりません。</source>
        <translation>No such file or folder.</translation>
    </message>
    <message>
        <source>アクセスが拒否されました。</source>
        <translation>Access denied.</translation>
    </message>
    <message>
        <source>ディスクの空き容量が足りません。</source>
        <translation>Not enough space on the disk.</translation>
    </message>
    <message>
        <source>読み取り専用の場所です。</source>
        <translation>The place is read-only.</translation>
    </message>
    <message>
        <source>ファイル名が長すぎます。</source>
        <translation>The file name is too long.</translation>
    </message>
    <message>
        <source>パスの途中がフォルダではありません。</source>
        <translation>A part of the path is not a folder.</translation>
    </message>
    <message>
        <source>シンボリックリンクが循環しています。</source>
        <translation>The symbolic links form a loop.</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます。</source>
        <translation>The file is too large.</translation>
    </message>
    <message>
        <source>入出力エラーが発生しました。</source>
        <translation>An input/output error occurred.</translation>
    </message>
    <message>
        <source>フォルダは画像として開けません。</source>
        <translation>A folder cannot be opened as a picture.</translation>
    </message>
    <message>
        <source>同じ名前のフォルダがあります。</source>
        <translation>A folder of the same name is in the way.</translation>
    </message>
    <message>
        <source>出力先のパイプを読み取るプログラムがありません。</source>
        <translation>No program reads the pipe written to.</translation>
    </message>
    <message>
        <source>出力先のパイプが途中で閉じられました。</source>
        <translation>The pipe written to was closed on the way.</translation>
    </message>
    <message>
        <source>出力先はソケットです。ソケットには保存できません。</source>
        <translation>The output is a socket: nothing can be saved to a socket.</translation>
    </message>
    <message>
        <source>%1 を開けません。</source>
        <translation>Cannot open %1.</translation>
    </message>
    <message>
        <source>%1 に保存できません。</source>
        <translation>Cannot save to %1.</translation>
    </message>
    <message>
        <source>元のファイルは変更されていません。</source>
        <translation>The original file is unchanged.</translation>
    </message>
    <message>
        <source>元のファイルを元に戻せませんでした。</source>
        <translation>The original file could not be put back.</translation>
    </message>
    <message>
        <source>元の内容は %1 に残してあります。</source>
        <translation> Its old content is kept in %1.</translation>
    </message>
    <message>
        <source>%1 はボタンのスタイルとして読めません。</source>
        <translation>%1 cannot be read as a button style.</translation>
    </message>
    <message>
        <source>%1 バイト目で JSON の書き方が違います。</source>
        <translation>The JSON is malformed at byte %1.</translation>
    </message>
    <message>
        <source>JSON のオブジェクト { … } ではありません。</source>
        <translation>It is not a JSON object { … }.</translation>
    </message>
    <message>
        <source>バージョン %1 のスタイルには対応していません。</source>
        <translation>Styles of version %1 are not supported.</translation>
    </message>
    <message>
        <source>「%1」がありません。</source>
        <translation>&quot;%1&quot; is missing.</translation>
    </message>
    <message>
        <source>「%1」はスタイルの項目ではありません。</source>
        <translation>&quot;%1&quot; is not a key of a style.</translation>
    </message>
    <message>
        <source>「%1」が 2 回あります。</source>
        <translation>&quot;%1&quot; is given twice.</translation>
    </message>
    <message>
        <source>点 %1 は %2 の画像の外にあります。</source>
        <translation>The point %1 lies outside the %2 picture.</translation>
    </message>
    <message>
        <source>「%1」の入れ子が深すぎます。</source>
        <translation>&quot;%1&quot; is nested too deeply.</translation>
    </message>
    <message>
        <source>「%1」の値が正しくありません。</source>
        <translation>The value of &quot;%1&quot; is not right.</translation>
    </message>
    <message>
        <source>%1〜%2 の整数にしてください。</source>
        <translation>It must be a whole number from %1 to %2.</translation>
    </message>
    <message>
        <source>%1 のどちらかにしてください。</source>
        <translation>It must be one of %1.</translation>
    </message>
    <message>
        <source>&quot;transparent&quot; か、x, y, tolerance を持つ点の並び（1 つ以上）にしてください。</source>
        <translation>It must be &quot;transparent&quot; or a list of one or more points with x, y and tolerance.</translation>
    </message>
</context>
<context>
    <name>pelto::image</name>
    <message>
        <source>フォーマットが違います</source>
        <translation>Not a BMP or PNG file</translation>
    </message>
    <message>
        <source>フルカラービットマップではありません</source>
        <translation>Not a full-colour (24-bit) bitmap</translation>
    </message>
    <message>
        <source>ビットマップのフォーマットがサポートされていない形式です</source>
        <translation>This bitmap format is not supported</translation>
    </message>
    <message>
        <source>PNG ファイルが壊れています</source>
        <translation>The PNG file is damaged</translation>
    </message>
    <message>
        <source>PNG ファイルのフォーマットがサポートされていない形式です</source>
        <translation>This PNG format is not supported</translation>
    </message>
    <message>
        <source>PNG ファイルの画像が大きすぎます</source>
        <translation>The PNG picture is too large</translation>
    </message>
    <message>
        <source>PNG ファイルのデータが多すぎます</source>
        <translation>The PNG file holds too much data</translation>
    </message>
</context>
<context>
    <name>pelto::print</name>
    <message>
        <source>印刷できませんでした。</source>
        <translation>Could not print.</translation>
    </message>
    <message>
        <source>印刷システムに接続できませんでした。</source>
        <translation>Could not reach the printing system.</translation>
    </message>
    <message>
        <source>通常使うプリンタが設定されていません。</source>
        <translation>No default printer is set.</translation>
    </message>
    <message>
        <source>プリンタ名が指定されていません。</source>
        <translation>No printer was named.</translation>
    </message>
    <message>
        <source>プリンタ「%1」が見つかりません。</source>
        <translation>No printer called &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>プリンタ「%1」は停止しています。</source>
        <translation>The printer &quot;%1&quot; is stopped.</translation>
    </message>
    <message>
        <source>プリンタ「%1」は印刷を受け付けていません。</source>
        <translation>The printer &quot;%1&quot; does not accept jobs.</translation>
    </message>
</context>
</TS>
