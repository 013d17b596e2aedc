// The web tests' table: inputs (BMP and PNG, made here), styles and the
// languages, each run through pelto-cli for what the module must give.
import { readFileSync } from 'node:fs';
import { makeBmp, makePng } from '../picture-files.mjs';

// A round shape on a plain background; its edge half transparent in a PNG.
const disc = (size) => (x, y) => {
  const d = Math.hypot(x - size / 2, y - size / 2) - size / 3;
  const inside = [200, 60 + ((x * 7) % 100), 40 + ((y * 5) % 120)];
  return d < 0 ? inside : [30, 140, 230];
};
const discAlpha = (size) => (x, y) => {
  const d = Math.hypot(x - size / 2, y - size / 2) - size / 3;
  return [...disc(size)(x, y), d < -1 ? 255 : d > 1 ? 0 : Math.round(128 - d * 100)];
};

export const inputs = {
  'badge.bmp': async (root) => new Uint8Array(readFileSync(`${root}/samples/badge.bmp`)),
  'disc.bmp': async () => makeBmp(97, 64, disc(64)),
  'disc.png': () => makePng(80, 80, discAlpha(80)),
  'opaque.png': () => makePng(50, 40, (x, y) => [...disc(40)(x, y), 255]),
  'empty.bmp': async () => new Uint8Array(),
  'broken.bmp': async () =>
    new TextEncoder().encode('BM this is no picture at all, not even close to one'),
  'huge.png': () => makePng(1, 1, () => [0, 0, 0, 255], [60000, 60000]),
  'vast.png': () => makePng(1, 1, () => [0, 0, 0, 255], [30000, 30000]),
};

// Inputs whose run needs more than the WebAssembly memory's 4 GiB: pelto-cli
// runs them in an address space of that size, where it refuses them as the
// module does, before loading.
export const fourGiB = new Set(['vast.png']);

const style = (values, background) => ({
  version: 1,
  angle: 135,
  contrast: 128,
  width: 5,
  shape: 'cut',
  outline: 'inner',
  ...values,
  ...(background === undefined ? {} : { background }),
});
const corner = [{ x: 0, y: 0, tolerance: 10 }];
// A case every browser runs (in English), not chromium alone: together one of
// each kind.
const everywhere = (row) => Object.assign(row, { everywhere: true });

// [input, style, extra module options]; each runs in both languages.
export const cases = [
  everywhere(['badge.bmp', style({}, corner)]),
  [
    'badge.bmp',
    style({ angle: 0, contrast: 500, width: 30, shape: 'round', outline: 'outer' }, corner),
  ],
  ['badge.bmp', style({ angle: 359, width: 0 }, corner), { format: 'png' }],
  [
    'disc.bmp',
    style({ angle: 90, width: 12, shape: 'round' }, [
      { x: 96, y: 63, tolerance: 0 },
      { x: 0, y: 0, tolerance: 40 },
    ]),
  ],
  everywhere(['disc.bmp', style({ angle: 45, width: 7 }, corner), { format: 'bmp' }]),
  everywhere(['disc.png', style({ width: 9, outline: 'outer' }, 'transparent')]),
  ['disc.png', style({ angle: 200, width: 4, shape: 'round' })],
  everywhere(['disc.png', style({ width: 6 }, corner), { format: 'bmp' }]),
  ['opaque.png', style({ width: 3 }, corner)],
  ['badge.bmp', style({ width: 4, outline: 'outer' }, [{ ...corner[0], connected: true }])],
  everywhere([
    'disc.png',
    style({ width: 5, outline: 'outer' }, [{ x: 0, y: 0, tolerance: 0, connected: true }]),
  ]),
  everywhere([
    'disc.bmp',
    style({ width: 6, outline: 'outer', cut_out: true }, corner),
    { format: 'png' },
  ]),
  ['badge.bmp', style({ width: 4, cut_out: true }, corner)],
  [
    'disc.png',
    style({ width: 5, outline: 'outer', cut_out: true }, [{ x: 0, y: 0, tolerance: 20 }]),
  ],
  // Refusals.
  ['disc.bmp', style({}, 'transparent')],
  everywhere(['disc.bmp', style({}, [{ x: 97, y: 0, tolerance: 1 }])]),
  ['disc.bmp', { ...style({}, corner), version: 2 }],
  ['disc.bmp', { ...style({}, corner), colour: 'red' }],
  everywhere(['disc.bmp', style({ width: 31 }, corner)]),
  ['disc.bmp', style({}, [{ ...corner[0], connected: 1 }])],
  ['empty.bmp', style({}, corner)],
  everywhere(['broken.bmp', style({}, corner)]),
  ['huge.png', style({}, corner)],
  everywhere(['vast.png', style({}, corner)]),
];
