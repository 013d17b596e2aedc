// Starts pelto-worker.mjs as a Web Worker (worker-client.mjs); a browser
// bundle takes this file for spawn.mjs (package.json's "browser"), leaving
// Node's modules out.
export function spawn(url, onMessage, onFailure) {
  const worker = new Worker(url, { type: 'module' });
  worker.onmessage = ({ data }) => onMessage(data);
  worker.onerror = (event) => {
    event.preventDefault?.();
    onFailure(event.message || `${url} could not be loaded`);
  };
  return { post: (m, t) => worker.postMessage(m, t), end: () => worker.terminate(), hold() {} };
}
