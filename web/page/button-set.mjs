// The button states before they are downloaded: the four side by side, and
// a live button that wears the sprite through the CSS as written, for hover
// and press to be tried with the mouse.
import { checker } from './page-values.mjs';

const kTypes = { png: 'image/png', bmp: 'image/bmp', css: 'text/css' };
const typeOf = (name) => kTypes[name.slice(name.lastIndexOf('.') + 1).toLowerCase()];

// The desktop's checkerboard under a transparent button, its lighter square
// at the corner.
const grey = (level) => `rgb(${level} ${level} ${level})`;
const [light, dark] = checker.levels.map(grey);
const tile = 2 * checker.square;
const checkerboard = `repeating-conic-gradient(${dark} 0 25%,${light} 0 50%) 0 0/${tile}px ${tile}px`;

// files: a document's buttonSet, in pelto-cli's order (the four states, the
// sprite, the CSS). Resolves to whether the user goes on to download them.
export function showButtonSet(dialog, files) {
  const entries = Object.entries(files);
  const urls = [];
  const address = ([name, bytes]) => {
    urls.push(URL.createObjectURL(new Blob([bytes], { type: typeOf(name) })));
    return urls.at(-1);
  };
  dialog.querySelectorAll('.states img').forEach((img, i) => {
    img.src = address(entries[i]);
    img.style.background = checkerboard;
  });
  // The sheet names the sprite by its file; here it is the sprite in memory.
  const sheet = new TextDecoder()
    .decode(entries[5][1])
    .replace(/url\("(?:[^"\\]|\\.)*"\)/, `url("${address(entries[4])}")`);
  const className = /^\.([\w-]+) \{/m.exec(sheet)[1];
  const live = dialog.querySelector('iframe');
  live.srcdoc = `<!doctype html><style>body{margin:0;line-height:0;background:${checkerboard}}</style><style>${sheet}</style><button type="button" class="${className}"></button>`;
  // The live button's frame is the button's size (no line box below it).
  const normal = dialog.querySelector('.states img');
  normal.addEventListener(
    'load',
    () => Object.assign(live, { width: normal.naturalWidth, height: normal.naturalHeight }),
    { once: true },
  );
  dialog.returnValue = '';
  dialog.showModal();
  return new Promise((resolve) =>
    dialog.addEventListener(
      'close',
      () => {
        urls.forEach((url) => URL.revokeObjectURL(url));
        resolve(dialog.returnValue === 'write');
      },
      { once: true },
    ),
  );
}
