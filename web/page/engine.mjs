// The page's side of worker.mjs: each call a Promise of the worker's answer;
// a refusal rejects with an Error holding the glue's message.
export class Engine {
  constructor(url = new URL('./worker.mjs', import.meta.url)) {
    this.worker = new Worker(url, { type: 'module' });
    this.waiting = new Map();
    this.next = 0;
    this.worker.onmessage = ({ data }) => {
      const { resolve, reject } = this.waiting.get(data.id);
      this.waiting.delete(data.id);
      if (data.ok) resolve(data.value);
      else reject(Object.assign(new Error(data.error), { refused: data.refused }));
    };
    // A worker that cannot start fails every call, then and later.
    this.worker.onerror = (event) => {
      event.preventDefault();
      this.broken = new Error(event.message || 'worker');
      for (const { reject } of this.waiting.values()) reject(this.broken);
      this.waiting.clear();
    };
  }

  call(op, ...args) {
    if (this.broken) return Promise.reject(this.broken);
    const id = ++this.next;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, { resolve, reject });
      const transfer = args.filter((a) => a instanceof Uint8Array).map((a) => a.buffer);
      this.worker.postMessage({ id, op, args }, transfer);
    });
  }
}
