// The web module's speed: makeButton on a 2048 x 2048 logo at width 30, the
// first call against the later ones, in Debian's chromium (through the Web
// Worker) and in Node, beside pelto-cli on one thread (the whole run, file
// reading and writing included, in each).
// node bench.mjs SITE PELTO-CLI ROOT
import { makePng } from './cases.mjs';
import { spawn, spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

const [site, cli, root] = process.argv.slice(2);
const runs = 5;
const logo = makePng(2048, 2048, (x, y) =>
  Math.abs(x - 1024) + Math.abs(y - 1024) < 800 || Math.hypot(x - 600, y - 600) < 300
    ? [230, (x >> 3) & 255, (y >> 3) & 255, 255]
    : [250, 250, 250, 255]);
const style = { version: 1, angle: 135, contrast: 128, width: 30, shape: 'round', outline: 'inner',
  background: [{ x: 0, y: 0, tolerance: 5 }] };
const report = (where, times) =>
  console.log(`${where}: first ${times[0].toFixed(0)} ms, later ${times.slice(1).map((t) => t.toFixed(0)).join(', ')} ms`);

const dir = mkdtempSync(join(tmpdir(), 'pelto-bench-'));
writeFileSync(join(dir, 'logo.png'), logo);
writeFileSync(join(dir, 'style'), JSON.stringify(style));
const desktop = [];
for (let i = 0; i < runs; i++) {
  const start = performance.now();
  spawnSync(cli, ['logo.png', 'out.png', '--style', 'style', '--threads', '1'], { cwd: dir });
  desktop.push(performance.now() - start);
}
rmSync(dir, { recursive: true });
report('pelto-cli, one thread', desktop);

const { makeButton, ready } = await import(join(site, 'pelto.mjs'));
await ready();
const node = [];
for (let i = 0; i < runs; i++) {
  const start = performance.now();
  await makeButton(new Uint8Array(logo), style);
  node.push(performance.now() - start);
}
report('node', node);

const port = 8700 + (process.pid % 200);
const server = spawn(process.execPath, [join(root, 'web/serve.mjs'), site, String(port)], {
  stdio: ['ignore', 'pipe', 'inherit'],
});
await new Promise((resolve) => server.stdout.once('data', resolve));
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu'] });
try {
  const page = await browser.newPage();
  page.on('console', (m) => console.log('page:', m.text()));
  await page.goto(`http://127.0.0.1:${port}/`);
  const times = await page.evaluate(async (b64, style, runs) => {
    const { makeButton, ready } = await import('./pelto.mjs');
    await ready();
    const input = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
    const times = [];
    for (let i = 0; i < runs; i++) {
      const start = performance.now();
      await makeButton(input, style);
      times.push(performance.now() - start);
    }
    return times;
  }, logo.toString('base64'), style, runs);
  report('chromium', times);
} finally {
  await browser.close();
  server.kill();
}
