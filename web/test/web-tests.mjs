// The web module against pelto-cli, byte for byte, in Node and in Debian's
// chromium (headless, through puppeteer-core): every case of cases.mjs in
// both languages, refusals by their messages, the light factor's digest
// against the desktop's, the glue's document functions step by step, and a
// 4096 x 4096 picture.
//   PELTO_SITE=DIR PELTO_CLI=pelto-cli PELTO_DIGEST=light_digest node --test web-tests.mjs
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';
import puppeteer from 'puppeteer-core';
import { makePng } from '../picture-files.mjs';
import { serveSite } from '../serve.mjs';
import { cases, fourGiB, inputs } from './cases.mjs';

const site = resolve(process.env.PELTO_SITE);
const cli = process.env.PELTO_CLI;
const root = new URL('../..', import.meta.url).pathname;
const { makeButton, lightDigest, openEngine } = await import(join(site, 'pelto.mjs'));
const encoder = new TextEncoder();
const sha256 = (bytes) => createHash('sha256').update(bytes).digest('hex');

// Runs pelto-cli in a folder of its own holding files; what it wrote to out,
// or its message lines without "pelto-cli: ", the input's name and the usage.
function runCli(files, args, { out, input, limit } = {}) {
  const dir = mkdtempSync(join(tmpdir(), 'pelto-web-'));
  try {
    for (const [name, bytes] of Object.entries(files)) writeFileSync(join(dir, name), bytes);
    const run = limit
      ? spawnSync('prlimit', [`--as=${limit}`, cli, ...args], { cwd: dir, encoding: 'buffer' })
      : spawnSync(cli, args, { cwd: dir, encoding: 'buffer' });
    if (run.status === 0) return { bytes: out ? readFileSync(join(dir, out)) : null };
    const text = run.stderr.toString().split('\nUsage:')[0].replace(/\n$/, '');
    const named = input ? new RegExp(`^${input}: `, 'gm') : /^$/;
    return { error: text.replace(/^pelto-cli: /gm, '').replace(named, '') };
  } finally {
    rmSync(dir, { recursive: true });
  }
}

// What pelto-cli makes of a picture and a style: { bytes } or { error }.
function desktop(name, bytes, style, options, lang) {
  const out = `out.${name.split('.').pop()}`;
  const args = ['--lang', lang, name, out, '--style', 'style'];
  if (options.format) args.push('--format', options.format);
  const limit = fourGiB.has(name) ? 2 ** 32 : undefined;
  return runCli({ [name]: bytes, style: JSON.stringify(style) }, args, { out, input: name, limit });
}

// pelto-cli's word on a style file of these bytes: 'taken' or its refusal.
function desktopStyle(bytes, lang) {
  const run = runCli({ style: bytes }, ['--lang', lang, '--save-style', 'out', '--style', 'style']);
  return run.error ?? 'taken';
}

const table = [];
for (const [name, style, options = {}] of cases)
  for (const lang of ['ja', 'en']) {
    const bytes = await inputs[name](root);
    const want = desktop(name, bytes, style, options, lang);
    table.push({ name, bytes, style: { ...style, ...options, lang }, lang, want });
  }
const caseName = (c) => `${c.name} ${JSON.stringify(c.style)}`;
const desktopDigest = execFileSync(process.env.PELTO_DIGEST).toString().trim();

// A refused call's message.
function refusal(e, name, ...args) {
  assert.equal(e.call(name, ...args), 0, `${name} is refused`);
  return e.m.UTF8ToString(e.m._pelto_error());
}

// A 4096 x 4096 picture, compared by its digest: the button, and the picture
// drawn after the page's steps, which must be the same in either browser
// engine as in Node's (memory grows on the way, and the threaded engine shares
// the work and the PNG's strips among its threads).
const big = {
  bytes: await makePng(4096, 4096, (x, y) =>
    Math.hypot(x - 2048, y - 2048) < 1500
      ? [220, (x >> 4) & 255, (y >> 4) & 255, 255]
      : [20, 90, 200, 255],
  ),
  style: {
    version: 1,
    angle: 135,
    contrast: 128,
    width: 30,
    shape: 'round',
    outline: 'inner',
    background: [{ x: 0, y: 0, tolerance: 5 }],
  },
};
// Run here and, as its text, in a worker of the browser's.
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
{
  const want = desktop('big.png', big.bytes, big.style, {}, 'en');
  big.hash = want.bytes ? sha256(want.bytes) : JSON.stringify(want);
  big.drawn = sha256(bigSteps(await openEngine(), big.bytes));
}

describe('Node', () => {
  test('every case as pelto-cli makes it, refusals by their messages', async (t) => {
    for (const c of table)
      await t.test(caseName(c), async () => {
        let got;
        try {
          got = { bytes: Buffer.from(await makeButton(c.bytes, c.style)) };
        } catch (e) {
          got = { error: e.message };
        }
        assert.deepEqual(got, c.want);
      });
  });

  test("the light factors are the desktop's", async () => {
    assert.equal(await lightDigest(), desktopDigest);
  });

  test("the page's functions step by step, as a window takes them", async () => {
    const e = await openEngine();
    const style = {
      version: 1,
      angle: 30,
      contrast: 200,
      width: 8,
      shape: 'round',
      outline: 'outer',
      background: [{ x: 0, y: 0, tolerance: 10 }],
    };
    e.setLang('en');
    const disc = await inputs['disc.bmp'](root);
    e.put('/page.bmp', disc);
    const doc = e.must('pelto_open', '/page.bmp');
    const drawn = () => Buffer.from(e.pixels(e.call('pelto_rgba', doc), doc));
    const plain = drawn();
    assert.equal(
      refusal(e, 'pelto_make_button', doc, 30, 200, 8, 1, 1),
      'Select the background first.',
    );
    assert.equal(
      refusal(e, 'pelto_pick', doc, 97, 0, 10, 1),
      'The point 97,0 lies outside the 97 x 64 picture.',
    );
    e.must('pelto_pick', doc, 0, 0, 10, 1);
    const selected = drawn();
    assert.notDeepEqual(selected, plain, 'the selection is drawn');
    const preview = Buffer.from(e.pixels(e.call('pelto_preview', doc, 30, 200, 8, 1, 1), doc));
    assert.equal(
      refusal(e, 'pelto_preview', doc, 30, 200, 31, 1, 1),
      'The value of "width" is not right.\nIt must be a whole number from 0 to 30.',
    );
    e.must('pelto_make_button', doc, 30, 200, 8, 1, 1);
    const made = drawn();
    assert.deepEqual(preview, made, 'the preview is the button');
    e.must('pelto_save', doc, '/page-out.bmp', '');
    assert.deepEqual(
      Buffer.from(e.take('/page-out.bmp')),
      desktop('disc.bmp', disc, style, {}, 'en').bytes,
    );
    assert.equal(refusal(e, 'pelto_redo', doc), 'nothing to redo');
    e.must('pelto_undo', doc);
    assert.deepEqual(drawn(), selected, 'undo brings back the picture and the selection');
    e.must('pelto_redo', doc);
    assert.deepEqual(drawn(), made, 'redo');
    e.must('pelto_undo', doc);

    // Styles: read and written as pelto-cli reads and writes them; a saved
    // style keeps the picks that made the selection, connected ones too.
    const read = (text) => {
      const bytes = encoder.encode(text);
      e.must('pelto_read_style', bytes, bytes.length, 'style');
      return e.m.UTF8ToString(e.call('pelto_style'));
    };
    e.must('pelto_write_style', 0, 0, 30, 200, 8, 1, 1);
    const written = e.m.UTF8ToString(e.call('pelto_style'));
    assert.equal(read(written), written);
    assert.equal(
      written,
      runCli(
        {},
        [
          '--save-style',
          'out',
          '--angle',
          '30',
          '--contrast',
          '200',
          '--width',
          '8',
          '--shape',
          'round',
          '--outline',
          'outer',
        ],
        { out: 'out' },
      ).bytes.toString(),
    );
    e.must('pelto_pick', doc, 96, 63, 0, 0);
    assert.equal(e.call('pelto_saved_background', doc), 1);
    e.must('pelto_write_style', doc, 1, 30, 200, 8, 1, 1);
    assert.deepEqual(JSON.parse(e.m.UTF8ToString(e.call('pelto_style'))).background, [
      { x: 0, y: 0, tolerance: 10, connected: true },
      { x: 96, y: 63, tolerance: 0 },
    ]);
    assert.equal(refusal(e, 'pelto_set_lang', 'fr'), "lang must be ja or en, got 'fr'");

    // A style's background is applied whole or not at all.
    const outside = encoder.encode(
      JSON.stringify({
        ...style,
        background: [
          { x: 0, y: 0, tolerance: 90 },
          { x: 0, y: 64, tolerance: 0 },
        ],
      }),
    );
    const shown = drawn();
    assert.equal(
      refusal(e, 'pelto_apply_style', doc, outside, outside.length, 'style'),
      'The point 0,64 lies outside the 97 x 64 picture.',
    );
    assert.deepEqual(drawn(), shown, 'nothing changed');
    e.call('pelto_close', doc);
    assert.equal(refusal(e, 'pelto_width', doc), `no open document ${doc}`);
    e.drop('/page.bmp');
  });

  test('style texts refused as pelto-cli refuses them, byte for byte', async () => {
    const e = await openEngine();
    const bare = JSON.stringify({
      version: 1,
      angle: 0,
      contrast: 0,
      width: 0,
      shape: 'cut',
      outline: 'inner',
    });
    const texts = {
      bare,
      nested: `{"version":${'['.repeat(100000)}${']'.repeat(100000)},"angle":0}`,
      nulThenMore: `${bare}\0{]`,
      overAMebibyte: JSON.stringify({
        ...JSON.parse(bare),
        background: Array.from({ length: 100000 }, (_, i) => ({ x: i, y: i, tolerance: 0 })),
      }),
    };
    for (const text of Object.values(texts))
      for (const lang of ['ja', 'en']) {
        const bytes = encoder.encode(text);
        e.setLang(lang);
        const taken = e.call('pelto_read_style', bytes, bytes.length, 'style');
        assert.equal(
          taken ? 'taken' : e.m.UTF8ToString(e.m._pelto_error()),
          desktopStyle(bytes, lang),
        );
      }
  });

  test('refused 2500 times, the engine stays as it was', async () => {
    const e = await openEngine();
    const nested = encoder.encode(`{"version":${'['.repeat(100000)}${']'.repeat(100000)}}`);
    const memory = e.heap().byteLength;
    let refused = 0;
    for (let i = 0; i < 2500; i++)
      refused += e.call('pelto_read_style', nested, nested.length, 'style') === 0;
    assert.equal(refused, 2500);
    assert.equal(e.heap().byteLength, memory, 'no memory taken');
    const c = table[0];
    assert.deepEqual(Buffer.from(await makeButton(c.bytes, c.style)), c.want.bytes);
  });

  test("the caller's stack running out within the engine leaves the engine's whole", async () => {
    const e = await openEngine();
    const style = encoder.encode(JSON.stringify(cases[0][1]));
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
          e.call('pelto_read_style', style, style.length, 'style');
        } catch (error) {
          if (!(error instanceof RangeError)) throw error;
          outOfStack++;
        }
      return [depth, step];
    };
    for (let round = 0; round < 20; round++) down(0, 1 + (round & 1));
    e.must('pelto_read_style', style, style.length, 'style');
    assert.ok(outOfStack > 0, 'some calls ran out of stack');
    assert.equal(e.m.stackSave(), stack);
  });

  test('each call works on its arguments as they were when it was made', async () => {
    const c = table.find((row) => row.want.bytes && row.name === 'disc.bmp');
    const bytes = new Uint8Array(c.bytes);
    const style = structuredClone(c.style);
    const promised = makeButton(bytes, style);
    bytes.fill(0);
    style.width = 30;
    style.background = 'transparent';
    assert.deepEqual(Buffer.from(await promised), c.want.bytes);
  });
});

// Chromium: served cross-origin isolated, makeButton's worker runs the
// threaded engine, served plainly the one-thread engine; each must write
// pelto-cli's bytes.
describe('chromium', () => {
  let browser;
  before(async () => {
    browser = await puppeteer.launch({
      executablePath: '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu'],
    });
  });
  after(() => browser?.close());

  for (const isolated of [true, false])
    test(isolated ? 'served isolated' : 'served plainly', async (t) => {
      const server = await serveSite(site, 0, 'no-cache', isolated);
      const page = await browser.newPage();
      page.on('pageerror', (e) => assert.fail(`page error: ${e.message}`));
      try {
        await page.goto(server.url);
        await inChromium(t, page, isolated);
      } finally {
        await page.close();
        server.close();
      }
    });
});

async function inChromium(t, page, isolated) {
  const { threads, processors } = await page.evaluate(async () => ({
    threads: await (await import('./pelto.mjs')).threads(),
    processors: navigator.hardwareConcurrency,
  }));
  assert.equal(threads, isolated ? Math.min(processors, 8) : 1, 'threads');
  const b64 = (bytes) => Buffer.from(bytes).toString('base64');
  // The button in the page, as its SHA-256, or the refusal's message.
  const run = (bytes, style) =>
    page.evaluate(
      async (input, pageStyle) => {
        const { makeButton: make } = await import('./pelto.mjs');
        try {
          const out = await make(
            Uint8Array.from(atob(input), (c) => c.charCodeAt(0)),
            pageStyle,
          );
          const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', out));
          return { hash: Array.from(hash, (b) => b.toString(16).padStart(2, '0')).join('') };
        } catch (e) {
          return { error: e.message };
        }
      },
      b64(bytes),
      style,
    );
  await t.test('every case', async (tt) => {
    for (const c of table)
      await tt.test(caseName(c), async () => {
        const want = c.want.bytes ? { hash: sha256(c.want.bytes) } : c.want;
        assert.deepEqual(await run(c.bytes, c.style), want);
      });
  });
  await t.test("the light factors are the desktop's", async () => {
    const digest = await page.evaluate(async () => (await import('./pelto.mjs')).lightDigest());
    assert.equal(digest, desktopDigest);
  });
  await t.test('4096 x 4096', async () => {
    assert.deepEqual(await run(big.bytes, { ...big.style, lang: 'en' }), { hash: big.hash });
  });
  await t.test("4096 x 4096 drawn after the page's steps, in a worker", async () => {
    const drawn = await page.evaluate(
      async (input, steps) => {
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
        const blob = new Blob([source], { type: 'text/javascript' });
        const worker = new Worker(URL.createObjectURL(blob), { type: 'module' });
        worker.postMessage(Uint8Array.from(atob(input), (c) => c.charCodeAt(0)));
        return new Promise((done) => (worker.onmessage = ({ data }) => done(data)));
      },
      b64(big.bytes),
      bigSteps.toString(),
    );
    assert.equal(drawn, big.drawn);
  });
}
