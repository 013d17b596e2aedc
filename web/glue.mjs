// The WebAssembly engine's C functions (web/PeltoWeb.h) from JavaScript, in the thread
// that loads it: pelto-worker.mjs's. Files go through the engine's memory file
// system, texts and bytes through copies in its memory.
import { PeltoError, kRefusalCodes } from './pelto-error.mjs';

import { usesThreadedEngine } from './engine-choice.mjs';

const inNode = typeof process === 'object' && typeof process.versions?.node === 'string';

// Loads the engine; where(name) is the address of each of its files
// (pelto-engine.mjs, pelto-engine.wasm, and the threaded engine's).
// starting() is called once all the engine's own files are in, and it starts.
export async function loadGlue(where, starting = () => {}) {
  const name = usesThreadedEngine() ? 'pelto-engine-threads' : 'pelto-engine';
  const { default: create } = await import(where(`${name}.mjs`));
  const options = { locateFile: (file) => where(file) };
  // The engine's own promise knows nothing of a failed instantiation.
  let failed;
  const failure = new Promise((_, reject) => (failed = reject));
  if (!inNode) {
    // Compiled before the engine starts, so that its start waits on no download.
    const module = await compiled(where(`${name}.wasm`));
    options.instantiateWasm = (imports, receive) => {
      WebAssembly.instantiate(module, imports).then(
        (instance) => receive(instance, module),
        failed,
      );
      return {};
    };
  } else {
    // This emcc's Node support is CommonJS's, and it would fetch() its
    // WebAssembly by a file name: it gets both from here.
    const { createRequire } = await import('node:module');
    const { readFile } = await import('node:fs/promises');
    const { fileURLToPath } = await import('node:url');
    globalThis.require ??= createRequire(import.meta.url);
    globalThis.__dirname ??= fileURLToPath(new URL('.', import.meta.url));
    options.wasmBinary = await readFile(new URL(where(`${name}.wasm`)));
  }
  starting();
  return new Glue(await Promise.race([create(options), failure]));
}

async function compiled(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
  // A server that says another type gets its bytes compiled all the same.
  return response.headers.get('Content-Type')?.startsWith('application/wasm')
    ? WebAssembly.compileStreaming(response)
    : WebAssembly.compile(await response.arrayBuffer());
}

const encoder = new TextEncoder();

export class Glue {
  constructor(module) {
    this.m = module;
    // Where the engine's stack stands between calls.
    this.stackTop = module.stackSave();
    this.lang = 'ja';
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

  // The same, refusing with the engine's message and what it was about when
  // it returns 0.
  must(name, ...args) {
    const result = this.call(name, ...args);
    if (!result) throw this.refusal();
    return result;
  }

  refusal() {
    return new PeltoError(
      this.text(this.m._pelto_error()),
      kRefusalCodes[this.m._pelto_error_code()],
    );
  }

  // A text the engine hands over.
  text(pointer) {
    return this.m.UTF8ToString(pointer);
  }

  // The C function name called with a text's bytes and their length.
  withText(name, ...args) {
    const bytes = args.pop();
    const data = typeof bytes === 'string' ? encoder.encode(bytes) : bytes;
    return this.must(name, ...args, data, data.length);
  }

  setLang(lang) {
    if (lang === this.lang) return;
    this.must('pelto_set_lang', String(lang));
    this.lang = lang;
  }

  // A file of the engine's memory file system, for the glue to read.
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

  // A copy of the RGBA bytes at pointer: doc's width * height * 4, or size.
  pixels(pointer, doc, size = this.call('pelto_width', doc) * this.call('pelto_height', doc) * 4) {
    if (!pointer) throw this.refusal();
    return new Uint8ClampedArray(this.heap(), pointer >>> 0, size).slice();
  }
}
