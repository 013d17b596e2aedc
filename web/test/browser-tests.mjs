// The module and the page in each browser engine (browsers.mjs), served
// cross-origin isolated and plainly, against pelto-cli byte for byte: the
// table of cases (whole in chromium, a share of each kind elsewhere), the
// light factors, a 4096 x 4096 picture; the page's main work from opening a
// picture to the PNG downloaded; and the page offline once loaded. The
// browsers run side by side, on one server for each way of serving.
//   PELTO_SITE=DIR PELTO_CLI=pelto-cli PELTO_DIGEST=light_digest node --test browser-tests.mjs
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, describe, test } from 'node:test';
import { serveSite } from '../serve.mjs';
import { browserNames, launch, servings, sharesMemoryIsolated } from './browsers.mjs';
import { big, bigSteps, caseName, desktopDigest, sha256, table, values } from './desktop.mjs';
import {
  openPage,
  pixel,
  settled,
  upload,
  viewBecomes,
  viewChanged,
  viewPixels,
  writeDot,
} from './page-steps.mjs';

const site = resolve(process.env.PELTO_SITE);
const cli = process.env.PELTO_CLI;
const badge = new URL('../../samples/badge.bmp', import.meta.url).pathname;
const work = mkdtempSync(join(tmpdir(), 'pelto-browsers-'));
const dotPath = writeDot(work);
const { openDocument } = await import(new URL('pelto.mjs', pathToFileURL(`${site}/`)));
big.drawn = sha256(await bigSteps(openDocument, big.bytes, values));

// Chromium takes the whole table; the others the cases marked everywhere.
const tableIn = (name) => (name === 'chromium' ? table : table.filter((c) => c.everywhere));

const servers = {};
before(async () => {
  for (const { mode, isolated } of servings)
    servers[mode] = await serveSite(site, 0, 'no-cache', isolated);
});
after(() => Object.values(servers).forEach((server) => server.close()));

describe('every browser', { concurrency: true }, () => {
  for (const name of browserNames)
    describe(name, { concurrency: 1 }, () => {
      let browser;
      before(async () => {
        browser = await launch(name);
      });
      after(() => browser?.close());
      for (const { mode, isolated } of servings) {
        const threaded = isolated && sharesMemoryIsolated[name];
        test(`the module, ${mode}`, async (t) => {
          const page = await browser.open(servers[mode].url);
          try {
            await theModule(t, page, name, threaded);
          } finally {
            await page.close();
          }
        });
        test(`the page's work, ${mode}`, async () => {
          const page = await openPage(browser, servers[mode].url);
          try {
            await thePage(page);
          } finally {
            await page.close();
          }
        });
        test(`once loaded, the page works offline, ${mode}`, async () => {
          await offline(browser, isolated, threaded);
        });
      }
    });
});

const b64 = (bytes) => Buffer.from(bytes).toString('base64');
// The button made in the page, as its SHA-256, or the refusal's message.
const inPage = (page, bytes, style) =>
  page.evaluate(
    async (input, pageStyle) => {
      const { makeButton } = await import('./pelto.mjs');
      try {
        const out = await makeButton(
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

async function theModule(t, page, name, threaded) {
  const { threads, processors } = await page.evaluate(async () => ({
    threads: await (await import('./pelto.mjs')).threads(),
    processors: navigator.hardwareConcurrency,
  }));
  assert.equal(threads, threaded ? Math.min(processors, 8) : 1, 'threads');
  await t.test('the cases', async (tt) => {
    for (const c of tableIn(name))
      await tt.test(caseName(c), async () => {
        const want = c.want.bytes ? { hash: sha256(c.want.bytes) } : c.want;
        assert.deepEqual(await inPage(page, c.bytes, c.style), want);
      });
  });
  await t.test("the light factors are the desktop's", async () => {
    const digest = await page.evaluate(async () => (await import('./pelto.mjs')).lightDigest());
    assert.equal(digest, desktopDigest);
  });
  await t.test('4096 x 4096', async () => {
    assert.deepEqual(await inPage(page, big.bytes, { ...big.style, lang: 'en' }), {
      hash: big.hash,
    });
  });
  await t.test("4096 x 4096 drawn after the page's steps", async () => {
    const drawn = await page.evaluate(
      async (input, steps, stepValues) => {
        const { openDocument: open } = await import('./pelto.mjs');
        const bytes = Uint8Array.from(atob(input), (c) => c.charCodeAt(0));
        const rgba = await new Function(`return ${steps}`)()(open, bytes, stepValues);
        const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', rgba));
        return Array.from(hash, (b) => b.toString(16).padStart(2, '0')).join('');
      },
      b64(big.bytes),
      bigSteps.toString(),
      values,
    );
    assert.equal(drawn, big.drawn);
  });
}

// Opened by #file, picked by a click, the values set by keys and typing, the
// preview, the button made, undone and made again by keys and buttons, and
// the PNG downloaded, which must be pelto-cli's.
async function thePage(page) {
  await upload(page, badge);
  await page.fill('#tolerance', 10);
  await page.press('Tab');
  const original = await viewPixels(page);
  const corner = await page.box('#view');
  await page.clickAt(Math.round(corner.x), Math.round(corner.y));
  const selected = await viewChanged(page, original);
  await page.focus('#dial');
  for (const key of ['End', 'PageDown', 'ArrowDown']) await page.press(key); // 359 - 10 - 1
  assert.equal(await page.evaluate(() => document.getElementById('angle').value), '348');
  await page.fill('#contrast', 300);
  await page.click('input[name=shape][value="round"]');
  await page.click('input[name=outline][value="outer"]');
  await page.fill('#width', 7);
  assert.deepEqual(
    await page.evaluate(() =>
      ['tolerance', 'angle', 'contrast', 'width']
        .map((id) => document.getElementById(id).value)
        .concat(
          ['shape', 'outline'].map(
            (name) => document.querySelector(`input[name=${name}]:checked`).value,
          ),
        ),
    ),
    ['10', '348', '300', '7', 'round', 'outer'],
  );
  await settled(page);
  const preview = await viewPixels(page);
  assert.notDeepEqual(preview, selected);
  // Preview off: the view shows the selection the button is made with.
  await page.click('#preview');
  await settled(page);
  const picked = await viewPixels(page);
  assert.notDeepEqual(picked, preview);

  await page.click('#make');
  await page.waitForSelector('#undo:not([disabled])');
  assert.deepEqual(await viewPixels(page), preview);
  await page.press('Control', 'z');
  await page.waitForSelector('#undo[disabled]');
  assert.deepEqual(await viewBecomes(page, picked), picked);
  await page.click('#redo');
  await page.waitForSelector('#redo[disabled]');
  assert.deepEqual(await viewBecomes(page, preview), preview);
  await page.click('#undo');
  await page.waitForSelector('#undo[disabled]');

  await page.click('#make');
  await page.waitForSelector('#undo:not([disabled])');
  await page.click('#save-png');
  const saved = await page.download('badge.png');
  const expected = join(mkdtempSync(join(work, 'expected-')), 'badge.png');
  execFileSync(cli, [
    badge,
    expected,
    '--pick',
    '0,0,10',
    '--angle',
    '348',
    '--contrast',
    '300',
    '--width',
    '7',
    '--shape',
    'round',
    '--outline',
    'outer',
  ]);
  assert.ok(saved.equals(readFileSync(expected)), "the download differs from pelto-cli's PNG");
  assert.deepEqual(readdirSync(page.downloads), ['badge.png']);
}

// Every file the page needs is in the service worker's list: offline, a
// reload still opens a picture and picks in it, with the engine the page runs
// as served (the service worker keeps that one alone).
async function offline(browser, isolated, threaded) {
  const own = await serveSite(site, 0, 'no-store', isolated);
  const page = await openPage(browser, own.url);
  try {
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
    own.closeAllConnections();
    await new Promise((done) => own.close(done));
    await page.reload();
    await page.waitForSelector('body[data-ready]');
    const shown = await page.evaluate(async () => ({
      isolated: crossOriginIsolated,
      threads: await (await import('./pelto.mjs')).threads(),
    }));
    assert.equal(shown.isolated, isolated);
    assert.equal(shown.threads > 1, threaded, 'the engine');
    await upload(page, dotPath);
    const opened = await viewPixels(page);
    const box = await page.box('#view');
    await page.clickAt(Math.round(box.x) + 1, Math.round(box.y) + 1);
    assert.deepEqual(pixel(await viewChanged(page, opened), 0, 0).slice(0, 3), [128, 128, 128]);
  } finally {
    await page.close();
    own.closeAllConnections();
    own.close();
  }
}
