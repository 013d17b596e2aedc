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

import { makeBmp, makePng } from './picture-files.mjs';

const kStyle = {
  version: 1,
  angle: 135,
  contrast: 128,
  width: 30,
  shape: 'round',
  outline: 'inner',
  background: [{ x: 0, y: 0, tolerance: 5 }],
};

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
const discBmp = (size) =>
  makeBmp(size, size, (x, y) => (inDisc(size, x, y) ? [40, 80, 200] : [250, 250, 250]));

// An RGBA PNG: a disc with a soft edge on a background of the opacity given.
function discPng(size, background) {
  return makePng(size, size, (x, y) => {
    const edge = size / 3 - Math.hypot(x - size / 2, y - size / 2);
    return [200, x & 255, y & 255, Math.max(background, Math.min(255, Math.round(edge * 64)))];
  });
}
