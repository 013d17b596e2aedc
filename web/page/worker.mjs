// The page's engine, off the page's thread: the glue's documents (PeltoWeb.h)
// behind messages. A request is {id, op, args}; the answer {id, ok, value} or
// {id, ok: false, error} with the glue's message. Requests run one at a time
// in the order they came.
import { PeltoError, openEngine } from './pelto.mjs';

// Made and warmed up at once, here off the page's thread, so that the first
// preview and button take no longer than the next.
const engine = openEngine().then(async (e) => {
  await e.warmUp();
  return e;
});

// What the page draws after any change: the picture (or a preview) and the
// document's state.
function state(e, doc, pixels) {
  const rgba = e.pixels(pixels ?? e.call('pelto_rgba', doc), doc);
  return {
    width: e.call('pelto_width', doc),
    height: e.call('pelto_height', doc),
    rgba,
    hasSelection: !!e.call('pelto_has_selection', doc),
    canUndo: !!e.call('pelto_can_undo', doc),
    canRedo: !!e.call('pelto_can_redo', doc),
  };
}

const params = (p) => [p.angle, p.contrast, p.width, p.shape, p.outline];
// An operation that changes the document: the glue's function, then the new state.
const step =
  (name) =>
  (e, doc, ...args) => {
    e.must(name, doc, ...args);
    return state(e, doc);
  };
let sequence = 0;

const ops = {
  lang: (e, lang) => e.setLang(lang),
  // The file under its own name, so that a message about it names it so.
  open(e, name, bytes) {
    const path = `/open-${++sequence}/${name.replaceAll('/', '_')}`;
    e.m.FS.mkdir(path.slice(0, path.lastIndexOf('/')));
    e.put(path, bytes);
    try {
      const doc = e.must('pelto_open', path);
      return { doc, ...state(e, doc) };
    } finally {
      e.drop(path);
      e.m.FS.rmdir(path.slice(0, path.lastIndexOf('/')));
    }
  },
  close: (e, doc) => e.call('pelto_close', doc),
  show: (e, doc) => state(e, doc),
  pick: (e, doc, x, y, tolerance, connected) =>
    step('pelto_pick')(e, doc, x, y, tolerance, connected ? 1 : 0),
  transparent: step('pelto_select_transparent'),
  clear: step('pelto_clear_selection'),
  preview: (e, doc, p) => state(e, doc, e.call('pelto_preview', doc, ...params(p))),
  make: (e, doc, p) => step('pelto_make_button')(e, doc, ...params(p)),
  undo: step('pelto_undo'),
  redo: step('pelto_redo'),
  save(e, doc, format) {
    const path = `/save-${++sequence}.${format}`;
    e.must('pelto_save', doc, path, format);
    return e.take(path);
  },
  // A style file's bytes: its text as a style file writes it and, with a
  // document, the document's state once the style's background is its selection.
  applyStyle(e, doc, bytes, name) {
    e.must('pelto_apply_style', doc, bytes, bytes.length, name);
    return { style: e.m.UTF8ToString(e.call('pelto_style')), ...(doc ? state(e, doc) : {}) };
  },
  // 1: the picks that made the selection, 2: its transparent pixels alone, 0: nothing to keep.
  savedBackground: (e, doc) => (doc ? e.call('pelto_saved_background', doc) : 0),
  writeStyle(e, doc, keepBackground, p) {
    e.must('pelto_write_style', doc, keepBackground ? 1 : 0, ...params(p));
    return e.m.UTF8ToString(e.call('pelto_style'));
  },
};

let queue = Promise.resolve();

self.onmessage = ({ data: { id, op, args } }) => {
  queue = queue.then(async () => {
    try {
      const value = ops[op](await engine, ...args);
      const bytes = value?.rgba ?? (value instanceof Uint8Array ? value : null);
      self.postMessage({ id, ok: true, value }, bytes ? [bytes.buffer] : []);
    } catch (error) {
      // The glue's refusals are for the user; anything else (the engine not
      // loading, memory running out in JavaScript) says what it is.
      self.postMessage({
        id,
        ok: false,
        error: String(error?.message ?? error),
        refused: error instanceof PeltoError,
      });
    }
  });
};
