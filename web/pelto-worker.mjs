// The Web Worker behind pelto.mjs's makeButton in a browser window: each
// message is one run, answered with its bytes or its refusal's message.
import { ready, runHere, threads } from './pelto.mjs';

// Made and warmed up at once (PeltoEngine.warmUp), so that the first button
// takes no longer than the next.
ready().then(async () => self.postMessage({ ready: true, threads: await threads() }));

self.onmessage = async ({ data }) => {
  try {
    const bytes = await runHere(data.run);
    self.postMessage({ id: data.id, bytes }, [bytes.buffer]);
  } catch (e) {
    self.postMessage({ id: data.id, error: e.message, type: e.name });
  }
};
