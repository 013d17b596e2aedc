// Pelto Tool's JavaScript module (the npm package pelto-tool-engine), for browsers and Node
// (web/README.md shows its use; pelto.d.ts types it).
//
//   import { makeButton } from './pelto.mjs';
//   const out = await makeButton(bytes, style);
//
// The work runs in a worker of the module's own (a Web Worker, or a Node
// worker thread), so the caller never waits on it; importing the module
// starts nothing, the first call starts the worker, and a worker idle for a
// while ends and gives its memory back. A page served cross-origin isolated,
// where shared memory works, gets the threaded engine, on as many threads as
// the browser has processors (up to 8); anywhere else it runs on one. Both
// write the same bytes as pelto-cli.
import { usesThreadedEngine } from './engine-choice.mjs';
import { PeltoError } from './pelto-error.mjs';
import { WorkerClient } from './worker-client.mjs';

export { PeltoError, usesThreadedEngine };

// The engine's files, for init's locateFile.
const kFiles = [
  'pelto-worker.mjs',
  'pelto-engine.mjs',
  'pelto-engine.wasm',
  'pelto-engine-threads.mjs',
  'pelto-engine-threads.wasm',
  'pelto-engine-threads.worker.js',
];
let settings = { locateFile: (name, url) => url, idleTimeout: 10000 };

// locateFile(name, url): where a file of the engine lies, url being where it
// lies beside this module (for bundlers that rename or move them);
// idleTimeout: how long, in ms, a worker with nothing to do stays.
export function init(options = {}) {
  settings = { ...settings, ...options };
}

function workerSettings() {
  const where = {};
  for (const name of kFiles)
    where[name] = String(settings.locateFile(name, new URL(name, import.meta.url).href));
  return { workerUrl: where['pelto-worker.mjs'], where, idleTimeout: settings.idleTimeout };
}

// One worker for whole runs, which an abort may end, and one for documents.
const runs = new WorkerClient(workerSettings);
const documents = new WorkerClient(workerSettings);

// Resolves once the engine is loaded.
export const ready = () => runs.request('ready');
// How many threads a button runs on.
export const threads = () => runs.request('threads');
// The digest of every light factor the bevel can use (web/LightDigest.h).
export const lightDigest = () => runs.request('lightDigest');

const encoder = new TextEncoder();

function checkBytes(bytes) {
  if (!(bytes instanceof Uint8Array)) throw new TypeError('bytes must be a Uint8Array');
}
// The caller's bytes, copied unless they are to be transferred, as they are now.
const own = (bytes, transfer) => (transfer ? bytes : bytes.slice());
function checkObject(value, name) {
  if (typeof value !== 'object' || value === null || Array.isArray(value))
    throw new TypeError(`${name} must be an object`);
}
// A call's arguments checked when it is made; a mistake rejects.
function later(work) {
  try {
    return work();
  } catch (error) {
    return Promise.reject(error);
  }
}

// bytes: a BMP or PNG file. style: a style file's JSON object, with format
// ("bmp" or "png"; the input's kind when left out) and lang ("ja", the
// default, or "en") beside it. Gives the bytes pelto-cli IN OUT --style FILE
// writes, or rejects with its refusal as a PeltoError. signal: an AbortSignal
// that stops the run; transfer: hand bytes' buffer over instead of copying it.
export function makeButton(bytes, style, { signal, transfer = false } = {}) {
  return later(() => {
    checkBytes(bytes);
    checkObject(style, 'style');
    const { format = '', lang = 'ja', ...file } = style;
    const input = own(bytes, transfer);
    const text = encoder.encode(JSON.stringify(file));
    return runs.request('run', [input, text, String(format)], {
      transfer: [input.buffer],
      signal,
      lang: String(lang),
    });
  });
}

// A style file's text (a string or its bytes), read as pelto-cli reads one:
// the style, or a PeltoError naming name.
export function readStyle(text, { name = 'style', lang = 'ja' } = {}) {
  return later(() => {
    const bytes = typeof text === 'string' ? encoder.encode(text) : own(text);
    checkBytes(bytes);
    return runs.request('readStyle', [bytes, String(name)], { lang: String(lang) });
  }).then(JSON.parse);
}

// The text of a style file holding style, checked as it would be read.
export function writeStyle(style, { lang = 'ja' } = {}) {
  return later(() => {
    checkObject(style, 'style');
    return runs.request('readStyle', [encoder.encode(JSON.stringify(style)), 'style'], {
      lang: String(lang),
    });
  });
}

const dispose = Symbol.dispose ?? Symbol.for('Symbol.dispose');
const asyncDispose = Symbol.asyncDispose ?? Symbol.for('Symbol.asyncDispose');

// An open picture with its selection and its undo and redo history, as a
// window of the desktop program holds it. Each step resolves to what the
// document shows then: { width, height, rgba (RGBA, top row first, the
// selection's checkerboard on top), hasSelection, canUndo, canRedo }, which
// the document's own properties follow.
export class PeltoDocument {
  #handle;

  constructor(handle, shown, lang) {
    this.#handle = handle;
    this.lang = lang;
    this.#show(shown);
  }

  #show({ width, height, hasSelection, canUndo, canRedo }) {
    Object.assign(this, { width, height, hasSelection, canUndo, canRedo });
  }

  #step(op, ...args) {
    if (!this.#handle) return Promise.reject(new PeltoError('The document is closed.', 'state'));
    return documents.request(op, [this.#handle, ...args], { lang: this.lang });
  }

  #change(op, ...args) {
    return this.#step(op, ...args).then((shown) => {
      this.#show(shown);
      return shown;
    });
  }

  draw() {
    return this.#change('draw');
  }
  // x, y: a background pixel as seen (from the top left).
  pick(x, y, { tolerance = 0, connected = false } = {}) {
    return this.#change('pick', x, y, tolerance, connected);
  }
  selectTransparent() {
    return this.#change('selectTransparent');
  }
  clearSelection() {
    return this.#change('clearSelection');
  }
  // values: { angle, contrast, width, shape, outline } as a style holds them.
  preview(values) {
    return later(() => {
      checkObject(values, 'values');
      return this.#step('preview', values);
    });
  }
  makeButton(values) {
    return later(() => {
      checkObject(values, 'values');
      return this.#change('makeButton', values);
    });
  }
  // The selected background made transparent, its fringe taken off the shape's edge.
  cutOut() {
    return this.#change('cutOut');
  }
  undo() {
    return this.#change('undo');
  }
  redo() {
    return this.#change('redo');
  }
  // The picture as a file: "png", "bmp", or "" for the kind it was opened as.
  save(format = '') {
    return this.#step('save', String(format));
  }
  // A style (its object, or its file's text or bytes): its background becomes
  // the selection, whole or not at all; resolves to the style as read.
  applyStyle(style, { name = 'style' } = {}) {
    return later(() => {
      const bytes =
        typeof style === 'string'
          ? encoder.encode(style)
          : style instanceof Uint8Array
            ? own(style)
            : encoder.encode(JSON.stringify(style));
      return this.#change('applyStyle', bytes, String(name));
    }).then(({ style: text }) => JSON.parse(text));
  }
  // What a style saved from the document may keep of its selection: the picks
  // that made it, "transparent" for the picture's transparency alone, or null.
  selectionBackground() {
    return this.#step('selectionBackground');
  }

  close() {
    const handle = this.#handle;
    if (!handle) return Promise.resolve();
    this.#handle = 0;
    documents.hold(-1);
    return documents.request('close', [handle]);
  }
  [dispose]() {
    this.close();
  }
  [asyncDispose]() {
    return this.close();
  }
}

// bytes: a BMP or PNG file, named name in messages. Resolves to a
// PeltoDocument, or rejects with the refusal of the file.
export function openDocument(bytes, { name = 'picture', lang = 'ja', transfer = false } = {}) {
  return later(() => {
    checkBytes(bytes);
    const input = own(bytes, transfer);
    return documents.request('open', [input, String(name)], {
      transfer: [input.buffer],
      lang: String(lang),
    });
  }).then(({ doc, ...shown }) => {
    documents.hold(1);
    return new PeltoDocument(doc, shown, String(lang));
  });
}
