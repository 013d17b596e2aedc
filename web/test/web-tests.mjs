// The web module against pelto-cli, byte for byte, in Node: every case of
// cases.mjs in both languages, refusals by their messages, the light factor's
// digest against the desktop's, the glue's document functions step by step,
// aborts and an engine that cannot start (the browsers: browser-tests.mjs).
//   PELTO_SITE=DIR PELTO_CLI=pelto-cli PELTO_DIGEST=light_digest node --test web-tests.mjs
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { describe, test } from 'node:test';
import { cases, inputs } from './cases.mjs';
import { big, caseName, desktop, desktopDigest, desktopStyle, table, values } from './desktop.mjs';

const site = resolve(process.env.PELTO_SITE);
const root = new URL('../..', import.meta.url).pathname;
const siteUrl = pathToFileURL(`${site}/`);
const pelto = await import(new URL('pelto.mjs', siteUrl));
const { makeButton, lightDigest, openDocument, readStyle, PeltoError } = pelto;
// The engine's C functions in this thread, for what only they show.
const { loadGlue } = await import(new URL('glue.mjs', siteUrl));
const glue = await loadGlue((name) => new URL(name, siteUrl).href);
const encoder = new TextEncoder();

// A refusal of the engine's: its message and what it was about.
async function refused(promise) {
  const error = await promise.then(
    () => assert.fail('taken'),
    (e) => e,
  );
  assert.ok(error instanceof PeltoError, `${error}`);
  assert.equal(error.name, 'PeltoError');
  return { code: error.code, message: error.message };
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

  test('a document step by step, as a window takes it', async () => {
    const disc = await inputs['disc.bmp'](root);
    const style = { version: 1, ...values, width: 8, background: [{ x: 0, y: 0, tolerance: 10 }] };
    const doc = await openDocument(disc, { name: 'disc.bmp', lang: 'en' });
    assert.deepEqual(
      [doc.width, doc.height, doc.hasSelection, doc.canUndo],
      [97, 64, false, false],
    );
    const plain = await doc.draw();
    assert.deepEqual(await refused(doc.makeButton(values)), {
      code: 'pick',
      message: 'Select the background first.',
    });
    assert.deepEqual(await refused(doc.pick(97, 0)), {
      code: 'pick',
      message: 'The point 97,0 lies outside the 97 x 64 picture.',
    });
    const selected = await doc.pick(0, 0, { tolerance: 10, connected: true });
    assert.ok(selected.hasSelection && doc.hasSelection);
    assert.notDeepEqual(selected.rgba, plain.rgba, 'the selection is drawn');
    const preview = await doc.preview({ ...values, width: 8 });
    assert.deepEqual(await refused(doc.preview({ ...values, width: 31 })), {
      code: 'style',
      message:
        'values cannot be read as a button style.\nThe value of "width" is not right.\nIt must be a whole number from 0 to 30.',
    });
    const made = await doc.makeButton({ ...values, width: 8 });
    assert.deepEqual(preview.rgba, made.rgba, 'the preview is the button');
    assert.deepEqual([doc.hasSelection, doc.canUndo, doc.canRedo], [false, true, false]);
    assert.deepEqual(
      Buffer.from(await doc.save()),
      desktop(
        'disc.bmp',
        disc,
        { ...style, background: [{ ...style.background[0], connected: true }] },
        {},
        'en',
      ).bytes,
    );
    assert.deepEqual(await refused(doc.redo()), { code: 'state', message: 'nothing to redo' });
    assert.deepEqual((await doc.undo()).rgba, selected.rgba, 'undo brings back the selection');
    assert.deepEqual((await doc.redo()).rgba, made.rgba, 'redo');
    await doc.undo();

    // A saved style keeps the picks that made the selection, connected ones too.
    await doc.pick(96, 63);
    assert.deepEqual(await doc.selectionBackground(), [
      { x: 0, y: 0, tolerance: 10, connected: true },
      { x: 96, y: 63, tolerance: 0 },
    ]);
    // A style's background is applied whole or not at all.
    const shown = await doc.draw();
    const outside = {
      ...style,
      background: [
        { x: 0, y: 0, tolerance: 90 },
        { x: 0, y: 64, tolerance: 0 },
      ],
    };
    assert.deepEqual(await refused(doc.applyStyle(outside)), {
      code: 'pick',
      message: 'The point 0,64 lies outside the 97 x 64 picture.',
    });
    assert.deepEqual((await doc.draw()).rgba, shown.rgba, 'nothing changed');
    assert.deepEqual(await doc.applyStyle(JSON.stringify(style)), style);
    assert.deepEqual(await doc.selectionBackground(), style.background);
    await doc.close();
    assert.deepEqual(await refused(doc.draw()), {
      code: 'state',
      message: 'The document is closed.',
    });
  });

  test("a preview's part is the whole preview's there; a newer one takes a waiting one's place", async () => {
    const doc = await openDocument(await inputs['disc.bmp'](root), {
      name: 'disc.bmp',
      lang: 'en',
    });
    await doc.pick(0, 0, { tolerance: 10 });
    const partOf = (rgba, { x, y, width, height }) => {
      const part = new Uint8ClampedArray(width * height * 4);
      for (let row = 0; row < height; ++row) {
        const from = ((y + row) * doc.width + x) * 4;
        part.set(rgba.subarray(from, from + width * 4), row * width * 4);
      }
      return part;
    };
    // Corners, edges, a pixel, columns and rows across, the whole.
    const areas = [
      [0, 0, 10, 8],
      [87, 56, 10, 8],
      [40, 30, 1, 1],
      [0, 20, 97, 5],
      [30, 0, 4, 64],
      [0, 0, 97, 64],
    ].map(([x, y, width, height]) => ({ x, y, width, height }));
    for (const width of [8, 3, 8]) {
      const whole = (await doc.preview({ ...values, width })).rgba;
      for (const area of areas) {
        const { rgba, ...where } = await doc.previewArea({ ...values, width }, area);
        assert.deepEqual(where, area);
        assert.deepEqual(rgba, partOf(whole, area), `${JSON.stringify(area)} width ${width}`);
      }
    }
    assert.deepEqual(await refused(doc.previewArea(values, { x: 90, y: 0, width: 8, height: 1 })), {
      code: 'state',
      message: "the preview's area lies outside the picture",
    });
    // Asked faster than they are made: the one waiting gives way to the newest.
    const asked = [5, 6, 7].map((width) => doc.previewArea({ ...values, width }, areas[5]));
    const [first, second, third] = await Promise.allSettled(asked);
    assert.equal(first.status, 'fulfilled');
    assert.equal(second.reason?.name, 'AbortError');
    assert.deepEqual(third.value.rgba, (await doc.preview({ ...values, width: 7 })).rgba);
    await doc.close();
  });

  test('refusals say what they are about', async () => {
    const refusal = async (input, style) =>
      (await refused(makeButton(await inputs[input](root), { ...cases[0][1], ...style }))).code;
    assert.equal(await refusal('broken.bmp', {}), 'file');
    assert.equal(await refusal('empty.bmp', {}), 'file');
    assert.equal(await refusal('disc.bmp', { width: 31 }), 'style');
    assert.equal(
      await refusal('disc.bmp', { background: [{ x: 97, y: 0, tolerance: 1 }] }),
      'pick',
    );
    assert.equal(await refusal('vast.png', {}), 'memory');
    await assert.rejects(makeButton('not bytes', {}), TypeError);
  });

  test('style texts refused as pelto-cli refuses them, byte for byte', async () => {
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
        const got = await readStyle(bytes, { lang }).then(
          () => 'taken',
          (e) => e.message,
        );
        assert.equal(got, desktopStyle(bytes, lang));
      }
  });

  test('refused 2500 times, the engine stays as it was', async () => {
    const nested = encoder.encode(`{"version":${'['.repeat(100000)}${']'.repeat(100000)}}`);
    const memory = glue.heap().byteLength;
    let refusals = 0;
    for (let i = 0; i < 2500; i++)
      refusals += glue.call('pelto_read_style', 'style', nested, nested.length) === 0;
    assert.equal(refusals, 2500);
    assert.equal(glue.heap().byteLength, memory, 'no memory taken');
    const good = encoder.encode(JSON.stringify(cases[0][1]));
    glue.must('pelto_read_style', 'style', good, good.length);
  });

  test("the caller's stack running out within the engine leaves the engine's whole", async () => {
    const style = encoder.encode(JSON.stringify(cases[0][1]));
    const stack = glue.m.stackSave();
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
          glue.call('pelto_read_style', 'style', style, style.length);
        } catch (error) {
          if (!(error instanceof RangeError)) throw error;
          outOfStack++;
        }
      return [depth, step];
    };
    for (let round = 0; round < 20; round++) down(0, 1 + (round & 1));
    glue.must('pelto_read_style', 'style', style, style.length);
    assert.ok(outOfStack > 0, 'some calls ran out of stack');
    assert.equal(glue.m.stackSave(), stack);
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
    // Or hands them over.
    const handed = new Uint8Array(c.bytes);
    assert.deepEqual(
      Buffer.from(await makeButton(handed, c.style, { transfer: true })),
      c.want.bytes,
    );
    assert.equal(handed.byteLength, 0, 'transferred');
  });

  test('an abort stops the run it ends, and the next run goes on', async () => {
    const aborting = new AbortController();
    const run = makeButton(big.bytes, big.style, { signal: aborting.signal });
    setTimeout(() => aborting.abort(), 20);
    const started = performance.now();
    await assert.rejects(run, { name: 'AbortError' });
    assert.ok(performance.now() - started < 1000, 'at once');
    await assert.rejects(makeButton(big.bytes, big.style, { signal: AbortSignal.abort() }), {
      name: 'AbortError',
    });
    const c = table[0];
    assert.deepEqual(Buffer.from(await makeButton(c.bytes, c.style)), c.want.bytes);
  });

  test('a worker with nothing to do keeps no Node process alive', () => {
    // The worker would stay 10 s for the next call; the process ends at once.
    const dir = mkdtempSync(join(tmpdir(), 'pelto-web-'));
    try {
      writeFileSync(join(dir, 'in'), table[0].bytes);
      writeFileSync(
        join(dir, 'run.mjs'),
        `import { readFileSync } from 'node:fs';
const { makeButton } = await import(${JSON.stringify(new URL('pelto.mjs', siteUrl).href)});
await makeButton(new Uint8Array(readFileSync('in')), ${JSON.stringify(table[0].style)});`,
      );
      const run = spawnSync(process.execPath, ['run.mjs'], { cwd: dir, timeout: 5000 });
      assert.equal(run.status, 0, String(run.error ?? run.stderr));
    } finally {
      rmSync(dir, { recursive: true });
    }
  });

  test(
    'an engine whose start hangs is started again, three times at most',
    { timeout: 60000 },
    async () => {
      const count = join(mkdtempSync(join(tmpdir(), 'pelto-starts-')), 'starts');
      const hanging = (hangs) => ({
        startTimeout: 1000,
        locateFile: (name, url) =>
          name === 'pelto-engine.mjs'
            ? `${new URL('hanging-engine.mjs', import.meta.url)}?${new URLSearchParams({ engine: url, count, hangs })}`
            : url,
      });
      const c = table[0];
      // An abort ends the worker: the next starts afresh, as set then.
      const afresh = async (settings) => {
        const aborting = new AbortController();
        const run = makeButton(c.bytes, c.style, { signal: aborting.signal });
        aborting.abort();
        await assert.rejects(run, { name: 'AbortError' });
        rmSync(count, { force: true });
        pelto.init(settings);
      };
      try {
        await afresh(hanging(2));
        assert.deepEqual(Buffer.from(await makeButton(c.bytes, c.style)), c.want.bytes);
        assert.equal(readFileSync(count, 'utf8'), '3', 'starts');
        await afresh(hanging(3));
        assert.deepEqual(await refused(makeButton(c.bytes, c.style)), {
          code: 'engine',
          message: 'The engine could not be started: it did not start within 1000 ms, 3 times',
        });
      } finally {
        pelto.init({ locateFile: (name, url) => url, startTimeout: 20000 });
        rmSync(dirname(count), { recursive: true });
      }
      assert.deepEqual(Buffer.from(await makeButton(c.bytes, c.style)), c.want.bytes);
    },
  );

  test('an engine that cannot start refuses every call, and never hangs', async () => {
    pelto.init({
      locateFile: (name, url) =>
        name.endsWith('.wasm') ? new URL('no-such.wasm', siteUrl).href : url,
    });
    try {
      // An abort ends the worker: the next one loads the engine from there.
      const aborting = new AbortController();
      const run = makeButton(big.bytes, big.style, { signal: aborting.signal });
      aborting.abort();
      await assert.rejects(run, { name: 'AbortError' });
      for (const call of [
        pelto.ready(),
        pelto.threads(),
        makeButton(table[0].bytes, table[0].style),
      ])
        assert.equal((await refused(call)).code, 'engine');
    } finally {
      pelto.init({ locateFile: (name, url) => url });
    }
    const c = table[0];
    assert.deepEqual(Buffer.from(await makeButton(c.bytes, c.style)), c.want.bytes);
  });
});
