// The web tests' table: inputs (BMP and PNG, made here), styles and the
// languages, each run through pelto-cli for what the module must give.
import { deflateSync } from 'node:zlib';
import { readFileSync } from 'node:fs';

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const out = Buffer.alloc(12 + data.length);
  out.writeUInt32BE(data.length, 0);
  out.write(type, 4, 'latin1');
  data.copy(out, 8);
  out.writeUInt32BE(crc32(out.subarray(4, 8 + data.length)), 8 + data.length);
  return out;
}

// An RGBA PNG of width x height whose pixel is colour(x, y) -> [r, g, b, a].
export function makePng(width, height, colour, claimed = [width, height]) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(claimed[0], 0);
  header.writeUInt32BE(claimed[1], 4);
  header.set([8, 6, 0, 0, 0], 8);
  const raw = Buffer.alloc((width * 4 + 1) * height);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) raw.set(colour(x, y), y * (width * 4 + 1) + 1 + x * 4);
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header),
    chunk('IDAT', deflateSync(raw)),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}

// A 24-bit BMP of width x height whose pixel is colour(x, y) -> [r, g, b].
export function makeBmp(width, height, colour) {
  const stride = (width * 3 + 3) & ~3;
  const out = Buffer.alloc(54 + stride * height);
  out.write('BM', 0, 'latin1');
  out.writeUInt32LE(out.length, 2);
  out.writeUInt32LE(54, 10);
  out.writeUInt32LE(40, 14);
  out.writeInt32LE(width, 18);
  out.writeInt32LE(height, 22);
  out.writeUInt16LE(1, 26);
  out.writeUInt16LE(24, 28);
  out.writeUInt32LE(stride * height, 34);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) {
      const [r, g, b] = colour(x, height - 1 - y);
      out.set([b, g, r], 54 + y * stride + x * 3);
    }
  return out;
}

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
  'badge.bmp': (root) => readFileSync(`${root}/samples/badge.bmp`),
  'disc.bmp': () => makeBmp(97, 64, disc(64)),
  'disc.png': () => makePng(80, 80, discAlpha(80)),
  'opaque.png': () => makePng(50, 40, (x, y) => [...disc(40)(x, y), 255]),
  'empty.bmp': () => Buffer.alloc(0),
  'broken.bmp': () => Buffer.from('BM this is no picture at all, not even close to one'),
  'huge.png': () => makePng(1, 1, () => [0, 0, 0, 255], [60000, 60000]),
  'vast.png': () => makePng(1, 1, () => [0, 0, 0, 255], [30000, 30000]),
};

// Inputs whose run needs more than the WebAssembly memory's 4 GiB: pelto-cli
// runs them in an address space of that size, where it refuses them as the
// module does, before loading.
export const fourGiB = new Set(['vast.png']);

const style = (values, background) => ({
  version: 1, angle: 135, contrast: 128, width: 5, shape: 'cut', outline: 'inner', ...values,
  ...(background === undefined ? {} : { background }),
});
const corner = [{ x: 0, y: 0, tolerance: 10 }];

// [input, style, extra module options]; each runs in both languages.
export const cases = [
  ['badge.bmp', style({}, corner)],
  ['badge.bmp', style({ angle: 0, contrast: 500, width: 30, shape: 'round', outline: 'outer' }, corner)],
  ['badge.bmp', style({ angle: 359, width: 0 }, corner), { format: 'png' }],
  ['disc.bmp', style({ angle: 90, width: 12, shape: 'round' }, [{ x: 96, y: 63, tolerance: 0 }, { x: 0, y: 0, tolerance: 40 }])],
  ['disc.bmp', style({ angle: 45, width: 7 }, corner), { format: 'bmp' }],
  ['disc.png', style({ width: 9, outline: 'outer' }, 'transparent')],
  ['disc.png', style({ angle: 200, width: 4, shape: 'round' })],
  ['disc.png', style({ width: 6 }, corner), { format: 'bmp' }],
  ['opaque.png', style({ width: 3 }, corner)],
  ['badge.bmp', style({ width: 4, outline: 'outer' }, [{ ...corner[0], connected: true }])],
  ['disc.png', style({ width: 5, outline: 'outer' }, [{ x: 0, y: 0, tolerance: 0, connected: true }])],
  // Refusals.
  ['disc.bmp', style({}, 'transparent')],
  ['disc.bmp', style({}, [{ x: 97, y: 0, tolerance: 1 }])],
  ['disc.bmp', { ...style({}, corner), version: 2 }],
  ['disc.bmp', { ...style({}, corner), colour: 'red' }],
  ['disc.bmp', style({ width: 31 }, corner)],
  ['disc.bmp', style({}, [{ ...corner[0], connected: 1 }])],
  ['empty.bmp', style({}, corner)],
  ['broken.bmp', style({}, corner)],
  ['huge.png', style({}, corner)],
  ['vast.png', style({}, corner)],
];
