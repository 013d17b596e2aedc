// The web module's waiting, as a caller meets it:
// - a cold Node process importing the module and making one 512 x 512 button,
//   against pelto-cli's whole process on the same job, run alternately;
// - in Debian's chromium with a fresh profile each time, from navigation to a
//   page's first 512 x 512 button, and then a 2048 x 2048 button's first run
//   against its later ones, served plainly and cross-origin isolated.
//   node bench.mjs SITE PELTO-CLI [RUNS]
import { spawnSync } from 'node:child_process';
import { cpSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { makeBmp } from '../picture-files.mjs';
import { serveSite } from '../serve.mjs';

const [siteArg, cli, runsArg = '7'] = process.argv.slice(2);
const site = resolve(siteArg);
const runs = Number(runsArg);
const logo = (size) =>
  makeBmp(size, size, (x, y) =>
    Math.abs(x - size / 2) + Math.abs(y - size / 2) < size * 0.39 ||
    Math.hypot(x - size * 0.3, y - size * 0.3) < size * 0.15
      ? [230, (x >> 3) & 255, (y >> 3) & 255]
      : [250, 250, 250],
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
const ms = (values) => values.map((t) => t.toFixed(0)).join(', ');

// The site with a bench page and its pictures beside it.
const dir = mkdtempSync(join(tmpdir(), 'pelto-bench-'));
cpSync(site, dir, { recursive: true });
writeFileSync(join(dir, 'logo-512.bmp'), logo(512));
writeFileSync(join(dir, 'logo-2048.bmp'), logo(2048));
writeFileSync(join(dir, 'style.json'), JSON.stringify(style));
writeFileSync(
  join(dir, 'bench.html'),
  `<!doctype html><script type="module">
import { makeButton } from './pelto.mjs';
const style = ${JSON.stringify(style)};
const bytes = async (name) => new Uint8Array(await (await fetch(name)).arrayBuffer());
await makeButton(await bytes('logo-512.bmp'), style);
const first = performance.now();
const big = await bytes('logo-2048.bmp');
const times = [];
for (let i = 0; i < ${runs}; i++) {
  const start = performance.now();
  await makeButton(big, style);
  times.push(performance.now() - start);
}
window.result = { first, times };
</script>`,
);
writeFileSync(
  join(dir, 'cold.mjs'),
  `import { readFileSync, writeFileSync } from 'node:fs';
const { makeButton } = await import(${JSON.stringify(pathToFileURL(join(dir, 'pelto.mjs')).href)});
const style = JSON.parse(readFileSync(process.argv[2], 'utf8'));
writeFileSync(process.argv[4], await makeButton(new Uint8Array(readFileSync(process.argv[3])), style));
`,
);

// A whole process's wall time.
function timed(command, args) {
  const start = performance.now();
  const run = spawnSync(command, args, { cwd: dir });
  if (run.status !== 0) throw new Error(`${command}: ${run.stderr}`);
  return performance.now() - start;
}
const node = [],
  desktop = [];
for (let i = 0; i <= runs; i++) {
  const n = timed(process.execPath, ['cold.mjs', 'style.json', 'logo-512.bmp', 'node.bmp']);
  const d = timed(cli, ['logo-512.bmp', 'cli.bmp', '--style', 'style.json']);
  // The first pair warms the disk's cache.
  if (i) (node.push(n), desktop.push(d));
}
console.log(
  `cold Node, 512² button: ${median(node).toFixed(0)} ms (${ms(node)}); ` +
    `pelto-cli: ${median(desktop).toFixed(0)} ms (${ms(desktop)}); ` +
    `ratio of medians ${(median(node) / median(desktop)).toFixed(1)}`,
);

for (const isolated of [false, true]) {
  const firsts = [],
    ratios = [];
  for (let load = 0; load < 4; load++) {
    const profile = mkdtempSync(join(tmpdir(), 'pelto-profile-'));
    const browser = await puppeteer.launch({
      executablePath: '/usr/bin/chromium',
      headless: true,
      userDataDir: profile,
      args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
    });
    const server = await serveSite(dir, 0, 'no-cache', isolated);
    try {
      const page = await browser.newPage();
      await page.goto(`${server.url}bench.html`);
      await page.waitForFunction(() => window.result, { timeout: 120000, polling: 50 });
      const { first, times } = await page.evaluate(() => window.result);
      firsts.push(first);
      ratios.push(times[0] / median(times.slice(1)));
      console.log(
        `chromium${isolated ? ', isolated' : ''}: navigation to the first 512² button ${first.toFixed(0)} ms; ` +
          `2048²: first ${times[0].toFixed(0)} ms, later ${ms(times.slice(1))} ms`,
      );
    } finally {
      server.close();
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    }
  }
  console.log(
    `chromium${isolated ? ', isolated' : ''}: median navigation to first button ${median(firsts).toFixed(0)} ms, ` +
      `median 2048² first / later ${median(ratios).toFixed(2)}`,
  );
}
rmSync(dir, { recursive: true });
