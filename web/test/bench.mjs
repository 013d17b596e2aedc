// The web module's speed: makeButton on a 2048 x 2048 logo at width 30, the
// first call against the later ones, in Debian's chromium (through the Web
// Worker) and in Node, beside pelto-cli on one thread (the whole run, file
// reading and writing included, in each).
// node bench.mjs SITE PELTO-CLI
import { makePng } from '../picture-files.mjs';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serveSite } from '../serve.mjs';

const [site, cli] = process.argv.slice(2);
const runs = 5;
const logo = await makePng(2048, 2048, (x, y) =>
  Math.abs(x - 1024) + Math.abs(y - 1024) < 800 || Math.hypot(x - 600, y - 600) < 300
    ? [230, (x >> 3) & 255, (y >> 3) & 255, 255]
    : [250, 250, 250, 255],
);
const style = {
  version: 1,
  angle: 135,
  contrast: 128,
  width: 30,
  shape: 'round',
  outline: 'inner',
  background: [{ x: 0, y: 0, tolerance: 5 }],
};
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const report = (where, times) =>
  console.log(
    `${where}: first ${times[0].toFixed(0)} ms, later ${times
      .slice(1)
      .map((t) => t.toFixed(0))
      .join(', ')} ms` +
      ` (first / median of later ${(times[0] / median(times.slice(1))).toFixed(2)})`,
  );

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

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu'],
});
try {
  // Served plainly the engine runs on one thread; isolated, on every processor.
  // Each page comes from a server of its own, a new origin, so that the
  // browser has no compiled code kept from before: a first visit.
  for (const isolated of [false, true]) {
    for (let load = 0; load < 4; load++) {
      const server = await serveSite(site, 0, 'no-cache', isolated);
      const page = await browser.newPage();
      page.on('console', (m) => console.log('page:', m.text()));
      await page.goto(server.url);
      const { times, threads } = await page.evaluate(
        async (b64, pageStyle, count) => {
          const engine = await import('./pelto.mjs');
          await engine.ready();
          const input = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
          const pageTimes = [];
          for (let i = 0; i < count; i++) {
            const start = performance.now();
            await engine.makeButton(input, pageStyle);
            pageTimes.push(performance.now() - start);
          }
          return { times: pageTimes, threads: await engine.threads() };
        },
        Buffer.from(logo).toString('base64'),
        style,
        runs,
      );
      report(
        `chromium${isolated ? ', isolated' : ''}, ${threads} thread${threads > 1 ? 's' : ''}`,
        times,
      );
      await page.close();
      server.close();
    }
  }
} finally {
  await browser.close();
}
