// Picture files made in memory, for the tests: a 24-bit BMP and an 8-bit
// RGBA PNG whose pixels a function gives, in browsers and Node.
import { crc32 } from './crc32.mjs';

// A 24-bit BMP of width x height whose pixel is colour(x, y) -> [r, g, b],
// y from the top.
export function makeBmp(width, height, colour) {
  const stride = (width * 3 + 3) & ~3;
  const bmp = new Uint8Array(54 + stride * height);
  const header = new DataView(bmp.buffer);
  bmp.set([0x42, 0x4d]);
  header.setUint32(2, bmp.length, true);
  header.setUint32(10, 54, true);
  header.setUint32(14, 40, true);
  header.setInt32(18, width, true);
  header.setInt32(22, height, true);
  header.setUint16(26, 1, true);
  header.setUint16(28, 24, true);
  header.setUint32(34, stride * height, true);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) {
      const [r, g, b] = colour(x, height - 1 - y);
      bmp.set([b, g, r], 54 + y * stride + x * 3);
    }
  return bmp;
}

// An RGBA PNG of width x height whose pixel is colour(x, y) -> [r, g, b, a],
// each row unfiltered; its header may claim another size.
export async function makePng(width, height, colour, claimed = [width, height]) {
  const row = 1 + 4 * width;
  const raw = new Uint8Array(height * row);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) raw.set(colour(x, y), y * row + 1 + 4 * x);
  const header = new Uint8Array(13);
  new DataView(header.buffer).setUint32(0, claimed[0]);
  new DataView(header.buffer).setUint32(4, claimed[1]);
  header.set([8, 6], 8);
  return join([
    Uint8Array.of(0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a),
    chunk('IHDR', header),
    chunk('IDAT', await deflate(raw)),
    chunk('IEND', new Uint8Array()),
  ]);
}

async function deflate(bytes) {
  const stream = new Blob([bytes]).stream().pipeThrough(new CompressionStream('deflate'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

function join(parts) {
  const whole = new Uint8Array(parts.reduce((n, p) => n + p.length, 0));
  parts.reduce((at, p) => (whole.set(p, at), at + p.length), 0);
  return whole;
}

function chunk(type, data) {
  const bytes = new Uint8Array(12 + data.length);
  const view = new DataView(bytes.buffer);
  view.setUint32(0, data.length);
  bytes.set(
    Array.from(type, (c) => c.charCodeAt(0)),
    4,
  );
  bytes.set(data, 8);
  view.setUint32(8 + data.length, crc32(bytes.subarray(4, 8 + data.length)));
  return bytes;
}
