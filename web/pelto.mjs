// Pelto Tool's engine as a JavaScript module, for browsers and Node.
//
//   import { makeButton } from './pelto.mjs';
//   const out = await makeButton(bytes, style);
//
// bytes: a BMP or PNG file (Uint8Array). style: a style file's JSON object
// (version, angle, contrast, width, shape, outline, and background:
// "transparent" or picks { x, y, tolerance, connected }), plus format ("bmp"
// or "png"; the input's kind when left out) and lang ("ja", the default, or
// "en"). The promise gives the result's bytes, the same as
// `pelto-cli IN OUT --style FILE` writes, or rejects with an Error whose
// message is pelto-cli's (its lines after "pelto-cli: " and the file's name).
// In a browser window the work runs in a Web Worker, so the page never
// freezes; in a worker and in Node it runs where it is called.
//
// ready() resolves once the engine is loaded and warmed up (below); a call
// before then waits for it.
//
// openEngine() gives the engine itself, for a page that shows and edits a
// picture step by step (PeltoEngine below; the C functions in web/PeltoWeb.h).
//
// A worker of a page served cross-origin isolated (where SharedArrayBuffer
// is) runs the threaded engine, pelto-engine-threads.mjs, on as many threads
// as the browser has processors (up to 8); anywhere else the engine runs on
// one. Both write the same bytes.

import { warmUp } from './warm-up.mjs';

const inNode = typeof process === 'object' && typeof process.versions?.node === 'string';
const inWindow = typeof window === 'object' && typeof Worker === 'function';
// The calling thread waits for the engine's threads, which only a worker may.
const threaded = !inNode && !inWindow && globalThis.crossOriginIsolated === true;

async function instantiate() {
  const { default: createPeltoEngine } = await (threaded
    ? import('./pelto-engine-threads.mjs')
    : import('./pelto-engine.mjs'));
  const options = {};
  if (inNode) {
    // This emcc's Node support is CommonJS's, and it would fetch() its
    // WebAssembly by a file name: it gets both from here.
    const { createRequire } = await import('node:module');
    const { readFile } = await import('node:fs/promises');
    const { fileURLToPath } = await import('node:url');
    globalThis.require ??= createRequire(import.meta.url);
    globalThis.__dirname ??= fileURLToPath(new URL('.', import.meta.url));
    options.wasmBinary = await readFile(new URL('./pelto-engine.wasm', import.meta.url));
  }
  return new PeltoEngine(await createPeltoEngine(options));
}

let engine;
export function openEngine() {
  engine ??= instantiate();
  return engine;
}

let warm;
function warmEngine() {
  warm ??= openEngine().then(async (e) => {
    await e.warmUp();
    return e;
  });
  return warm;
}

// A refusal of the engine's, as an Error with pelto-cli's message.
export class PeltoError extends Error {}

export class PeltoEngine {
  constructor(module) {
    this.m = module;
    // Where the engine's stack stands between calls.
    this.stackTop = module.stackSave();
  }

  // Calls the C function name with args: strings passed as NUL-terminated
  // UTF-8 copies, Uint8Arrays as copies (their length is the caller's to
  // pass), both freed after the call. A JavaScript exception out of the
  // WebAssembly (the caller's stack run out within it, say) leaves the
  // engine's stack short of its top, with no stack left to mend it then:
  // every call starts from the top.
  call(name, ...args) {
    const m = this.m;
    const held = [];
    m.stackRestore(this.stackTop);
    try {
      const values = args.map((a) => {
        if (typeof a === 'string') {
          const size = m.lengthBytesUTF8(a) + 1;
          const p = m._malloc(size);
          held.push(p);
          m.stringToUTF8(a, p, size);
          return p;
        }
        if (a instanceof Uint8Array) {
          const p = m._malloc(Math.max(a.length, 1));
          held.push(p);
          new Uint8Array(this.heap(), p >>> 0, a.length).set(a);
          return p;
        }
        return a;
      });
      return m[`_${name}`](...values);
    } finally {
      held.forEach((p) => m._free(p));
    }
  }

  // The same, refusing with the engine's message when it returns 0.
  must(name, ...args) {
    const result = this.call(name, ...args);
    if (!result) throw new PeltoError(this.m.UTF8ToString(this.m._pelto_error()));
    return result;
  }

  setLang(lang) {
    this.must('pelto_set_lang', String(lang));
  }

  // A file of the module's memory file system, for the glue to read.
  put(path, bytes) {
    this.m.FS.writeFile(path, bytes);
  }

  take(path) {
    const bytes = this.m.FS.readFile(path);
    this.m.FS.unlink(path);
    return bytes;
  }

  drop(path) {
    try {
      this.m.FS.unlink(path);
    } catch {
      // never made
    }
  }

  // The engine's memory as it is now: the threaded engine's may have grown on
  // another thread, leaving HEAPU8 behind.
  heap() {
    return this.m.wasmMemory?.buffer ?? this.m.HEAPU8.buffer;
  }

  // A copy of the width * height * 4 RGBA bytes at pointer.
  pixels(pointer, doc) {
    if (!pointer) throw new PeltoError(this.m.UTF8ToString(this.m._pelto_error()));
    const size = this.call('pelto_width', doc) * this.call('pelto_height', doc) * 4;
    return new Uint8ClampedArray(this.heap(), pointer >>> 0, size).slice();
  }

  // Resolves once the engine's first button takes no longer than its next
  // (warm-up.mjs).
  warmUp() {
    return warmUp(this);
  }

  // One whole run, as makeButton promises it.
  makeButton(bytes, style) {
    return this.run(runOf(bytes, style));
  }

  // A run that runOf took.
  run({ input, styleText, format, lang }) {
    this.setLang(lang);
    this.put('/in', input);
    try {
      this.must('pelto_run', '/in', '/out', styleText, styleText.length, 'style', format);
      return this.take('/out');
    } finally {
      this.drop('/in');
      this.drop('/out');
    }
  }
}

// makeButton's arguments as they are when it is called, checked and copied,
// so that a caller may change or reuse them at once: the input's bytes and
// the style file's text.
function runOf(bytes, style) {
  if (!(bytes instanceof Uint8Array)) throw new TypeError('bytes must be a Uint8Array');
  if (typeof style !== 'object' || style === null || Array.isArray(style))
    throw new TypeError('style must be an object');
  const { format = '', lang = 'ja', ...file } = style;
  return {
    input: bytes.slice(),
    styleText: new TextEncoder().encode(JSON.stringify(file)),
    format: String(format),
    lang: String(lang),
  };
}

let worker;
let workerReady;
let workerThreads;
let lastJob = 0;
const jobs = new Map();

function startWorker() {
  worker = new Worker(new URL('./pelto-worker.mjs', import.meta.url), { type: 'module' });
  let readyNow;
  workerReady = new Promise((resolve) => (readyNow = resolve));
  worker.onmessage = ({ data }) => {
    if (data.ready) {
      workerThreads = data.threads;
      readyNow();
      return;
    }
    const job = jobs.get(data.id);
    jobs.delete(data.id);
    if (data.error === undefined) job.resolve(data.bytes);
    else
      job.reject(
        data.type === 'TypeError' ? new TypeError(data.error) : new PeltoError(data.error),
      );
  };
  worker.onerror = (event) => {
    for (const job of jobs.values()) job.reject(new Error(event.message));
    jobs.clear();
  };
}

export function ready() {
  if (!inWindow) return warmEngine().then(() => undefined);
  if (!worker) startWorker();
  return workerReady;
}

export function makeButton(bytes, style) {
  let run;
  try {
    run = runOf(bytes, style);
  } catch (e) {
    return Promise.reject(e);
  }
  if (!inWindow) return runHere(run);
  if (!worker) startWorker();
  return new Promise((resolve, reject) => {
    const id = ++lastJob;
    jobs.set(id, { resolve, reject });
    worker.postMessage({ id, run }, [run.input.buffer]);
  });
}

// A run that runOf took, on this thread (Node, or makeButton's worker).
export async function runHere(run) {
  return (await warmEngine()).run(run);
}

// In a window the worker starts loading as soon as the module is imported.
if (inWindow) startWorker();

// The digest of every light factor the bevel can use (web/LightDigest.h).
export async function lightDigest() {
  const e = await openEngine();
  return e.m.UTF8ToString(e.call('pelto_light_digest'));
}

// How many threads makeButton's engine runs a button on.
export function threads() {
  if (!inWindow) return warmEngine().then((e) => e.call('pelto_threads'));
  return ready().then(() => workerThreads);
}
