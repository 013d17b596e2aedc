// The Web Worker behind pelto.mjs's makeButton in a browser window: each
// message is one run, answered with its bytes or its refusal's message.
import { openEngine } from './pelto.mjs';

// Made and warmed up at once (PeltoEngine.warmUp), so that the first button
// takes no longer than the next.
const engine = openEngine().then(async (e) => {
  await e.warmUp();
  self.postMessage({ ready: true, threads: e.call('pelto_threads') });
  return e;
});

self.onmessage = async ({ data }) => {
  try {
    const bytes = (await engine).makeButton(data.bytes, data.style);
    self.postMessage({ id: data.id, bytes }, [bytes.buffer]);
  } catch (e) {
    self.postMessage({ id: data.id, error: e.message, type: e.name });
  }
};
