// The page as a user works it, in headless Chromium: open, look, pick by
// click and by keys, cut out, a style file, switch language, a value out of
// range, a bad file; saved files compared byte for byte with pelto-cli's. Its
// main work and working offline run in every browser: browser-tests.mjs.
//   PELTO_SITE=DIR PELTO_CLI=pelto-cli [PELTO_SCREENSHOTS=DIR] node --test page-tests.mjs
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { makeBmp } from '../picture-files.mjs';
import { serveSite } from '../serve.mjs';
import { launch } from './browsers.mjs';
import {
  dotColour,
  kDot,
  openPage as open,
  pixel,
  text,
  upload,
  settled,
  viewBecomes,
  viewChanged,
  viewPixels,
  writeDot,
} from './page-steps.mjs';

const site = resolve(process.env.PELTO_SITE);
const cli = process.env.PELTO_CLI;
const shots = process.env.PELTO_SCREENSHOTS;
if (shots) mkdirSync(shots, { recursive: true });
const badge = new URL('../../samples/badge.bmp', import.meta.url).pathname;
const work = mkdtempSync(join(tmpdir(), 'pelto-page-'));
const dotPath = writeDot(work);

let server, browser;
before(async () => {
  // The site on a port of its own, as scripts/web.sh serves it, caching nothing.
  server = await serveSite(site, 0, 'no-store');
  browser = await launch('chromium');
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A fresh profile each time: no stored language, no cache, downloads into a folder.
const openPage = (address = server.url) => open(browser, address);
const viewAt = (page, x, y) =>
  page.evaluate(
    (dx, dy) => {
      const box = document.getElementById('view').getBoundingClientRect();
      return [box.left + dx, box.top + dy];
    },
    x,
    y,
  );
const attribute = (page, selector, name) =>
  page.evaluate((s, n) => document.querySelector(s)[n], selector, name);

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
  await page.waitFor(() => document.getElementById('view').width > 0);
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
      await page.press('+');
      const middle = await page.box('#view');
      // Puppeteer's own mouse, for the wheel.
      await page.moveTo(middle.x + 5, middle.y + 5);
      await page.raw.keyboard.down('Control');
      await page.raw.mouse.wheel({ deltaY: -100 });
      await page.raw.keyboard.up('Control');
      await page.click('#zoom-in');
      assert.equal(await text(page, '#zoom-text'), '300 %');
      const box = await page.box('#view');
      // The pixel's first screen pixel: the one next to it would be white.
      await page.clickAt(Math.round(box.x) + kDot.x * 3, Math.round(box.y) + kDot.y * 3);
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
        await page.press(key);
      assert.equal(await text(page, '#position'), '位置 13, 7');
      await page.press('Enter');
      await page.press('Escape');
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

// The transparent background is the selection after the cut-out, drawn over
// it: cleared, the checkerboard shows.
test("the background cut out shows the checkerboard, and undoes; the PNG is pelto-cli's", async () => {
  const page = await openPage();
  await upload(page, badge);
  await page.fill('#tolerance', 10);
  await page.press('Tab');
  const original = await viewPixels(page);
  const corner = await page.box('#view');
  await page.clickAt(Math.round(corner.x), Math.round(corner.y));
  await viewChanged(page, original);
  // The preview the typed tolerance asked for comes first.
  await settled(page);
  await page.click('#cut-out');
  await settled(page);
  const cutSelected = await viewPixels(page);
  await page.click('#clear-selection');
  const cut = await viewChanged(page, cutSelected);
  // The corner shows the checkerboard's lighter grey, no longer the picture's colour.
  assert.deepEqual(pixel(cut, 0, 0), [247, 247, 247, 255]);
  await page.click('#save-png');
  const saved = await page.download('badge.png');
  const expected = join(work, 'cut.png');
  execFileSync(cli, [badge, expected, '--pick', '0,0,10', '--cut-out', '--width', '0']);
  assert.ok(saved.equals(readFileSync(expected)), "the download differs from pelto-cli's PNG");
  // Undone: the selection again, then the picture as it was under it.
  await page.click('#undo');
  assert.deepEqual(await viewBecomes(page, cutSelected), cutSelected);
  await page.click('#undo');
  await settled(page);
  await page.click('#clear-selection');
  assert.deepEqual(await viewBecomes(page, original), original);
});

// The digest of #view's pixels in sight in the scroller, and where they lie.
const inSight = (page) =>
  page.raw.evaluate(async () => {
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
  page.evaluate((l, t) => document.getElementById('scroller').scrollTo(l, t), left, top);

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
  const corner = await page.box('#view');
  await page.clickAt(Math.round(corner.x), Math.round(corner.y));
  await page.fill('#width', 12);
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

test('values changed while a pick is under way: the preview shown is of the pick', async () => {
  const page = await openPage();
  await upload(page, badge);
  // The engine slow to pick, as on a big picture or a busy machine.
  await page.evaluate(() => {
    const post = Worker.prototype.postMessage;
    Worker.prototype.postMessage = function (message, transfer) {
      if (message?.op === 'pick') setTimeout(() => post.call(this, message, transfer), 1000);
      else post.call(this, message, transfer);
    };
  });
  const corner = await page.box('#view');
  await page.clickAt(Math.round(corner.x), Math.round(corner.y));
  await page.fill('#width', 12);
  await settled(page);
  const previewed = await viewPixels(page);
  await page.click('#make');
  await page.waitForSelector('#undo:not([disabled])');
  assert.deepEqual(await viewPixels(page), previewed);
});

test("the button states show side by side, a live button wears the sprite, the .zip holds pelto-cli's set", async () => {
  const page = await openPage();
  await upload(page, badge);
  await page.fill('#tolerance', 10);
  await page.press('Tab');
  const original = await viewPixels(page);
  const corner = await page.box('#view');
  await page.clickAt(Math.round(corner.x), Math.round(corner.y));
  await viewChanged(page, original);
  await settled(page);
  await page.click('#export-states');
  await page.waitFor(() =>
    [...document.querySelectorAll('#states[open] .states img')].every((i) => i.naturalWidth > 0),
  );
  // The live button, tried with the mouse.
  const live = await (await page.raw.$('#states-try')).contentFrame();
  const button = await live.waitForSelector('button');
  const position = () => button.evaluate((b) => getComputedStyle(b).backgroundPosition);
  const box = await button.boundingBox();
  assert.equal(await position(), '0px 0px');
  await page.raw.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await live.waitForFunction(
    () => getComputedStyle(document.querySelector('button')).backgroundPosition !== '0px 0px',
  );
  assert.equal(await position(), `0px -${box.height}px`);
  await page.raw.mouse.down();
  assert.equal(await position(), `0px -${2 * box.height}px`);
  await page.raw.mouse.up();
  await page.click('#states button[value=write]');
  const zip = await page.download('badge-button.zip');

  const got = join(work, 'states-page'),
    want = join(work, 'states-cli');
  mkdirSync(want);
  writeFileSync(join(want, 'badge.bmp'), readFileSync(badge));
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
  await page.upload('#style-file', loaded);
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
      (await page.download('badge.json')).equals(readFileSync(want)),
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
  if (shots) await page.raw.screenshot({ path: join(shots, 'page-ja.png') });
  // The position shown changes language with the rest, before the pointer moves.
  await page.moveTo(...(await viewAt(page, 2.5, 1.5)));
  assert.equal(await text(page, '#position'), '位置 2, 1');
  await page.select('#lang', 'en');
  assert.equal(await text(page, '#position'), 'Position 2, 1');
  await page.reload();
  await page.waitForSelector('body[data-ready]');
  assert.equal(await attribute(page, 'html', 'lang'), 'en');
  for (const [selector, words] of Object.entries(english))
    assert.equal(await text(page, selector), words);
  await upload(page, badge);
  if (shots) await page.raw.screenshot({ path: join(shots, 'page-en.png') });
});

// A value out of its range is refused with the desktop dialog's words, and
// nothing is made.
test("a value out of range gets the dialog's message", async () => {
  const page = await openPage();
  await upload(page, badge);
  await page.clickAt(...(await viewAt(page, 1, 1)));
  await page.waitForSelector('#clear-selection:not([disabled])');
  await page.fill('#contrast', 501);
  await page.click('#make');
  assert.equal(await text(page, '#alert'), '0 から 500 までの整数を入力してください。');
  assert.equal(await attribute(page, '#undo', 'disabled'), true);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'contrast');
});

// For everyone: the dial says its angle in words, the empty picture is no
// stop on the Tab key's way, and what the page fetches comes compressed, each
// file once.
test('the dial speaks, the empty picture is no tab stop, the files come compressed and once', async () => {
  // Served isolated, which starts the most workers.
  const isolated = await serveSite(site, 0, 'no-cache', true);
  const asked = [];
  const encodings = new Map();
  isolated.on('request', (request, response) => {
    const name = new URL(request.url, isolated.url).pathname;
    asked.push(name);
    // How the answer went: its headers are given to writeHead whole.
    const writeHead = response.writeHead;
    response.writeHead = (status, headers) => {
      encodings.set(name, headers['Content-Encoding']);
      return writeHead.call(response, status, headers);
    };
  });
  try {
    const page = await openPage(isolated.url);
    assert.equal(await attribute(page, '#view', 'tabIndex'), -1);
    await page.fill('#angle', 135);
    assert.equal(await attribute(page, '#dial', 'ariaValueText'), '135°、右上からの光');
    await page.select('#lang', 'en');
    assert.equal(
      await attribute(page, '#dial', 'ariaValueText'),
      '135°, light from the upper right',
    );
    // Opened at once, while the service worker still installs.
    await upload(page, badge);
    assert.equal(await attribute(page, '#view', 'tabIndex'), 0);
  } finally {
    isolated.close();
  }
  assert.deepEqual(asked, [...new Set(asked)], 'each file once');
  for (const name of ['/', '/page.mjs', '/pelto-engine-threads.mjs', '/pelto-engine-threads.wasm'])
    assert.equal(encodings.get(name), 'br', name);
});

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
      assert.deepEqual(
        [await attribute(page, '#alert', 'hidden'), await attribute(page, '#alert', 'role')],
        [false, 'alert'],
      );
      const alert = await text(page, '#alert');
      for (const message of messages)
        assert.ok(message && alert.includes(message), `"${alert}" lacks "${message}"`);
      assert.deepEqual(await viewPixels(page), shown);
    }
    if (shots) await page.raw.screenshot({ path: join(shots, `page-bad-${lang}.png`) });
  });
}
