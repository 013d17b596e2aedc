// An engine whose start hangs for good, as a browser's blocked thread does,
// the first `hangs` times, and then starts as the real one: for the start's
// watch in web-tests.mjs. Its address carries ?engine=URL&count=FILE&hangs=N,
// FILE counting the starts.
import { existsSync, readFileSync, writeFileSync } from 'node:fs';

const asked = new URL(import.meta.url).searchParams;
const { default: create } = await import(asked.get('engine'));

export default function createHanging(options) {
  const count = asked.get('count');
  const started = existsSync(count) ? Number(readFileSync(count, 'utf8')) : 0;
  writeFileSync(count, String(started + 1));
  if (started < Number(asked.get('hangs')))
    while (true) {
      // hangs
    }
  return create(options);
}
