// The engine's warm-up (PeltoEngine.warmUp in pelto.mjs).
//
// The first button after loading would take several times as long as the
// next: the browser first runs the WebAssembly through its quick compiler,
// and compiles the functions that turn out hot again, optimised, only for
// their next call; how hot a function must be depends on the work it does, so
// small pictures leave the code of a big one's rows half done. Buttons on a
// small BMP and its PNG, again until the optimised code has come (a round no
// faster than the one before), then on bigger PNGs, half-transparent and
// opaque, and last on a 2048 x 2048 BMP, call them all. And the system hands
// the memory's pages over only as they are first written, which costs a big
// picture's first button as much again: the memory the engine starts with is
// written once here.

const kStyle = { version: 1, angle: 135, contrast: 128, width: 30, shape: 'round', outline: 'inner',
  background: [{ x: 0, y: 0, tolerance: 5 }] };

// web/CMakeLists.txt's INITIAL_MEMORY.
const kStartingMemory = 256 << 20;

export async function warmUp(engine) {
  const bmp = discBmp(192);
  await untilNoFaster(() => {
    const png = engine.makeButton(bmp, { ...kStyle, format: 'png' });
    engine.makeButton(png, { ...kStyle, outline: 'outer', shape: 'cut' });
  });
  const soft = await discPng(1024, 0);
  const opaque = await discPng(1024, 255);
  await untilNoFaster(() => {
    engine.makeButton(soft, kStyle);
    engine.makeButton(soft, { ...kStyle, background: 'transparent', outline: 'outer' });
    engine.makeButton(opaque, kStyle);
  });
  // How hot a function must be grows with the picture: a 2048 x 2048 one's
  // first button still waits for code that none of these called often enough.
  const big = discBmp(2048);
  for (let i = 0; i < 2; i++) {
    engine.makeButton(big, { ...kStyle, format: 'png' });
    await pause(100);
  }
  const bytes = kStartingMemory - (64 << 20);
  const block = engine.m._malloc(bytes) >>> 0;
  if (block) {
    new Uint8Array(engine.heap()).fill(0, block, block + bytes);
    engine.m._free(block);
  }
}

// Runs round again until a round is no faster than the best before it. In
// between, a pause: the optimising compiler works on threads of its own, which
// the threaded engine's rounds would keep busy.
async function untilNoFaster(round) {
  let best = Infinity;
  for (let i = 0; i < 12; i++) {
    const start = performance.now();
    round();
    const time = performance.now() - start;
    if (i >= 2 && time > 0.9 * best) return;
    best = Math.min(best, time);
    await pause(10);
  }
}

const pause = (ms) => new Promise((resume) => setTimeout(resume, ms));

const inDisc = (size, x, y) => Math.hypot(x - size / 2, y - size / 2) < size / 3;

// A 24-bit BMP: a blue disc on white.
function discBmp(size) {
  const bmp = new Uint8Array(54 + size * size * 3);
  const header = new DataView(bmp.buffer);
  bmp.set([0x42, 0x4d]);
  header.setUint32(2, bmp.length, true);
  header.setUint32(10, 54, true);
  header.setUint32(14, 40, true);
  header.setInt32(18, size, true);
  header.setInt32(22, size, true);
  header.setUint16(26, 1, true);
  header.setUint16(28, 24, true);
  for (let i = 0; i < size * size; i++)
    bmp.set(inDisc(size, i % size, Math.floor(i / size)) ? [40, 80, 200] : [250, 250, 250], 54 + 3 * i);
  return bmp;
}

// An RGBA PNG, each row unfiltered: a disc with a soft edge on a background
// of the opacity given.
async function discPng(size, background) {
  const row = 1 + 4 * size;
  const raw = new Uint8Array(size * row);
  for (let y = 0; y < size; y++)
    for (let x = 0; x < size; x++) {
      const edge = size / 3 - Math.hypot(x - size / 2, y - size / 2);
      const alpha = Math.max(background, Math.min(255, Math.round(edge * 64)));
      raw.set([200, x & 255, y & 255, alpha], y * row + 1 + 4 * x);
    }
  const deflated = new Response(new Blob([raw]).stream().pipeThrough(new CompressionStream('deflate')));
  const header = new Uint8Array(13);
  new DataView(header.buffer).setUint32(0, size);
  new DataView(header.buffer).setUint32(4, size);
  header.set([8, 6], 8);
  const parts = [Uint8Array.of(0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a), chunk('IHDR', header),
    chunk('IDAT', new Uint8Array(await deflated.arrayBuffer())), chunk('IEND', new Uint8Array())];
  const png = new Uint8Array(parts.reduce((n, p) => n + p.length, 0));
  parts.reduce((at, p) => (png.set(p, at), at + p.length), 0);
  return png;
}

function chunk(type, data) {
  const bytes = new Uint8Array(12 + data.length);
  const view = new DataView(bytes.buffer);
  view.setUint32(0, data.length);
  bytes.set(Array.from(type, (c) => c.charCodeAt(0)), 4);
  bytes.set(data, 8);
  view.setUint32(8 + data.length, crc32(bytes.subarray(4, 8 + data.length)));
  return bytes;
}

let crcTable;
function crc32(bytes) {
  crcTable ??= Uint32Array.from({ length: 256 }, (_, n) => {
    for (let k = 0; k < 8; k++) n = n & 1 ? 0xedb88320 ^ (n >>> 1) : n >>> 1;
    return n;
  });
  let crc = 0xffffffff;
  for (const b of bytes) crc = crcTable[(crc ^ b) & 0xff] ^ (crc >>> 8);
  return (crc ^ 0xffffffff) >>> 0;
}
