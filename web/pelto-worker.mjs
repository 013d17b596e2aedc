// The worker behind pelto.mjs (a Web Worker, or a Node worker thread): it
// loads the engine when the first request comes, and answers each request,
// one at a time in the order they came, with its value or its refusal.
// A request is { id, op, args, lang, where } (where: the engine's files'
// addresses by name); the answer { id, value } or { id, error }.
import { loadGlue } from './glue.mjs';
import { PeltoError, postable } from './pelto-error.mjs';

const port =
  typeof WorkerGlobalScope === 'function'
    ? {
        post: (message, transfer) => self.postMessage(message, transfer),
        listen: (f) => (self.onmessage = ({ data }) => f(data)),
      }
    : await nodePort();

async function nodePort() {
  const { parentPort } = await import('node:worker_threads');
  return {
    post: (message, transfer) => parentPort.postMessage(message, transfer),
    listen: (f) => parentPort.on('message', f),
  };
}

// The engine, loaded for the first request; one that fails to load is tried
// again for the next. The caller hears when it has what it needs from the
// network and starts: from then on it watches the start.
let glue;
function loaded(where) {
  glue ??= loadGlue(
    (name) => where[name] ?? new URL(name, import.meta.url).href,
    () => port.post({ stage: 'starting' }),
  ).catch((error) => {
    glue = undefined;
    throw new PeltoError(`The engine could not be started: ${error?.message ?? error}`, 'engine');
  });
  return glue;
}

const encoder = new TextEncoder();
// A button's values as the style file's text the engine reads them from.
const valuesText = ({ angle, contrast, width, shape, outline }) =>
  encoder.encode(JSON.stringify({ version: 1, angle, contrast, width, shape, outline }));

// What a document shows after any step, and the state its controls follow.
function drawing(g, doc, pixels) {
  return {
    width: g.call('pelto_width', doc),
    height: g.call('pelto_height', doc),
    rgba: g.pixels(pixels ?? g.call('pelto_rgba', doc), doc),
    hasSelection: !!g.call('pelto_has_selection', doc),
    canUndo: !!g.call('pelto_can_undo', doc),
    canRedo: !!g.call('pelto_can_redo', doc),
  };
}
// A step that changes the document, then what it shows.
const step =
  (name, ...fixed) =>
  (g, doc, ...args) => {
    g.must(name, doc, ...fixed, ...args);
    return drawing(g, doc);
  };

let sequence = 0;
// A folder of the engine's memory file system for work's files: the files
// work leaves there, by name, in the order they were written.
function filesOf(g, work) {
  const folder = `/files-${++sequence}`;
  g.m.FS.mkdir(folder);
  try {
    work(folder);
    const files = {};
    for (const name of g.m.FS.readdir(folder).filter((n) => n !== '.' && n !== '..'))
      files[name] = g.m.FS.readFile(`${folder}/${name}`);
    return files;
  } finally {
    for (const name of g.m.FS.readdir(folder))
      if (name !== '.' && name !== '..') g.drop(`${folder}/${name}`);
    g.m.FS.rmdir(folder);
  }
}
const fileName = (name) => String(name).replaceAll('/', '_');

const ops = {
  ready: () => undefined,
  threads: (g) => g.call('pelto_threads'),
  lightDigest: (g) => g.text(g.call('pelto_light_digest')),
  // pelto-cli IN OUT --style FILE, on a copy of the caller's bytes, OUT named
  // name: OUT, and the files beside it a style's states writes.
  run(g, input, styleText, format, name) {
    const path = `/in-${++sequence}`;
    g.put(path, input);
    try {
      return filesOf(g, (folder) =>
        g.withText('pelto_run', path, `${folder}/${fileName(name)}`, 'style', format, styleText),
      );
    } finally {
      g.drop(path);
    }
  },
  readStyle: (g, bytes, name) => {
    g.withText('pelto_read_style', name, bytes);
    return g.text(g.call('pelto_style'));
  },
  // The file under its own name, so that a message about it names it so.
  open(g, bytes, name) {
    const folder = `/open-${++sequence}`;
    const path = `${folder}/${name.replaceAll('/', '_')}`;
    g.m.FS.mkdir(folder);
    g.put(path, bytes);
    try {
      const doc = g.must('pelto_open', path);
      return { doc, ...drawing(g, doc) };
    } finally {
      g.drop(path);
      g.m.FS.rmdir(folder);
    }
  },
  close: (g, doc) => void g.call('pelto_close', doc),
  draw: (g, doc) => drawing(g, doc),
  pick: (g, doc, x, y, tolerance, connected) =>
    step('pelto_pick')(g, doc, x, y, tolerance, connected ? 1 : 0),
  selectTransparent: step('pelto_select_transparent'),
  clearSelection: step('pelto_clear_selection'),
  preview: (g, doc, values) => {
    const text = valuesText(values);
    return drawing(g, doc, g.call('pelto_preview', doc, text, text.length));
  },
  // area: { x, y, width, height } from the top left, within the picture.
  previewArea: (g, doc, values, { x, y, width, height }) => {
    const text = valuesText(values);
    const pixels = g.call('pelto_preview_area', doc, text, text.length, x, y, width, height);
    return { x, y, width, height, rgba: g.pixels(pixels, doc, width * height * 4) };
  },
  makeButton: (g, doc, values) => {
    g.withText('pelto_make_button', doc, valuesText(values));
    return drawing(g, doc);
  },
  cutOut: step('pelto_cut_out'),
  buttonSet(g, doc, values, name, format) {
    const text = valuesText(values);
    return filesOf(g, (folder) =>
      g.must('pelto_button_set', doc, text, text.length, `${folder}/${fileName(name)}`, format),
    );
  },
  undo: step('pelto_undo'),
  redo: step('pelto_redo'),
  save(g, doc, format) {
    const path = `/save-${++sequence}`;
    g.must('pelto_save', doc, path, format);
    return g.take(path);
  },
  // A style file's bytes: the style as read, and what the document shows
  // once the style's background is its selection.
  applyStyle(g, doc, bytes, name) {
    g.withText('pelto_apply_style', doc, name, bytes);
    return { style: g.text(g.call('pelto_style')), ...drawing(g, doc) };
  },
  // The background a style saved from the document may keep, or none.
  selectionBackground(g, doc) {
    g.withText(
      'pelto_write_style',
      doc,
      1,
      valuesText({ angle: 0, contrast: 0, width: 0, shape: 'cut', outline: 'inner' }),
    );
    return JSON.parse(g.text(g.call('pelto_style'))).background ?? null;
  },
};
// The engine's own copies in its answers (the value, or those it holds) go to
// the caller without copying.
const transferable = (value) => [
  ...new Set(
    [value, ...(value?.constructor === Object ? Object.values(value) : [])]
      .filter((v) => ArrayBuffer.isView(v))
      .map((v) => v.buffer),
  ),
];

let queue = Promise.resolve();
port.listen(({ id, op, args, lang, where }) => {
  queue = queue.then(async () => {
    try {
      const g = await loaded(where);
      if (lang !== undefined) g.setLang(lang);
      const value = ops[op](g, ...args);
      port.post({ id, value }, transferable(value));
    } catch (error) {
      port.post({ id, error: postable(error) });
    }
  });
});
