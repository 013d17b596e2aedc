// The web module as a developer gets it: npm pack of the site, installed into
// a fresh project, type-checked by tsc --strict (a right call passes, a wrong
// key type is refused), run in Node through the package's exports, and
// bundled by esbuild into a page whose button, in Chromium, is pelto-cli's.
//   PELTO_SITE=DIR PELTO_CLI=pelto-cli node --test package-tests.mjs
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { cpSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import puppeteer from 'puppeteer-core';
import { serveSite } from '../serve.mjs';

const site = resolve(process.env.PELTO_SITE);
const cli = process.env.PELTO_CLI;
const tools = new URL('../../node_modules/.bin/', import.meta.url).pathname;
const work = mkdtempSync(join(tmpdir(), 'pelto-package-'));
const consumer = join(work, 'consumer');
const badge = new URL('../../samples/badge.bmp', import.meta.url).pathname;
const style = {
  version: 1,
  angle: 135,
  contrast: 160,
  width: 8,
  shape: 'round',
  outline: 'inner',
  background: [{ x: 0, y: 0, tolerance: 10 }],
};
const sha256 = (bytes) => createHash('sha256').update(bytes).digest('hex');

function desktopButton() {
  writeFileSync(join(work, 'style.json'), JSON.stringify(style));
  execFileSync(cli, [badge, join(work, 'want.bmp'), '--style', join(work, 'style.json')]);
  return readFileSync(join(work, 'want.bmp'));
}

before(() => {
  const packed = execFileSync('npm', ['pack', '--silent', '--pack-destination', work], {
    cwd: site,
  })
    .toString()
    .trim()
    .split('\n')
    .pop();
  mkdirSync(consumer);
  writeFileSync(
    join(consumer, 'package.json'),
    JSON.stringify({ name: 'consumer', private: true, type: 'module' }),
  );
  execFileSync('npm', ['install', '--silent', '--no-audit', '--no-fund', join(work, packed)], {
    cwd: consumer,
  });
});

// tsc --strict over one file of the consumer's, with what a browser and Node offer.
function typeCheck(name, source) {
  writeFileSync(join(consumer, name), source);
  return spawnSync(
    join(tools, 'tsc'),
    [
      '--strict',
      '--noEmit',
      '--module',
      'nodenext',
      '--moduleResolution',
      'nodenext',
      '--target',
      'es2022',
      '--lib',
      'es2022,dom,esnext.disposable',
      name,
    ],
    { cwd: consumer, encoding: 'utf8' },
  );
}

test('the types take a right call and refuse a wrong key type', () => {
  const right = typeCheck(
    'right.ts',
    `import { makeButton, openDocument, PeltoError, type Style } from 'pelto-tool-engine';
const style: Style = ${JSON.stringify(style)};
export async function run(bytes: Uint8Array): Promise<number> {
  const out: Uint8Array = await makeButton(bytes, { ...style, format: 'png' }, { signal: AbortSignal.timeout(9000) });
  const doc = await openDocument(bytes, { name: 'a.bmp' });
  const shown = await doc.pick(0, 0, { tolerance: 5 });
  await doc.makeButton(style);
  const background = await doc.selectionBackground();
  await doc.close();
  try {
    await makeButton(bytes, { ...style, background: 'transparent' });
  } catch (e) {
    if (e instanceof PeltoError && e.code === 'pick') return 0;
  }
  return out.length + shown.rgba.length + (background === null ? 0 : 1);
}
`,
  );
  assert.equal(right.status, 0, right.stdout);
  const wrong = typeCheck(
    'wrong.ts',
    `import { makeButton } from 'pelto-tool-engine';
export const out = makeButton(new Uint8Array(), {
  ...${JSON.stringify(style)},
  width: '8',
});
`,
  );
  // Refused where the key is, and nowhere else.
  assert.match(
    wrong.stdout,
    /^wrong\.ts\(4,3\): error TS2322: Type 'string' is not assignable to type 'number'\.$/m,
  );
  assert.equal(wrong.stdout.trim().split('\n').length, 1, wrong.stdout);
});

test("in Node, through the package's exports, the button is pelto-cli's", () => {
  writeFileSync(
    join(consumer, 'run.mjs'),
    `import { readFileSync, writeFileSync } from 'node:fs';
import { makeButton } from 'pelto-tool-engine';
const out = await makeButton(new Uint8Array(readFileSync(process.argv[2])), ${JSON.stringify(style)});
writeFileSync(process.argv[3], out);
`,
  );
  execFileSync(process.execPath, ['run.mjs', badge, 'got.bmp'], { cwd: consumer });
  assert.ok(readFileSync(join(consumer, 'got.bmp')).equals(desktopButton()));
});

let browser;
before(async () => {
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu'],
  });
});
after(() => browser?.close());

test("bundled by esbuild, the engine's files moved aside, the page's button is pelto-cli's", async () => {
  const dist = join(consumer, 'dist');
  mkdirSync(join(dist, 'assets'), { recursive: true });
  writeFileSync(
    join(consumer, 'page.js'),
    `import { init, makeButton } from 'pelto-tool-engine';
init({ locateFile: (name) => '/assets/' + name });
const input = new Uint8Array(await (await fetch('/badge.bmp')).arrayBuffer());
const out = await makeButton(input, ${JSON.stringify(style)});
const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', out));
document.body.dataset.hash = Array.from(hash, (b) => b.toString(16).padStart(2, '0')).join('');
`,
  );
  execFileSync(
    join(tools, 'esbuild'),
    ['page.js', '--bundle', '--format=esm', '--platform=browser', '--outfile=dist/page.js'],
    { cwd: consumer },
  );
  const installed = join(consumer, 'node_modules', 'pelto-tool-engine');
  for (const file of readdirSync(installed).filter((f) => /\.(mjs|wasm|js)$/.test(f)))
    cpSync(join(installed, file), join(dist, 'assets', file));
  cpSync(badge, join(dist, 'badge.bmp'));
  writeFileSync(
    join(dist, 'index.html'),
    '<!doctype html><script type="module" src="page.js"></script>',
  );
  const server = await serveSite(dist, 0, 'no-cache', false);
  const page = await browser.newPage();
  try {
    page.on('pageerror', (e) => assert.fail(`page error: ${e.message}`));
    await page.goto(server.url);
    await page.waitForSelector('body[data-hash]', { timeout: 60000 });
    const hash = await page.$eval('body', (b) => b.dataset.hash);
    assert.equal(hash, sha256(desktopButton()));
  } finally {
    await page.close();
    server.close();
  }
});
