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
let settings = { locateFile: (name, url) => url, idleTimeout: 10000, startTimeout: 20000 };

// locateFile(name, url): where a file of the engine lies, url being where it
// lies beside this module (for bundlers that rename or move them);
// idleTimeout: how long, in ms, a worker with nothing to do stays;
// startTimeout: how long, in ms, the engine may take to start once its files
// are in before it is started again (a browser may leave a start hanging).
export function init(options = {}) {
  settings = { ...settings, ...options };
}

function workerSettings() {
  const where = {};
  for (const name of kFiles)
    where[name] = String(settings.locateFile(name, new URL(name, import.meta.url).href));
  const { idleTimeout, startTimeout } = settings;
  return { workerUrl: where['pelto-worker.mjs'], where, idleTimeout, startTimeout };
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

// A run of pelto-cli IN OUT --style FILE on the caller's arguments as they
// are now, OUT named name, with --states or without: OUT, and the files the
// states add beside it, by name.
function run(bytes, style, name, withStates, { signal, transfer = false }) {
  return later(() => {
    checkBytes(bytes);
    checkObject(style, 'style');
    // A style's own states gives way to the caller's choice.
    const { format = '', lang = 'ja', states, ...file } = style;
    const input = own(bytes, transfer);
    const text = encoder.encode(JSON.stringify(withStates ? { ...file, states: true } : file));
    return runs.request('run', [input, text, String(format), name], {
      transfer: [input.buffer],
      signal,
      lang: String(lang),
    });
  });
}

// bytes: a BMP or PNG file. style: a style file's JSON object, with format
// ("bmp" or "png"; the input's kind when left out) and lang ("ja", the
// default, or "en") beside it. Gives the bytes pelto-cli IN OUT --style FILE
// writes, or rejects with its refusal as a PeltoError. signal: an AbortSignal
// that stops the run; transfer: hand bytes' buffer over instead of copying it.
// A style's states is makeButtonSet's to follow: here the button alone is made.
export function makeButton(bytes, style, options = {}) {
  return run(bytes, style, 'out', false, options).then((files) => files.out);
}

// The same with the button's hover, pressed and disabled states, the sprite
// of all four and its CSS, as pelto-cli IN NAME --states writes them: their
// files by name ({ "button.png", "button-hover.png", "button-pressed.png",
// "button-disabled.png", "button-sprite.png", "button.css" } for the default
// name), of format's kind, or else of name's as pelto-cli takes it.
export function makeButtonSet(bytes, style, { name = 'button.png', ...options } = {}) {
  return run(bytes, style, String(name), true, options);
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
    return this.#ask(op, args);
  }
  #ask(op, args, options = {}) {
    if (!this.#handle) return Promise.reject(new PeltoError('The document is closed.', 'state'));
    return documents.request(op, [this.#handle, ...args], { lang: this.lang, ...options });
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
  // The same for the part in sight alone, area { x, y, width, height } from
  // the top left within the picture: resolves to { x, y, width, height, rgba }
  // with that part's RGBA, shaded as the whole would be. A newer one asked
  // before this one starts takes its place: this one then rejects with an
  // AbortError.
  previewArea(values, area) {
    return later(() => {
      checkObject(values, 'values');
      checkObject(area, 'area');
      const { x, y, width, height } = area;
      for (const n of [x, y, width, height])
        if (!Number.isInteger(n)) throw new TypeError('area must hold whole numbers');
      return this.#ask('previewArea', [values, { x, y, width, height }], {
        supersede: `previewArea ${this.#handle}`,
      });
    });
  }
  makeButton(values) {
    return later(() => {
      checkObject(values, 'values');
      return this.#change('makeButton', values);
    });
  }
  // The button states' files of values, as makeButtonSet gives them, the
  // document left as it is.
  buttonSet(values, { name = 'button.png', format = '' } = {}) {
    return later(() => {
      checkObject(values, 'values');
      return this.#step('buttonSet', values, String(name), String(format));
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
