// What the desktop's pelto-cli makes of the web tests' table (cases.mjs), in
// both languages, and of a 4096 x 4096 picture: what the module must give in
// Node and in every browser.
import { execFileSync, spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { makePng } from '../picture-files.mjs';
import { cases, fourGiB, inputs } from './cases.mjs';

const cli = process.env.PELTO_CLI;
const root = new URL('../..', import.meta.url).pathname;
export const sha256 = (bytes) => createHash('sha256').update(bytes).digest('hex');

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
export function desktop(name, bytes, style, options, lang) {
  const out = `out.${name.split('.').pop()}`;
  const args = ['--lang', lang, name, out, '--style', 'style'];
  if (options.format) args.push('--format', options.format);
  const limit = fourGiB.has(name) ? 2 ** 32 : undefined;
  return runCli({ [name]: bytes, style: JSON.stringify(style) }, args, { out, input: name, limit });
}

// pelto-cli's word on a style file of these bytes: 'taken' or its refusal.
export function desktopStyle(bytes, lang) {
  const run = runCli({ style: bytes }, ['--lang', lang, '--save-style', 'out', '--style', 'style']);
  return run.error ?? 'taken';
}

export const table = [];
for (const row of cases) {
  const [name, style, options = {}] = row;
  for (const lang of ['ja', 'en']) {
    const bytes = await inputs[name](root);
    const want = desktop(name, bytes, style, options, lang);
    const everywhere = row.everywhere === true && lang === 'en';
    table.push({ name, bytes, style: { ...style, ...options, lang }, lang, want, everywhere });
  }
}
export const caseName = (c) => `${c.name} ${JSON.stringify(c.style)}`;
export const desktopDigest = execFileSync(process.env.PELTO_DIGEST).toString().trim();

export const values = { angle: 135, contrast: 128, width: 30, shape: 'round', outline: 'inner' };

// A 4096 x 4096 picture, compared by its digest: the button, and the picture
// drawn after the page's steps, which must be the same in either browser
// engine as in Node's (memory grows on the way, and the threaded engine shares
// the work and the PNG's strips among its threads).
export const big = {
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
// The page's steps, through openDocument: here and, as its text, in the browser.
export async function bigSteps(open, bytes, stepValues) {
  const doc = await open(bytes, { name: 'big.png' });
  await doc.pick(0, 0, { tolerance: 5 });
  await doc.makeButton(stepValues);
  await doc.save('png');
  const { rgba } = await doc.draw();
  await doc.close();
  return rgba;
}
{
  const want = desktop('big.png', big.bytes, big.style, {}, 'en');
  big.hash = want.bytes ? sha256(want.bytes) : JSON.stringify(want);
}
