// The web module against pelto-cli, byte for byte, in Node and in Debian's
// chromium (headless, through puppeteer-core): every case of cases.mjs in
// both languages, the light factor's digest against the desktop's, and a
// 4096 x 4096 picture. node web-tests.mjs SITE PELTO-CLI LIGHT-DIGEST ROOT
import { cases, fourGiB, inputs, makePng } from './cases.mjs';
import { execFileSync, spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serveSite } from '../serve.mjs';

const [site, cli, digestTool, root] = process.argv.slice(2);
const { makeButton, lightDigest, openEngine } = await import(join(site, 'pelto.mjs'));
let passed = 0;
let failed = 0;
function check(ok, what) {
  if (ok) passed++;
  else failed++;
  if (!ok) console.log(`FAILED: ${what}`);
}

// What pelto-cli makes of it: { bytes } or { error } (its message lines
// without "pelto-cli: ", the input's name and the usage text).
function desktop(name, bytes, style, options, lang) {
  const dir = mkdtempSync(join(tmpdir(), 'pelto-web-'));
  try {
    writeFileSync(join(dir, name), bytes);
    writeFileSync(join(dir, 'style'), JSON.stringify(style));
    const out = 'out.' + name.split('.').pop();
    const args = ['--lang', lang, name, out, '--style', 'style'];
    if (options.format) args.push('--format', options.format);
    const run = fourGiB.has(name)
      ? spawnSync('prlimit', [`--as=${2 ** 32}`, cli, ...args], { cwd: dir, encoding: 'buffer' })
      : spawnSync(cli, args, { cwd: dir, encoding: 'buffer' });
    if (run.status === 0) return { bytes: readFileSync(join(dir, out)) };
    const text = run.stderr.toString().split('\nUsage:')[0].replace(/\n$/, '');
    return {
      error: text.replace(/^pelto-cli: /gm, '').replace(new RegExp(`^${name}: `, 'gm'), ''),
    };
  } finally {
    rmSync(dir, { recursive: true });
  }
}

const encoder = new TextEncoder();

// pelto-cli's refusal of a style file of these bytes, as the glue words it,
// or 'taken'.
function desktopStyle(bytes, lang) {
  const dir = mkdtempSync(join(tmpdir(), 'pelto-web-'));
  try {
    writeFileSync(join(dir, 'style'), bytes);
    const run = spawnSync(cli, ['--lang', lang, '--save-style', 'out', '--style', 'style'], { cwd: dir, encoding: 'utf8' });
    return run.status === 0 ? 'taken' : run.stderr.split('\nUsage:')[0].replace(/\n$/, '').replace(/^pelto-cli: /gm, '');
  } finally {
    rmSync(dir, { recursive: true });
  }
}

function same(got, want) {
  if (want.bytes) return got.bytes !== undefined && Buffer.from(got.bytes).equals(want.bytes);
  return got.error === want.error;
}

function show(result) {
  return result.bytes ? `${result.bytes.length} bytes` : JSON.stringify(result.error);
}

const table = [];
for (const [name, style, options = {}] of cases)
  for (const lang of ['ja', 'en']) {
    const bytes = inputs[name](root);
    table.push({ name, bytes, style, options, lang, want: desktop(name, bytes, style, options, lang) });
  }

// Node.
for (const c of table) {
  let got;
  try {
    got = { bytes: await makeButton(new Uint8Array(c.bytes), { ...c.style, ...c.options, lang: c.lang }) };
  } catch (e) {
    got = { error: e.message };
  }
  check(same(got, c.want), `node ${c.name} ${JSON.stringify(c.style)} ${c.lang}: ${show(got)}, pelto-cli ${show(c.want)}`);
}
const desktopDigest = execFileSync(digestTool).toString().trim();
check((await lightDigest()) === desktopDigest, `node light digest ${await lightDigest()} vs ${desktopDigest}`);

// The page's functions (web/PeltoWeb.h), step by step as a window takes them.
{
  const e = await openEngine();
  const style = { version: 1, angle: 30, contrast: 200, width: 8, shape: 'round', outline: 'outer',
    background: [{ x: 0, y: 0, tolerance: 10 }] };
  e.setLang('en');
  e.put('/page.bmp', inputs['disc.bmp'](root));
  const doc = e.must('pelto_open', '/page.bmp');
  const plain = e.pixels(e.call('pelto_rgba', doc), doc);
  check(e.call('pelto_make_button', doc, 30, 200, 8, 1, 1) === 0 &&
    e.m.UTF8ToString(e.m._pelto_error()) === 'Select the background first.', 'a button needs a selection');
  check(e.call('pelto_pick', doc, 97, 0, 10, 1) === 0, 'a pick outside the picture is refused');
  e.must('pelto_pick', doc, 0, 0, 10, 1);
  const selected = e.pixels(e.call('pelto_rgba', doc), doc);
  check(!Buffer.from(selected).equals(Buffer.from(plain)), 'the selection is drawn');
  const preview = e.pixels(e.call('pelto_preview', doc, 30, 200, 8, 1, 1), doc);
  check(e.call('pelto_preview', doc, 30, 200, 31, 1, 1) === 0, 'a width past 30 is refused');
  e.must('pelto_make_button', doc, 30, 200, 8, 1, 1);
  const made = e.pixels(e.call('pelto_rgba', doc), doc);
  check(Buffer.from(preview).equals(Buffer.from(made)), 'the preview is the button');
  e.must('pelto_save', doc, '/page-out.bmp', '');
  const want = desktop('disc.bmp', inputs['disc.bmp'](root), style, {}, 'en');
  check(Buffer.from(e.take('/page-out.bmp')).equals(want.bytes), 'the saved button is pelto-cli\'s');
  check(e.call('pelto_can_undo', doc) === 1, 'the button can be undone');
  e.must('pelto_undo', doc);
  check(Buffer.from(e.pixels(e.call('pelto_rgba', doc), doc)).equals(Buffer.from(selected)),
    'undo brings back the picture and the selection');
  check(e.call('pelto_can_redo', doc) === 1, 'the button undone can be made again');
  e.must('pelto_redo', doc);
  check(Buffer.from(e.pixels(e.call('pelto_rgba', doc), doc)).equals(Buffer.from(made)), 'redo');
  check(e.call('pelto_redo', doc) === 0, 'nothing to redo is refused');
  e.must('pelto_write_style', 0, 0, 30, 200, 8, 1, 1);
  const written = e.m.UTF8ToString(e.call('pelto_style'));
  const readBack = (text) => e.call('pelto_read_style', encoder.encode(text), encoder.encode(text).length, 'style');
  check(readBack(written) === 1 && e.m.UTF8ToString(e.call('pelto_style')) === written && JSON.parse(written).angle === 30,
    'a style written reads back');
  check(readBack('{"version": 1}') === 0, 'a style without its values is refused');
  check(e.call('pelto_set_lang', 'fr') === 0, 'only ja and en');
  // The selection's picks, connected ones too, are the style's background.
  e.must('pelto_undo', doc);
  e.must('pelto_pick', doc, 96, 63, 0, 0);
  check(e.call('pelto_saved_background', doc) === 1, 'a picked selection can be kept');
  e.must('pelto_write_style', doc, 1, 30, 200, 8, 1, 1);
  check(JSON.stringify(JSON.parse(e.m.UTF8ToString(e.call('pelto_style'))).background) ===
    JSON.stringify([{ x: 0, y: 0, tolerance: 10, connected: true }, { x: 96, y: 63, tolerance: 0 }]),
  'a saved style keeps the picks that made the selection');
  // A style's background is applied whole or not at all.
  const outside = encoder.encode(JSON.stringify({ ...style, background: [{ x: 0, y: 0, tolerance: 90 }, { x: 0, y: 64, tolerance: 0 }] }));
  const before = e.pixels(e.call('pelto_rgba', doc), doc);
  check(e.call('pelto_apply_style', doc, outside, outside.length, 'style') === 0 &&
    e.m.UTF8ToString(e.m._pelto_error()) === 'The point 0,64 lies outside the 97 x 64 picture.' &&
    Buffer.from(e.pixels(e.call('pelto_rgba', doc), doc)).equals(Buffer.from(before)),
  'a style with a pick outside the picture is refused with nothing changed');
  e.call('pelto_close', doc);
  check(e.call('pelto_width', doc) === 0, 'a closed document is gone');
  e.drop('/page.bmp');
}

// Style texts as pelto-cli refuses them, byte for byte as read from a file.
{
  const e = await openEngine();
  const nested = '{"version":' + '['.repeat(100000) + ']'.repeat(100000) + ',"angle":0}';
  const manyPicks = JSON.stringify({ version: 1, angle: 0, contrast: 0, width: 0, shape: 'cut', outline: 'inner',
    background: Array.from({ length: 100000 }, (_, i) => ({ x: i, y: i, tolerance: 0 })) });
  const bare = JSON.stringify({ version: 1, angle: 0, contrast: 0, width: 0, shape: 'cut', outline: 'inner' });
  const texts = { bare, nested, nulThenMore: `${bare}\0{]`, manyPicks };
  for (const [what, text] of Object.entries(texts))
    for (const lang of ['ja', 'en']) {
      const bytes = encoder.encode(text);
      const want = desktopStyle(bytes, lang);
      e.setLang(lang);
      const got = e.call('pelto_read_style', bytes, bytes.length, 'style') ? 'taken' : e.m.UTF8ToString(e.m._pelto_error());
      check(got === want, `style ${what} (${lang}): ${JSON.stringify(got)}, pelto-cli ${JSON.stringify(want)}`);
    }
  // Refused again and again, the engine stays as it was.
  const bytes = encoder.encode(nested);
  const memory = e.heap().byteLength;
  let refused = 0;
  for (let i = 0; i < 2500; i++) refused += e.call('pelto_read_style', bytes, bytes.length, 'style') === 0;
  check(refused === 2500 && e.heap().byteLength === memory, `2500 nested styles refused (${refused}), memory ${memory} -> ${e.heap().byteLength}`);
  const good = await makeButton(new Uint8Array(inputs['disc.bmp'](root)), { ...cases[3][1], lang: 'en' });
  check(Buffer.from(good).equals(desktop('disc.bmp', inputs['disc.bmp'](root), cases[3][1], {}, 'en').bytes),
    'a good button after them');

  // The caller's own stack running out within the WebAssembly leaves the engine's where it was.
  const goodStyle = encoder.encode(JSON.stringify(cases[0][1]));
  const stack = e.m.stackSave();
  let outOfStack = 0;
  // Calls at every depth on the way back from the stack's end, with frames
  // of two sizes, so that some run out within the engine.
  const down = (depth, step) => {
    try {
      down(depth + step, step);
    } catch (error) {
      if (!(error instanceof RangeError)) throw error;
    }
    for (let i = 0; i < 3; i++)
      try {
        e.call('pelto_read_style', goodStyle, goodStyle.length, 'style');
      } catch (error) {
        if (!(error instanceof RangeError)) throw error;
        outOfStack++;
      }
    return [depth, step];
  };
  for (let round = 0; round < 20; round++) down(0, 1 + (round & 1));
    } catch (error) {
      if (!(error instanceof RangeError)) throw error;
    }
    try {
      e.call('pelto_read_style', goodStyle, goodStyle.length, 'style');
    } catch (error) {
      if (!(error instanceof RangeError)) throw error;
      outOfStack++;
    }
  };
  down();
  e.must('pelto_read_style', goodStyle, goodStyle.length, 'style');
  check(outOfStack > 0 && e.m.stackSave() === stack, `the engine's stack after ${outOfStack} calls out of stack: ${e.m.stackSave()}, was ${stack}`);

  // Each call works on its arguments as they were when it was made.
  const input = new Uint8Array(inputs['disc.bmp'](root));
  const values = { ...cases[3][1], lang: 'en' };
  const promised = makeButton(input, values);
  input.fill(0);
  values.width = 30;
  check(Buffer.from(await promised).equals(good), 'makeButton takes its bytes and style as they were when called');
}

// A 4096 x 4096 picture, compared in the browser by its digest.
const big = {
  bytes: makePng(4096, 4096, (x, y) =>
    Math.hypot(x - 2048, y - 2048) < 1500 ? [220, (x >> 4) & 255, (y >> 4) & 255, 255] : [20, 90, 200, 255]),
  style: { version: 1, angle: 135, contrast: 128, width: 30, shape: 'round', outline: 'inner',
    background: [{ x: 0, y: 0, tolerance: 5 }] },
};
{
  const want = desktop('big.png', big.bytes, big.style, {}, 'en');
  big.hash = want.bytes ? createHash('sha256').update(want.bytes).digest('hex') : show(want);
}

// The page's steps on it, then the picture as drawn, which must be the same in
// either browser engine as in Node's: memory grows on the way, and the
// threaded engine shares the work and the PNG's strips among its threads. Run
// here and, as its text, in a worker of the browser's.
function bigSteps(e, bytes) {
  e.put('/big.png', bytes);
  const doc = e.must('pelto_open', '/big.png');
  e.must('pelto_pick', doc, 0, 0, 5, 0);
  e.must('pelto_make_button', doc, 135, 128, 30, 1, 0);
  e.must('pelto_save', doc, '/big-out.png', 'png');
  const rgba = e.pixels(e.call('pelto_rgba', doc), doc);
  e.call('pelto_close', doc);
  e.drop('/big.png');
  e.drop('/big-out.png');
  return rgba;
}
big.drawn = createHash('sha256').update(bigSteps(await openEngine(), big.bytes)).digest('hex');

// Chromium: served cross-origin isolated, makeButton's worker runs the
// threaded engine, served plainly the one-thread engine; each must write
// pelto-cli's bytes.
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu'],
});
try {
  for (const isolated of [true, false]) {
    const server = await serveSite(site, 0, 'no-cache', isolated);
    try {
      await inChromium(browser, server.url, isolated);
    } finally {
      server.close();
    }
  }
} finally {
  await browser.close();
}

async function inChromium(browser, url, isolated) {
  const where = isolated ? 'chromium, isolated' : 'chromium';
  const page = await browser.newPage();
  page.on('pageerror', (e) => console.log('page error:', e.message));
  await page.goto(url);
  const { threads, processors } = await page.evaluate(async () => ({
    threads: await (await import('./pelto.mjs')).threads(),
    processors: navigator.hardwareConcurrency,
  }));
  const wantThreads = isolated ? Math.min(processors, 8) : 1;
  check(threads === wantThreads, `${where}: ${threads} threads, want ${wantThreads}`);
  const run = (bytes, style) =>
    page.evaluate(async (b64, style) => {
      const { makeButton } = await import('./pelto.mjs');
      try {
        const input = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
        const out = await makeButton(input, style);
        let text = '';
        for (let i = 0; i < out.length; i += 0x8000)
          text += String.fromCharCode(...out.subarray(i, i + 0x8000));
        return { b64: btoa(text) };
      } catch (e) {
        return { error: e.message };
      }
    }, Buffer.from(bytes).toString('base64'), style);
  for (const c of table) {
    const answer = await run(c.bytes, { ...c.style, ...c.options, lang: c.lang });
    const got = answer.b64 !== undefined ? { bytes: Buffer.from(answer.b64, 'base64') } : answer;
    check(same(got, c.want), `${where} ${c.name} ${JSON.stringify(c.style)} ${c.lang}: ${show(got)}, pelto-cli ${show(c.want)}`);
  }
  const browserDigest = await page.evaluate(async () => (await import('./pelto.mjs')).lightDigest());
  check(browserDigest === desktopDigest, `${where} light digest ${browserDigest} vs ${desktopDigest}`);

  // A 4096 x 4096 picture, compared by its digest.
  const got = await page.evaluate(async (b64, style) => {
    const { makeButton } = await import('./pelto.mjs');
    const input = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
    try {
      const out = await makeButton(input, style);
      const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', out));
      return Array.from(hash, (b) => b.toString(16).padStart(2, '0')).join('');
    } catch (e) {
      return e.message;
    }
  }, big.bytes.toString('base64'), big.style);
  check(got === big.hash, `${where} 4096 x 4096: ${got} vs ${big.hash}`);

  const drawn = await page.evaluate(async (b64, steps) => {
    const source = `import { openEngine } from '${location.origin}/pelto.mjs';
      self.onmessage = async ({ data }) => {
        try {
          const rgba = (${steps})(await openEngine(), data);
          const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', rgba));
          self.postMessage(Array.from(hash, (b) => b.toString(16).padStart(2, '0')).join(''));
        } catch (e) {
          self.postMessage(String(e?.message ?? e));
        }
      };`;
    const worker = new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })), { type: 'module' });
    worker.postMessage(Uint8Array.from(atob(b64), (c) => c.charCodeAt(0)));
    return new Promise((resolve) => (worker.onmessage = ({ data }) => resolve(data)));
  }, big.bytes.toString('base64'), bigSteps.toString());
  check(drawn === big.drawn, `${where} 4096 x 4096 drawn after the page's steps: ${drawn} vs ${big.drawn}`);
  await page.close();
}

console.log(`web tests: ${table.length} cases in Node and chromium (isolated and not), light digest ${desktopDigest}`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
