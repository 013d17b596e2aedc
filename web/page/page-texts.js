// The page's own words, which the desktop has none for: listed here so that
// scripts/update-translations.sh (lupdate reads JavaScript) keeps them in
// translations/pelto_en.ts. The page itself names them in index.html and its
// modules; this file is not loaded. A plain script, since lupdate's reader
// stops at a module's export.
const kWebPageTexts = [
  QT_TRANSLATE_NOOP('pelto::WebPage', 'PNG で保存'),
  QT_TRANSLATE_NOOP('pelto::WebPage', 'BMP で保存'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '透明な部分を選択'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '選択の解除'),
  QT_TRANSLATE_NOOP('pelto::WebPage', 'やり直し'),
  QT_TRANSLATE_NOOP('pelto::WebPage', 'BMP または PNG の絵を開くか、ここにドロップしてください。'),
  QT_TRANSLATE_NOOP(
    'pelto::WebPage',
    '絵: クリックするか、矢印キーで十字を動かして Enter を押すと背景を選択します。',
  ),
  QT_TRANSLATE_NOOP('pelto::WebPage', '位置 %1, %2'),
  QT_TRANSLATE_NOOP('pelto::WebPage', 'エンジンを読み込めませんでした。'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '処理中…'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '%1°、左からの光'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '%1°、左上からの光'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '%1°、上からの光'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '%1°、右上からの光'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '%1°、右からの光'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '%1°、右下からの光'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '%1°、下からの光'),
  QT_TRANSLATE_NOOP('pelto::WebPage', '%1°、左下からの光'),
  QT_TRANSLATE_NOOP('pelto::WebPage', 'はい'),
  QT_TRANSLATE_NOOP('pelto::WebPage', 'いいえ'),
  QT_TRANSLATE_NOOP('pelto::WebPage', 'マウスで試せます:'),
];
