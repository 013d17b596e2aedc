// Which engine runs here: the threaded one only where a page is served
// cross-origin isolated and shared memory really works (SharedArrayBuffer is
// there and a shared WebAssembly memory can be made: some browsers say they
// are isolated and have neither); this emcc starts no threads in Node.

const inNode = typeof process === 'object' && typeof process.versions?.node === 'string';

function sharedMemoryWorks() {
  try {
    const memory = new WebAssembly.Memory({ initial: 1, maximum: 1, shared: true });
    return typeof SharedArrayBuffer === 'function' && memory.buffer instanceof SharedArrayBuffer;
  } catch {
    return false;
  }
}

export const usesThreadedEngine = () =>
  !inNode && globalThis.crossOriginIsolated === true && sharedMemoryWorks();
