// The button states through the web module against pelto-cli --states, file
// for file and byte for byte: a run's set (makeButtonSet), a document's set,
// and the page's archive of one, as an unzip reads it.
//   PELTO_SITE=DIR PELTO_CLI=pelto-cli node --test button-set-tests.mjs
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { inputs } from './cases.mjs';

const site = pathToFileURL(`${resolve(process.env.PELTO_SITE)}/`);
const { makeButtonSet, openDocument } = await import(new URL('pelto.mjs', site));
const { makeZip } = await import(new URL('zip.mjs', site));
const root = new URL('../..', import.meta.url).pathname;

const style = {
  version: 1,
  angle: 135,
  contrast: 128,
  width: 5,
  shape: 'round',
  outline: 'outer',
  background: [{ x: 0, y: 0, tolerance: 10 }],
};

function inFolder(work) {
  const dir = mkdtempSync(join(tmpdir(), 'pelto-set-'));
  try {
    return work(dir);
  } finally {
    rmSync(dir, { recursive: true });
  }
}

// pelto-cli IN OUT --style FILE --states [ARGS]: the files it wrote, by name.
function desktopSet(input, bytes, out, args = []) {
  return inFolder((dir) => {
    writeFileSync(join(dir, input), bytes);
    writeFileSync(join(dir, 'style'), JSON.stringify(style));
    const run = spawnSync(
      process.env.PELTO_CLI,
      [input, out, '--style', 'style', '--states', ...args],
      {
        cwd: dir,
      },
    );
    assert.equal(run.status, 0, run.stderr.toString());
    const files = {};
    for (const name of readdirSync(dir).filter((n) => n !== input && n !== 'style'))
      files[name] = new Uint8Array(readFileSync(join(dir, name)));
    return files;
  });
}

const sameFiles = (got, want) => {
  assert.deepEqual(Object.keys(got).sort(), Object.keys(want).sort());
  for (const name of Object.keys(want)) assert.deepEqual(got[name], want[name], name);
};

const runs = [
  ['badge.bmp', 'b.png', {}],
  ['disc.png', 'logo.png', {}],
  ['disc.bmp', 'b.bmp', {}],
  ['disc.png', 'on white.bmp', { format: 'bmp' }],
];

for (const [input, out, options] of runs)
  test(`makeButtonSet(${input}) writes pelto-cli's ${out} --states set`, async () => {
    const bytes = await inputs[input](root);
    const args = options.format ? ['--format', options.format] : [];
    const got = await makeButtonSet(bytes, { ...style, ...options }, { name: out });
    sameFiles(got, desktopSet(input, bytes, out, args));
    assert.equal(Object.keys(got).at(-1), out.replace(/\.[^.]*$/, '.css'), 'in the order written');
  });

test("a document's set is the run's, the document left as it was", async () => {
  const bytes = await inputs['disc.png'](root);
  const doc = await openDocument(bytes, { name: 'disc.png' });
  await doc.pick(0, 0, { tolerance: 10 });
  const before = await doc.draw();
  const { version, background, ...values } = style;
  (void version, background);
  const got = await doc.buttonSet(values, { name: 'b.png' });
  sameFiles(got, desktopSet('disc.png', bytes, 'b.png'));
  assert.deepEqual(await doc.draw(), before);
  await assert.rejects(doc.buttonSet(values, { format: 'gif' }), { code: 'style' });
  await doc.clearSelection();
  await assert.rejects(doc.buttonSet(values), { code: 'pick' });
  await doc.close();
});

test("the page's archive holds the set's files as they are", async () => {
  const files = await makeButtonSet(await inputs['badge.bmp'](root), style, { name: 'ボタン.png' });
  const zip = new Uint8Array(await makeZip(files).arrayBuffer());
  // Python's zipfile checks each entry's CRC as it reads it.
  const listed = inFolder((dir) => {
    writeFileSync(join(dir, 'set.zip'), zip);
    const read = spawnSync('python3', [
      '-c',
      'import sys, zipfile, json; z = zipfile.ZipFile(sys.argv[1]); ' +
        'print(json.dumps({i.filename: z.read(i).hex() for i in z.infolist()}))',
      join(dir, 'set.zip'),
    ]);
    assert.equal(read.status, 0, read.stderr.toString());
    return JSON.parse(read.stdout.toString());
  });
  assert.deepEqual(Object.keys(listed), Object.keys(files));
  for (const [name, bytes] of Object.entries(files))
    assert.equal(listed[name], Buffer.from(bytes).toString('hex'), name);
});
