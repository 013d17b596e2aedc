// The page: a picture opened, its background picked, a button previewed and
// made, undone, saved; the engine's work all in the module's worker
// (pelto.mjs's openDocument).
import { clearAlert, report, showAlert } from './alert.mjs';
import { showButtonSet } from './button-set.mjs';
import { attachDial } from './dial.mjs';
import { numbers, readValues, setFields, startValues } from './fields.mjs';
import { openDocument, readStyle, usesThreadedEngine, writeStyle } from './pelto.mjs';
import { chooseLanguage, language, storedLanguage, text, translatePage } from './texts.mjs';
import { PictureView, zoomPercent } from './view.mjs';
import { makeZip } from './zip.mjs';

const $ = (id) => document.getElementById(id);
// The open document (or none), and the name it came with.
let doc = null,
  fileName = '';
// Each change of the document makes earlier previews stale.
let generation = 0;

// The page shows that it is busy (aria-busy, and the status beside the
// picture) while the engine works for it or a preview waits.
let busyCount = 0;
function busy(change) {
  busyCount += change;
  const now = busyCount > 0;
  $('view').setAttribute('aria-busy', String(now));
  $('working').hidden = !now;
}
async function working(promise) {
  busy(1);
  try {
    return await promise;
  } finally {
    busy(-1);
  }
}

function setValues(v) {
  setFields(v);
  showDial();
}

// The picture pixel last pointed at, shown in the language chosen.
let cursor = null;
function showPosition() {
  if (cursor) $('position').value = text('pelto::WebPage|位置 %1, %2', cursor.x, cursor.y);
}

const view = new PictureView($('view'), $('scroller'), {
  onPick: (x, y) => pick(x, y),
  // Read out as the keys move the crosshair, not as the mouse passes.
  onCursor: (x, y, byKeys) => {
    $('position').setAttribute('aria-live', byKeys ? 'polite' : 'off');
    cursor = { x, y };
    showPosition();
  },
});

function updateControls() {
  const open = doc !== null;
  for (const id of ['save-png', 'save-bmp', 'select-transparent', 'make', 'zoom-actual'])
    $(id).disabled = !open;
  $('clear-selection').disabled = !doc?.hasSelection;
  $('cut-out').disabled = $('export-states').disabled = !doc?.hasSelection;
  $('undo').disabled = !doc?.canUndo;
  $('redo').disabled = !doc?.canRedo;
  $('zoom-in').disabled = !view.canZoom(1);
  $('zoom-out').disabled = !view.canZoom(-1);
  $('zoom-text').value = text('pelto::ViewZoom|%1 %', zoomPercent(view.zoom));
  showPosition();
  $('drop-hint').hidden = open;
  // An empty picture is no stop on the way through the page.
  $('view').tabIndex = open ? 0 : -1;
}

// What the document shows after a step; previews asked before it are dropped.
function showDocument(shown) {
  ++generation;
  view.show(shown);
  updateControls();
}

// Runs work with the alert cleared first, and shows its refusal there.
async function reporting(work) {
  clearAlert();
  try {
    await work();
  } catch (error) {
    report(error);
  }
}

// The document's latest step (a pick, a file opened) done: a preview asked
// meanwhile is of what that step leaves.
let stepDone = Promise.resolve();

// One document step at a time, its refusal shown and nothing lost.
async function act(step, ...args) {
  if (!doc) return;
  const open = doc;
  await (stepDone = reporting(async () => showDocument(await working(open[step](...args)))));
}

async function openFile(file) {
  if (!file) return;
  await (stepDone = reporting(async () => {
    const bytes = new Uint8Array(await file.arrayBuffer());
    await working(engineCovered);
    const opened = await working(
      openDocument(bytes, { name: file.name, lang: language(), transfer: true }),
    );
    doc?.close();
    doc = opened;
    fileName = file.name;
    view.reset();
    showDocument(await working(doc.draw()));
    $('view').focus();
  }));
}

function pick(x, y) {
  const values = readValues({ tell: true, fields: [$('tolerance')] });
  if (values) act('pick', x, y, { tolerance: values.tolerance, connected: $('connected').checked });
}

// The preview: asked a moment after the values stop changing, one at a time,
// the latest values winning; the document itself when there is none to show.
let previewTimer = 0,
  previewRunning = false,
  previewAgain = false,
  previewShown = false;
function schedulePreview() {
  if (previewTimer) clearTimeout(previewTimer);
  else busy(1);
  previewTimer = setTimeout(() => {
    previewTimer = 0;
    busy(-1);
    runPreview();
  }, 120);
}
async function runPreview() {
  if (previewRunning) {
    previewAgain = true;
    return;
  }
  previewRunning = true;
  try {
    await working(stepDone);
    const values = readValues({ tell: false });
    const wanted = doc?.hasSelection && $('preview').checked && values;
    if (!wanted && !previewShown) return;
    const asked = generation;
    // Only the part in sight is shaded, the rest as it scrolls into sight.
    const area = view.visibleArea() ?? { x: 0, y: 0, width: doc.width, height: doc.height };
    const shown = await working(wanted ? doc.previewArea(values, area) : doc.draw());
    if (asked === generation) {
      if (wanted) view.showPart(JSON.stringify(values), shown);
      else view.show(shown);
      previewShown = !!wanted;
    }
  } catch (error) {
    if (error.name !== 'AbortError') report(error);
  } finally {
    previewRunning = false;
    if (previewAgain) {
      previewAgain = false;
      runPreview();
    }
  }
}

function make() {
  const values = readValues({ tell: true });
  if (!values) return;
  if (!doc?.hasSelection) return showAlert(text('pelto::CPeltoView|選択範囲を指定してください'));
  previewShown = false;
  act('makeButton', values);
}

function download(bytes, name, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}
const stem = () => fileName.replace(/\.[^.]*$/, '') || 'pelto';

async function save(format) {
  if (!doc) return;
  await reporting(async () =>
    download(await working(doc.save(format)), `${stem()}.${format}`, `image/${format}`),
  );
}

// The button states of the values, shown, then downloaded as one archive.
async function exportStates() {
  const values = readValues({ tell: true });
  if (!values || !doc) return;
  const open = doc;
  await reporting(async () => {
    const name = `${stem()}-button`;
    const files = await working(open.buttonSet(values, { name: `${name}.png` }));
    if (await showButtonSet($('states'), files))
      download(makeZip(files), `${name}.zip`, 'application/zip');
  });
}

async function loadStyle(file) {
  if (!file) return;
  await reporting(async () => {
    // The file's bytes as they are, so that the engine refuses what pelto-cli refuses.
    const bytes = new Uint8Array(await file.arrayBuffer());
    const options = { name: file.name, lang: language() };
    await working(engineCovered);
    const style = await working(doc ? doc.applyStyle(bytes, options) : readStyle(bytes, options));
    setValues(style);
    if (doc) {
      previewShown = false;
      showDocument(await working(doc.draw()));
    }
    schedulePreview();
  });
}

async function saveStyle() {
  const values = readValues({ tell: true });
  if (!values) return;
  await reporting(async () => {
    // The selection goes along only when asked for, as the windows ask.
    const background = doc && (await working(doc.selectionBackground()));
    const keep =
      background &&
      (await askYesNo(text(Array.isArray(background) ? kAskKeepPicks : kAskKeepTransparent)));
    const style = { version: 1, ...values, ...(keep ? { background } : {}) };
    await working(engineCovered);
    download(
      await working(writeStyle(style, { lang: language() })),
      `${stem()}.json`,
      'application/json',
    );
  });
}

const kAskKeepPicks = 'pelto::appstr|絵の上で選んだ背景の点もスタイルに保存しますか？';
const kAskKeepTransparent =
  'pelto::appstr|背景として選ばれている透明な画素もスタイルに保存しますか？';

// The answer to a question of the windows' message box, はい or いいえ.
function askYesNo(question) {
  const dialog = $('ask');
  $('ask-text').textContent = question;
  dialog.returnValue = '';
  dialog.showModal();
  return new Promise((resolve) =>
    dialog.addEventListener('close', () => resolve(dialog.returnValue === 'yes'), { once: true }),
  );
}

function switchLanguage(lang) {
  chooseLanguage(lang);
  $('lang').value = language();
  updateControls();
  showDial();
  if (doc) doc.lang = language();
}

function zoom(step) {
  view.setZoom(step);
  updateControls();
  followPreview();
}
// A preview shown follows the part in sight.
function followPreview() {
  if (previewShown) runPreview();
}

const editing = (target) =>
  target.matches?.('input[type=number], input[type=text], textarea, select');
function onKey(event) {
  const key = event.key.toLowerCase();
  if (event.ctrlKey || event.metaKey) {
    if (event.altKey || editing(event.target)) return;
    if (key === 'z' && !event.shiftKey) act('undo');
    else if (key === 'y' || (key === 'z' && event.shiftKey)) act('redo');
    else return;
    previewShown = false;
    event.preventDefault();
  } else if (!event.altKey && !editing(event.target) && doc) {
    if (key === '+' || key === '=') zoom(1);
    else if (key === '-') zoom(-1);
    else return;
    event.preventDefault();
  }
}

const angle = $('angle');
const showDial = attachDial($('dial'), {
  get: () => Number(angle.value) || 0,
  set: (value) => {
    angle.value = String(value);
    showDial();
    schedulePreview();
  },
});

function wire() {
  $('file').addEventListener('change', (e) => {
    openFile(e.target.files[0]);
    e.target.value = '';
  });
  $('style-file').addEventListener('change', (e) => {
    loadStyle(e.target.files[0]);
    e.target.value = '';
  });
  $('load-style').addEventListener('click', () => $('style-file').click());
  $('save-style').addEventListener('click', saveStyle);
  $('save-png').addEventListener('click', () => save('png'));
  $('save-bmp').addEventListener('click', () => save('bmp'));
  $('export-states').addEventListener('click', exportStates);
  $('select-transparent').addEventListener('click', () => {
    previewShown = false;
    act('selectTransparent');
  });
  $('clear-selection').addEventListener('click', () => {
    previewShown = false;
    act('clearSelection');
  });
  $('make').addEventListener('click', make);
  $('cut-out').addEventListener('click', () => {
    previewShown = false;
    act('cutOut');
  });
  $('undo').addEventListener('click', () => {
    previewShown = false;
    act('undo');
  });
  $('redo').addEventListener('click', () => {
    previewShown = false;
    act('redo');
  });
  $('zoom-in').addEventListener('click', () => zoom(1));
  $('zoom-out').addEventListener('click', () => zoom(-1));
  $('zoom-actual').addEventListener('click', () => zoom(0));
  $('scroller').addEventListener('wheel', () => {
    updateControls();
    followPreview();
  });
  $('scroller').addEventListener('scroll', followPreview, { passive: true });
  new ResizeObserver(followPreview).observe($('scroller'));
  $('lang').addEventListener('change', (e) => switchLanguage(e.target.value));
  angle.addEventListener('input', showDial);
  for (const input of document.querySelectorAll('.tools input:not([type=file])'))
    input.addEventListener(input.type === 'number' ? 'input' : 'change', schedulePreview);
  for (const input of [...numbers, $('tolerance')])
    input.addEventListener(
      'change',
      () => readValues({ tell: true, fields: [input] }) && clearAlert(),
    );
  document.addEventListener('keydown', onKey);
  const dragging = (on) => document.body.classList.toggle('dragging', on);
  document.addEventListener('dragover', (e) => {
    e.preventDefault();
    dragging(true);
  });
  document.addEventListener('dragleave', (e) => {
    if (!e.relatedTarget) dragging(false);
  });
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    dragging(false);
    openFile(e.dataTransfer.files[0]);
  });
}

// On a first visit the service worker, as it installs, fetches the engine the
// page is about to: the engine's worker starts once it has the page (a moment;
// at most kTakeOverWait ms), so that its files come from the cache, not the
// server again.
let engineCovered = Promise.resolve();
const kTakeOverWait = 3000;
function takenOver(wait) {
  if (navigator.serviceWorker.controller) return Promise.resolve();
  return new Promise((done) => {
    navigator.serviceWorker.addEventListener('controllerchange', done, { once: true });
    setTimeout(done, wait);
  });
}

async function start() {
  wire();
  startValues(setValues);
  switchLanguage(storedLanguage());
  translatePage();
  updateControls();
  document.body.dataset.ready = 'true';
  // The service worker keeps the engine this page runs.
  const engine = usesThreadedEngine() ? 'threads' : 'single';
  if ('serviceWorker' in navigator)
    engineCovered = navigator.serviceWorker
      .register(`sw.js?engine=${engine}`)
      .then(() => takenOver(kTakeOverWait))
      .catch(() => {});
}

start();
