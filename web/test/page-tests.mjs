// The page as a user works it, in headless Chromium: open, look, pick, preview,
// make, undo, save, switch language, a bad file. The saved PNG is compared
// byte for byte with pelto-cli's for the same values.
//   PELTO_SITE=DIR PELTO_CLI=pelto-cli [PELTO_SCREENSHOTS=DIR] node --test page-tests.mjs
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import {
  copyFileSync,
  existsSync,
  mkdirSync,
  mkdtempSync,
  readFileSync,
  readdirSync,
  rmSync,
  writeFileSync,
} from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import puppeteer from 'puppeteer-core';
import { serveSite } from '../serve.mjs';
import { makeBmp } from '../picture-files.mjs';

const site = resolve(process.env.PELTO_SITE);
const cli = process.env.PELTO_CLI;
const shots = process.env.PELTO_SCREENSHOTS;
if (shots) mkdirSync(shots, { recursive: true });
const badge = new URL('../../samples/badge.bmp', import.meta.url).pathname;
const work = mkdtempSync(join(tmpdir(), 'pelto-page-'));

// White, a red block, and one blue pixel at (13, 7) whose neighbours are white.
const kDot = { x: 13, y: 7, width: 23, height: 17 };
const dotColour = (x, y) =>
  x === kDot.x && y === kDot.y
    ? [0, 0, 255]
    : x >= 3 && x < 9 && y >= 4 && y < 12
      ? [200, 20, 20]
      : [255, 255, 255];
const dotPath = join(work, 'dot.bmp');
writeFileSync(dotPath, makeBmp(kDot.width, kDot.height, dotColour));

let server, browser;
// The site on a port of its own, as scripts/web.sh serves it, caching nothing.
const serve = () => serveSite(site, 0, 'no-store');

before(async () => {
  server = await serve();
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox'],
  });
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A fresh profile each time: no stored language, no cache, downloads into a folder.
async function openPage(address = server.url, watch = () => {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  watch(page);
  page.downloads = mkdtempSync(join(work, 'downloads-'));
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {
    behavior: 'allow',
    downloadPath: page.downloads,
    browserContextId: context.id,
  });
  page.on('pageerror', (error) => assert.fail(`page error: ${error.message}`));
  await page.goto(address);
  await page.waitForSelector('body[data-ready]');
  return page;
}

async function upload(page, path) {
  const was = await page.evaluate(() => [
    document.getElementById('alert').textContent,
    document.getElementById('view').width,
  ]);
  await (await page.$('#file')).uploadFile(path);
  await page.waitForFunction(
    (shown) =>
      document.getElementById('alert').textContent !== shown[0] ||
      document.getElementById('view').width !== shown[1],
    {},
    was,
  );
}

// #view's pixels as RGBA bytes, with the canvas size.
const viewPixels = (page) =>
  page.evaluate(() => {
    const c = document.getElementById('view');
    return {
      width: c.width,
      height: c.height,
      rgba: Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data),
    };
  });
async function viewChanged(page, from) {
  await page.waitForFunction(
    (was) => {
      const c = document.getElementById('view');
      const now = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      return now.length !== was.length || now.some((v, i) => v !== was[i]);
    },
    { polling: 50 },
    from.rgba,
  );
  return viewPixels(page);
}
// The view drawn as want, once the page has caught up (or the test's timeout).
async function viewBecomes(page, want) {
  await page.waitForFunction(
    (was) => {
      const c = document.getElementById('view');
      const now = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      return now.length === was.length && now.every((v, i) => v === was[i]);
    },
    { polling: 50 },
    want.rgba,
  );
  return viewPixels(page);
}
// The engine done with what was asked, and no preview waiting.
const settled = (page) => page.waitForSelector('#view[aria-busy="false"]');
const pixel = ({ width, rgba }, x, y) => rgba.slice((y * width + x) * 4, (y * width + x) * 4 + 4);
const text = (page, selector) => page.$eval(selector, (e) => e.textContent.trim());

// The bytes of a download, once the browser has written it.
async function download(page, name) {
  const path = join(page.downloads, name);
  for (let i = 0; i < 100 && !existsSync(path); ++i)
    await new Promise((done) => setTimeout(done, 100));
  return readFileSync(path);
}

async function setNumber(page, id, value) {
  await page.click(`#${id}`, { count: 3 });
  await page.type(`#${id}`, String(value));
}

// A file dropped on the page, as a browser hands it over.
async function drop(page, path, name) {
  const bytes = readFileSync(path).toString('base64');
  await page.evaluate(
    (b64, fileName) => {
      const data = new DataTransfer();
      data.items.add(new File([Uint8Array.from(atob(b64), (c) => c.charCodeAt(0))], fileName));
      document
        .getElementById('scroller')
        .dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true }));
    },
    bytes,
    name,
  );
  await page.waitForFunction(() => document.getElementById('view').width > 0);
}

for (const way of ['#file', 'a drop']) {
  test(`a picture opened by ${way} shows at 100 %, pixel for pixel`, async () => {
    const page = await openPage();
    if (way === '#file') await upload(page, dotPath);
    else await drop(page, dotPath, 'dot.bmp');
    const shown = await viewPixels(page);
    assert.deepEqual([shown.width, shown.height], [kDot.width, kDot.height]);
    for (let y = 0; y < kDot.height; ++y)
      for (let x = 0; x < kDot.width; ++x)
        assert.deepEqual(pixel(shown, x, y), [...dotColour(x, y), 255], `${x},${y}`);
    assert.equal(await text(page, '#zoom-text'), '100 %');
  });
}

// The pick marks the blue pixel alone: a pick one pixel off would mark the
// white all around it, or the red block.
for (const way of ['a click at 300 %', 'the arrow keys and Return']) {
  test(`${way} picks the picture pixel meant`, async () => {
    const page = await openPage();
    await upload(page, dotPath);
    const original = await viewPixels(page);
    if (way.startsWith('a click')) {
      // Each way of zooming in, one step each: 150 %, 200 %, 300 %.
      await page.keyboard.press('+');
      const middle = await (await page.$('#view')).boundingBox();
      await page.mouse.move(middle.x + 5, middle.y + 5);
      await page.keyboard.down('Control');
      await page.mouse.wheel({ deltaY: -100 });
      await page.keyboard.up('Control');
      await page.click('#zoom-in');
      assert.equal(await text(page, '#zoom-text'), '300 %');
      const box = await (await page.$('#view')).boundingBox();
      // The pixel's first screen pixel: the one next to it would be white.
      await page.mouse.click(Math.round(box.x) + kDot.x * 3, Math.round(box.y) + kDot.y * 3);
      await page.click('#zoom-actual');
    } else {
      await page.focus('#view');
      // The first key shows the crosshair in the middle, (11, 8); the next move it.
      for (const key of [
        'ArrowDown',
        'ArrowLeft',
        'ArrowRight',
        'ArrowRight',
        'ArrowRight',
        'ArrowUp',
      ])
        await page.keyboard.press(key);
      assert.equal(await text(page, '#position'), '位置 13, 7');
      await page.keyboard.press('Enter');
      await page.keyboard.press('Escape');
    }
    const picked = await viewChanged(page, original);
    for (let y = 0; y < kDot.height; ++y)
      for (let x = 0; x < kDot.width; ++x) {
        const p = pixel(picked, x, y);
        if (x === kDot.x && y === kDot.y)
          assert.ok(p[0] === p[1] && p[1] === p[2], `the selection's grey or white: ${p}`);
        else assert.deepEqual(p, pixel(original, x, y), `${x},${y}`);
      }
    await page.click('#clear-selection');
    assert.deepEqual(await viewChanged(page, picked), original);
  });
}

test("the preview is the button made; undo brings back the picture and its selection, redo the button; the PNG is pelto-cli's", async () => {
  const page = await openPage();
  await upload(page, badge);
  await setNumber(page, 'tolerance', 10);
  await page.keyboard.press('Tab');
  const original = await viewPixels(page);
  const corner = await (await page.$('#view')).boundingBox();
  await page.mouse.click(Math.round(corner.x), Math.round(corner.y));
  const selected = await viewChanged(page, original);
  await page.focus('#dial');
  for (const key of ['End', 'PageDown', 'ArrowDown']) await page.keyboard.press(key); // 359 - 10 - 1
  assert.equal(await page.$eval('#angle', (e) => e.value), '348');
  await setNumber(page, 'contrast', 300);
  await page.click('input[name=shape][value="round"]');
  await page.click('input[name=outline][value="outer"]');
  await setNumber(page, 'width', 7);
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
  await page.keyboard.down('Control');
  await page.keyboard.press('z');
  await page.keyboard.up('Control');
  await page.waitForSelector('#undo[disabled]');
  assert.deepEqual(await viewBecomes(page, picked), picked);
  await page.click('#redo');
  await page.waitForSelector('#redo[disabled]');
  assert.deepEqual(await viewBecomes(page, preview), preview);
  await page.keyboard.down('Control');
  await page.keyboard.press('z');
  await page.keyboard.up('Control');
  await page.waitForSelector('#undo[disabled]');

  await page.click('#make');
  await page.waitForSelector('#undo:not([disabled])');
  await page.click('#save-png');
  const saved = await download(page, 'badge.png');
  const expected = join(work, 'expected.png');
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
});

// The digest of #view's pixels in sight in the scroller, and where they lie.
const inSight = (page) =>
  page.evaluate(async () => {
    const c = document.getElementById('view'),
      s = document.getElementById('scroller');
    const box = c.getBoundingClientRect(),
      port = s.getBoundingClientRect();
    // The canvas may lie some way in from the scroller's edges.
    const left = Math.round(port.left + s.clientLeft - box.left),
      top = Math.round(port.top + s.clientTop - box.top);
    const x = Math.max(0, left),
      y = Math.max(0, top);
    const width = Math.min(c.width, left + s.clientWidth) - x,
      height = Math.min(c.height, top + s.clientHeight) - y;
    const data = c.getContext('2d').getImageData(x, y, width, height).data;
    const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', data));
    return { x, y, width, height, digest: Array.from(digest).join() };
  });
const scrollTo = (page, left, top) =>
  page.$eval('#scroller', (s, at) => s.scrollTo(at[0], at[1]), [left, top]);

test('a picture larger than the view: the preview in sight is the button made there, wherever it scrolls', async () => {
  const page = await openPage();
  const wide = join(work, 'wide.bmp');
  const ring = (x, y, cx, cy) => Math.abs(Math.hypot(x - cx, y - cy) - 150) < 60;
  writeFileSync(
    wide,
    makeBmp(1700, 1300, (x, y) =>
      ring(x, y, 300, 250) || ring(x, y, 1400, 1050) ? [40, 120, 200] : [250, 250, 245],
    ),
  );
  await upload(page, wide);
  const corner = await (await page.$('#view')).boundingBox();
  await page.mouse.click(Math.round(corner.x), Math.round(corner.y));
  await setNumber(page, 'width', 12);
  const previewed = [];
  for (const [left, top] of [
    [0, 0],
    [5000, 5000],
    [700, 300],
  ]) {
    await scrollTo(page, left, top);
    await new Promise((done) => setTimeout(done, 300)); // the preview asked again
    await settled(page);
    previewed.push({ at: [left, top], shown: await inSight(page) });
  }
  await page.click('#make');
  await page.waitForSelector('#undo:not([disabled])');
  for (const { at, shown } of previewed) {
    await scrollTo(page, ...at);
    assert.deepEqual(await inSight(page), shown, `scrolled to ${at}`);
  }
});

test("the background cut out shows the checkerboard and undoes in a step; the PNG is pelto-cli's", async () => {
  const page = await openPage();
  await upload(page, badge);
  await setNumber(page, 'tolerance', 10);
  await page.keyboard.press('Tab');
  const original = await viewPixels(page);
  const corner = await (await page.$('#view')).boundingBox();
  await page.mouse.click(Math.round(corner.x), Math.round(corner.y));
  const selected = await viewChanged(page, original);
  await page.click('#cut-out');
  // The transparent area is the selection then, drawn over as any selection is.
  await page.waitForSelector('#undo:not([disabled])');
  await page.click('#clear-selection');
  const cut = await viewChanged(page, selected);
  // The corner shows the checkerboard's lighter grey, no longer the picture's white.
  assert.deepEqual(cut.rgba.slice(0, 4), [247, 247, 247, 255]);
  await page.click('#save-png');
  const saved = await download(page, 'badge.png');
  const expected = join(work, 'cut.png');
  execFileSync(cli, [badge, expected, '--pick', '0,0,10', '--cut-out', '--width', '0']);
  assert.ok(saved.equals(readFileSync(expected)), "the download differs from pelto-cli's PNG");
  await page.click('#undo');
  assert.deepEqual(await viewBecomes(page, selected), selected);
});

test("the button states show side by side, a live button wears the sprite, the .zip holds pelto-cli's set", async () => {
  const page = await openPage();
  await upload(page, badge);
  await setNumber(page, 'tolerance', 10);
  await page.keyboard.press('Tab');
  const original = await viewPixels(page);
  const corner = await (await page.$('#view')).boundingBox();
  await page.mouse.click(Math.round(corner.x), Math.round(corner.y));
  await viewChanged(page, original);
  await page.click('#export-states');
  await page.waitForFunction(() =>
    [...document.querySelectorAll('#states[open] .states img')].every((i) => i.naturalWidth > 0),
  );
  const live = await (await page.$('#states-try')).contentFrame();
  const button = await live.waitForSelector('button');
  const position = () => button.evaluate((b) => getComputedStyle(b).backgroundPosition);
  const box = await button.boundingBox();
  assert.equal(await position(), '0px 0px');
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await live.waitForFunction(
    () => getComputedStyle(document.querySelector('button')).backgroundPosition !== '0px 0px',
  );
  assert.equal(await position(), `0px -${box.height}px`);
  await page.mouse.down();
  assert.equal(await position(), `0px -${2 * box.height}px`);
  await page.mouse.up();
  await page.click('#states button[value=write]');
  const zip = await download(page, 'badge-button.zip');

  const got = join(work, 'states-page'),
    want = join(work, 'states-cli');
  mkdirSync(want);
  copyFileSync(badge, join(want, 'badge.bmp'));
  execFileSync(cli, ['badge.bmp', 'badge-button.png', '--pick', '0,0,10', '--states'], {
    cwd: want,
  });
  rmSync(join(want, 'badge.bmp'));
  writeFileSync(join(work, 'states.zip'), zip);
  execFileSync('python3', ['-m', 'zipfile', '-e', join(work, 'states.zip'), got]);
  assert.deepEqual(readdirSync(got).sort(), readdirSync(want).sort());
  for (const name of readdirSync(want))
    assert.ok(readFileSync(join(got, name)).equals(readFileSync(join(want, name))), name);
});

test('a style file gives the values and the background; saved again, the style keeps its picks when asked to', async () => {
  const values = [
    '--angle',
    '200',
    '--contrast',
    '90',
    '--width',
    '4',
    '--shape',
    'round',
    '--outline',
    'outer',
  ];
  const [loaded, expected] = [join(work, 'in.json'), join(work, 'expected.json')];
  execFileSync(cli, ['--save-style', loaded, ...values, '--pick', '0,0,10']);
  execFileSync(cli, ['--save-style', expected, ...values]);
  const page = await openPage();
  await upload(page, badge);
  await (await page.$('#style-file')).uploadFile(loaded);
  await page.waitForSelector('#clear-selection:not([disabled])');
  assert.deepEqual(
    await page.evaluate(() =>
      ['angle', 'contrast', 'width']
        .map((id) => document.getElementById(id).value)
        .concat(
          ['shape', 'outline'].map(
            (name) => document.querySelector(`input[name=${name}]:checked`).value,
          ),
        ),
    ),
    ['200', '90', '4', 'round', 'outer'],
  );
  // Asked as the windows ask: はい keeps the picks, いいえ the values alone.
  for (const [answer, want] of [
    ['yes', loaded],
    ['no', expected],
  ]) {
    await page.click('#save-style');
    await page.waitForSelector('#ask[open]');
    assert.equal(await text(page, '#ask-text'), '絵の上で選んだ背景の点もスタイルに保存しますか？');
    await page.click(`#ask button[value=${answer}]`);
    assert.ok(
      (await download(page, 'badge.json')).equals(readFileSync(want)),
      `saved after ${answer}`,
    );
    rmSync(join(page.downloads, 'badge.json'));
  }
});

test("English from the desktop's translation, remembered", async () => {
  const page = await openPage();
  await upload(page, badge);
  const japanese = {
    '#make': 'ボタン作成',
    '#undo': '元に戻す',
    legend: 'ﾌｧｲﾙ',
    '#save-png': 'PNG で保存',
  };
  const english = {
    '#make': 'Make Button',
    '#undo': 'Undo',
    legend: 'File',
    '#save-png': 'Save as PNG',
  };
  for (const [selector, words] of Object.entries(japanese))
    assert.equal(await text(page, selector), words);
  if (shots) await page.screenshot({ path: join(shots, 'page-ja.png') });
  // The position shown changes language with the rest, before the pointer moves.
  await page.mouse.move(
    ...(await page.$eval('#view', (c) => [
      c.getBoundingClientRect().left + 2.5,
      c.getBoundingClientRect().top + 1.5,
    ])),
  );
  assert.equal(await text(page, '#position'), '位置 2, 1');
  await page.select('#lang', 'en');
  assert.equal(await text(page, '#position'), 'Position 2, 1');
  await page.reload();
  await page.waitForSelector('body[data-ready]');
  assert.equal(await page.$eval('html', (e) => e.lang), 'en');
  for (const [selector, words] of Object.entries(english))
    assert.equal(await text(page, selector), words);
  await upload(page, badge);
  if (shots) await page.screenshot({ path: join(shots, 'page-en.png') });
});

// A value out of its range is refused with the desktop dialog's words, and
// nothing is made.
test("a value out of range gets the dialog's message", async () => {
  const page = await openPage();
  await upload(page, badge);
  await page.mouse.click(
    ...(await page.$eval('#view', (c) => [
      c.getBoundingClientRect().left + 1,
      c.getBoundingClientRect().top + 1,
    ])),
  );
  await page.waitForSelector('#clear-selection:not([disabled])');
  await setNumber(page, 'contrast', 501);
  await page.click('#make');
  assert.equal(await text(page, '#alert'), '0 から 500 までの整数を入力してください。');
  assert.equal(await page.$eval('#undo', (e) => e.disabled), true);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'contrast');
});

// For everyone: the dial says its angle in words, the empty picture is no
// stop on the Tab key's way, and what the page fetches comes compressed, each
// file once.
test('the dial speaks, the empty picture is no tab stop, the files come compressed and once', async () => {
  // Served isolated, which starts the most workers.
  const isolated = await serveSite(site, 0, 'no-cache', true);
  const asked = [];
  isolated.on('request', (request) =>
    asked.push([new URL(request.url, isolated.url).pathname, request.headers['accept-encoding']]),
  );
  const encodings = new Map();
  try {
    const page = await openPage(isolated.url, (p) =>
      p.on('response', (r) =>
        encodings.set(new URL(r.url()).pathname, r.headers()['content-encoding']),
      ),
    );
    assert.equal(await page.$eval('#view', (c) => c.tabIndex), -1);
    await setNumber(page, 'angle', 135);
    assert.equal(
      await page.$eval('#dial', (d) => d.getAttribute('aria-valuetext')),
      '135°、右上からの光',
    );
    await page.select('#lang', 'en');
    assert.equal(
      await page.$eval('#dial', (d) => d.getAttribute('aria-valuetext')),
      '135°, light from the upper right',
    );
    await upload(page, badge);
    assert.equal(await page.$eval('#view', (c) => c.tabIndex), 0);
    await page.evaluate(() => navigator.serviceWorker.ready);
  } finally {
    isolated.close();
  }
  const names = asked.map(([name]) => name);
  assert.deepEqual(names, [...new Set(names)], 'each file once');
  for (const name of ['/', '/page.mjs', '/pelto-engine-threads.mjs', '/pelto-engine-threads.wasm'])
    assert.equal(encodings.get(name), 'br', name);
});

// Every file the page needs is in the service worker's list: offline, a
// reload still opens a picture and picks in it, with the engine that the
// page served isolated runs (the threaded one) and the one it runs otherwise.
for (const isolated of [true, false]) {
  test(`once loaded, the page works offline (${isolated ? 'isolated' : 'served plainly'})`, async () => {
    const own = await serveSite(site, 0, 'no-store', isolated);
    const page = await openPage(own.url);
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
    own.closeAllConnections();
    await new Promise((done) => own.close(done));
    await page.reload();
    await page.waitForSelector('body[data-ready]');
    assert.equal(await page.evaluate(() => crossOriginIsolated), isolated);
    await upload(page, dotPath);
    const shown = await viewPixels(page);
    await page.mouse.click(
      ...(await page.$eval('#view', (c) => [
        c.getBoundingClientRect().left + 1,
        c.getBoundingClientRect().top + 1,
      ])),
    );
    assert.deepEqual(pixel(await viewChanged(page, shown), 0, 0).slice(0, 3), [128, 128, 128]);
  });
}

// pelto-cli's message for the same file, in the language chosen; the picture
// open before stays open.
for (const lang of ['ja', 'en']) {
  test(`a bad or empty file shows pelto-cli's message (${lang}) and keeps the picture`, async () => {
    const page = await openPage();
    await page.select('#lang', lang);
    await upload(page, dotPath);
    const shown = await viewPixels(page);
    for (const [name, bytes] of [
      ['bad.bmp', Buffer.from('BM this is no picture at all')],
      ['empty.bmp', Buffer.alloc(0)],
    ]) {
      const bad = join(work, name);
      writeFileSync(bad, bytes);
      const run = spawnSync(cli, [bad, join(work, 'out.bmp'), '--pick', '0,0,0', '--lang', lang], {
        encoding: 'utf8',
      });
      assert.notEqual(run.status, 0);
      const messages = run.stderr
        .trim()
        .split('\n')
        .map((line) => line.replace(/^pelto-cli: /, '').replace(`${bad}: `, ''));
      await upload(page, bad);
      assert.equal(
        await page.$eval('#alert', (e) => [e.hidden, e.getAttribute('role')].join()),
        'false,alert',
      );
      const alert = await text(page, '#alert');
      for (const message of messages)
        assert.ok(message && alert.includes(message), `"${alert}" lacks "${message}"`);
      assert.deepEqual(await viewPixels(page), shown);
    }
    if (shots) await page.screenshot({ path: join(shots, `page-bad-${lang}.png`) });
  });
}
