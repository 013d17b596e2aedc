// Starts pelto-worker.mjs (worker-client.mjs): a Web Worker where there is
// one, else a Node worker thread.
import { spawn as spawnWeb } from './spawn-web.mjs';

export async function spawn(url, onMessage, onFailure) {
  if (typeof Worker === 'function') return spawnWeb(url, onMessage, onFailure);
  const { Worker: NodeWorker } = await import('node:worker_threads');
  const worker = new NodeWorker(new URL(url));
  worker.on('message', onMessage);
  worker.on('error', (error) => onFailure(error.message));
  worker.on('exit', (code) => code !== 0 && code !== 1 && onFailure(`the worker ended (${code})`));
  // An idle worker thread must not keep Node's process alive.
  return {
    post: (m, t) => worker.postMessage(m, t),
    end: () => worker.terminate(),
    hold: (busy) => (busy ? worker.ref() : worker.unref()),
  };
}
