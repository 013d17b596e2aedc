// The page: a picture opened, its background picked, a button previewed and
// made, undone, saved; the engine's work all in worker.mjs.
import { attachDial } from './dial.mjs';
import { Engine } from './engine.mjs';
import { chooseLanguage, language, storedLanguage, text, translatePage } from './texts.mjs';
import { initialChoices, ranges } from './page-values.mjs';
import { PictureView, zoomPercent } from './view.mjs';

const $ = (id) => document.getElementById(id);
const engine = new Engine();
// The document's handle (0: none), the name it came with, and what the glue
// last said of it.
let doc = 0,
  fileName = '',
  docState = { hasSelection: false, canUndo: false, canRedo: false };
// Each change of the document makes earlier previews stale.
let generation = 0;

// The view is busy (aria-busy) while the engine works for it or a preview waits.
let busyCount = 0;
function busy(change) {
  busyCount += change;
  $('view').setAttribute('aria-busy', String(busyCount > 0));
}
async function call(op, ...args) {
  busy(1);
  try {
    return await engine.call(op, ...args);
  } finally {
    busy(-1);
  }
}

const alertBox = $('alert');
function showAlert(message) {
  alertBox.textContent = message;
  alertBox.hidden = false;
}
function clearAlert() {
  alertBox.hidden = true;
  alertBox.textContent = '';
}
// The glue's refusal as it words it; anything else (the engine not loading)
// in the page's words, with what the browser said.
function report(error) {
  showAlert(
    error.refused
      ? error.message
      : `${text('pelto::WebPage|エンジンを読み込めませんでした。')}\n${error.message}`,
  );
}

// The button values, or null with the desktop's message for the first bad field.
const numbers = ['angle', 'contrast', 'width'].map((id) => $(id));
function readValues({ tell, fields = numbers }) {
  const values = {};
  for (const field of fields) {
    const low = Number(field.min),
      high = Number(field.max),
      raw = field.value.trim();
    const value = Number(raw);
    const ok = /^\d+$/.test(raw) && value >= low && value <= high;
    field.setAttribute('aria-invalid', String(!ok));
    if (!ok) {
      if (tell) {
        showAlert(
          text('pelto::CDataExchange|%1 から %2 までの整数を入力してください。', low, high),
        );
        field.focus();
        field.select();
      }
      return null;
    }
    values[field.id] = value;
  }
  values.shape = Number(document.querySelector('input[name=shape]:checked').value);
  values.outline = Number(document.querySelector('input[name=outline]:checked').value);
  return values;
}

// The fields take the ranges and starting values the windows' dialogs have.
function startValues() {
  for (const [id, { low, high }] of Object.entries(ranges))
    Object.assign($(id), { min: low, max: high });
  const dial = $('dial');
  dial.setAttribute('aria-valuemin', String(ranges.angle.low));
  dial.setAttribute('aria-valuemax', String(ranges.angle.high));
  $('tolerance').value = String(ranges.tolerance.initial);
  setValues({
    angle: ranges.angle.initial,
    contrast: ranges.contrast.initial,
    width: ranges.width.initial,
    ...initialChoices,
  });
}

function setValues(v) {
  for (const field of numbers) field.value = String(v[field.id]);
  document.querySelector(`input[name=shape][value="${v.shape}"]`).checked = true;
  document.querySelector(`input[name=outline][value="${v.outline}"]`).checked = true;
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
  const open = doc !== 0;
  for (const id of ['save-png', 'save-bmp', 'select-transparent', 'make', 'zoom-actual'])
    $(id).disabled = !open;
  $('clear-selection').disabled = !docState.hasSelection;
  $('undo').disabled = !docState.canUndo;
  $('redo').disabled = !docState.canRedo;
  $('zoom-in').disabled = !view.canZoom(1);
  $('zoom-out').disabled = !view.canZoom(-1);
  $('zoom-text').value = text('pelto::ViewZoom|%1 %', zoomPercent(view.zoom));
  showPosition();
  $('drop-hint').hidden = open;
}

// The document's new state on screen; previews asked before it are dropped.
function showDocument(state) {
  ++generation;
  docState = state;
  view.show(state);
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

// One document action at a time, its refusal shown and nothing lost.
async function act(op, ...args) {
  if (!doc) return;
  await reporting(async () => showDocument(await call(op, doc, ...args)));
}

async function openFile(file) {
  if (!file) return;
  await reporting(async () => {
    const opened = await call('open', file.name, new Uint8Array(await file.arrayBuffer()));
    if (doc) engine.call('close', doc);
    doc = opened.doc;
    fileName = file.name;
    view.reset();
    showDocument(opened);
    $('view').focus();
  });
}

function pick(x, y) {
  const values = readValues({ tell: true, fields: [$('tolerance')] });
  if (values) act('pick', x, y, values.tolerance, $('connected').checked);
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
  const values = readValues({ tell: false });
  const wanted = doc && docState.hasSelection && $('preview').checked && values;
  if (!wanted && !previewShown) return;
  previewRunning = true;
  const asked = generation;
  try {
    const state = await call(wanted ? 'preview' : 'show', doc, ...(wanted ? [values] : []));
    if (asked === generation) {
      view.show(state);
      previewShown = !!wanted;
    }
  } catch (error) {
    report(error);
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
  if (!docState.hasSelection)
    return showAlert(text('pelto::CPeltoView|選択範囲を指定してください'));
  previewShown = false;
  act('make', values);
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
    download(await call('save', doc, format), `${stem()}.${format}`, `image/${format}`),
  );
}

async function loadStyle(file) {
  if (!file) return;
  await reporting(async () => {
    // The file's bytes as they are, so that the engine refuses what pelto-cli refuses.
    const applied = await call(
      'applyStyle',
      doc,
      new Uint8Array(await file.arrayBuffer()),
      file.name,
    );
    const style = JSON.parse(applied.style);
    // The file's words for the two choices, as the radio buttons' values.
    setValues({
      ...style,
      shape: style.shape === 'round' ? 1 : 0,
      outline: style.outline === 'outer' ? 1 : 0,
    });
    if (doc) {
      previewShown = false;
      showDocument(applied);
    }
    schedulePreview();
  });
}

async function saveStyle() {
  const values = readValues({ tell: true });
  if (!values) return;
  await reporting(async () => {
    // The selection goes along only when asked for, as the windows ask.
    const kept = await call('savedBackground', doc);
    const keep =
      kept !== 0 && (await askYesNo(text(kept === 1 ? kAskKeepPicks : kAskKeepTransparent)));
    download(await call('writeStyle', doc, keep, values), `${stem()}.json`, 'application/json');
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

async function switchLanguage(lang) {
  chooseLanguage(lang);
  $('lang').value = language();
  updateControls();
  try {
    await engine.call('lang', language());
  } catch (error) {
    report(error);
  }
}

function zoom(step) {
  view.setZoom(step);
  updateControls();
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
  $('select-transparent').addEventListener('click', () => {
    previewShown = false;
    act('transparent');
  });
  $('clear-selection').addEventListener('click', () => {
    previewShown = false;
    act('clear');
  });
  $('make').addEventListener('click', make);
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
  $('scroller').addEventListener('wheel', () => updateControls());
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

async function start() {
  wire();
  startValues();
  await switchLanguage(storedLanguage());
  translatePage();
  updateControls();
  document.body.dataset.ready = 'true';
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
}

start();
