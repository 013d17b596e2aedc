// One of pelto.mjs's workers (pelto-worker.mjs), from the caller's side
// (spawn.mjs starts it). It starts with
// the first request, takes requests one at a time in the order they came,
// and ends once idle for a while, giving its memory back, unless something
// holds it (an open document). A request aborted while the worker runs it
// ends the worker with it; one that waits is only dropped. A worker that
// fails fails every request it had, and the next request starts another.
// The engine's start is watched: a browser may leave it hanging for good
// (Firefox, at times, as the engine makes its threads' workers), so one that
// has not started a while after it had all it needs from the network is
// ended and another started in its place, a few times at most.
import { PeltoError, revived } from './pelto-error.mjs';
import { spawn } from './spawn.mjs';

const kStartTries = 3;
const engineError = (reason) =>
  new PeltoError(`The engine could not be started: ${reason}`, 'engine');

const abortError = (signal) =>
  signal.reason instanceof Error
    ? signal.reason
    : new DOMException('The run was aborted.', 'AbortError');

export class WorkerClient {
  // settings(): { workerUrl, where, idleTimeout, startTimeout } as they are
  // when a worker starts.
  constructor(settings) {
    this.settings = settings;
    this.queue = [];
    this.current = null;
    this.worker = null;
    this.holds = 0;
    this.lastId = 0;
  }

  // supersede: a key; a request waiting with the same key is dropped (it
  // rejects with an AbortError), this one taking the first such place.
  request(op, args = [], { transfer = [], signal, lang, supersede } = {}) {
    return new Promise((resolve, reject) => {
      if (signal?.aborted) return reject(abortError(signal));
      const job = { op, args, transfer, signal, lang, supersede, resolve, reject };
      if (signal) {
        job.onAbort = () => this.abort(job);
        signal.addEventListener('abort', job.onAbort, { once: true });
      }
      const stale =
        supersede === undefined ? [] : this.queue.filter((w) => w.supersede === supersede);
      if (stale.length) {
        this.queue[this.queue.indexOf(stale[0])] = job;
        this.queue = this.queue.filter((waiting) => !stale.includes(waiting));
        for (const old of stale) {
          old.signal?.removeEventListener('abort', old.onAbort);
          old.reject(new DOMException('A newer request took its place.', 'AbortError'));
        }
      } else {
        this.queue.push(job);
      }
      this.next();
    });
  }

  // Keeps the worker from ending while idle (held > 0).
  hold(change) {
    this.holds += change;
    if (!this.current && !this.queue.length) this.rest();
  }

  async next() {
    if (this.current) return;
    const job = this.queue.shift();
    if (!job) return this.rest();
    clearTimeout(this.idleTimer);
    this.current = job;
    job.id = ++this.lastId;
    try {
      const { where } = this.settings();
      const worker = await this.start();
      if (this.current !== job) return; // aborted while the worker started
      worker.hold(true);
      worker.post({ id: job.id, op: job.op, args: job.args, lang: job.lang, where }, job.transfer);
    } catch (error) {
      if (this.current === job) this.fail(error);
    }
  }

  start() {
    this.worker ??= this.startEngine();
    return this.worker;
  }

  // A worker whose engine has started, or the reason none could.
  async startEngine() {
    const { workerUrl, where, startTimeout } = this.settings();
    const token = (this.token = {});
    for (let tries = 1; ; ++tries) {
      let starting = null; // what the worker's messages go to while it starts
      const worker = await spawn(
        workerUrl,
        (data) => (starting ? starting.message(data) : this.answer(data)),
        (reason) => (starting ? starting.failed(reason) : this.fail(reason)),
      );
      if (this.token === token) this.launched = worker;
      worker.hold(true);
      let outcome = await new Promise((resolve) => {
        let timer;
        const settle = (value) => {
          clearTimeout(timer);
          resolve(value);
        };
        starting = {
          message: ({ id, stage, error }) => {
            if (stage === 'starting') timer = setTimeout(() => settle('hung'), startTimeout);
            else if (id === 0) settle(error ? revived(error) : 'started');
          },
          failed: (reason) => settle(engineError(reason)),
        };
        worker.post({ id: 0, op: 'ready', args: [], where });
      });
      starting = null;
      if (this.token !== token) outcome = new DOMException('The run was aborted.', 'AbortError');
      if (outcome === 'started') return worker;
      worker.end();
      if (outcome !== 'hung') throw outcome;
      if (tries === kStartTries)
        throw engineError(`it did not start within ${startTimeout} ms, ${kStartTries} times`);
    }
  }

  answer({ id, value, error }) {
    const job = this.current;
    if (!job || job.id !== id) return;
    this.finish(job);
    if (error) job.reject(revived(error));
    else job.resolve(value);
  }

  finish(job) {
    job.signal?.removeEventListener('abort', job.onAbort);
    if (this.current === job) this.current = null;
    queueMicrotask(() => this.next());
  }

  abort(job) {
    if (job === this.current) this.stop();
    else this.queue = this.queue.filter((waiting) => waiting !== job);
    this.finish(job);
    job.reject(abortError(job.signal));
  }

  // The worker could not start or ended: every request it had fails.
  // reason: the engine's refusal, or what went wrong.
  fail(reason) {
    const jobs = [this.current, ...this.queue].filter(Boolean);
    this.current = null;
    this.queue = [];
    this.stop();
    const error = reason instanceof PeltoError ? reason : engineError(reason?.message ?? reason);
    for (const job of jobs) {
      job.signal?.removeEventListener('abort', job.onAbort);
      job.reject(error);
    }
  }

  stop() {
    clearTimeout(this.idleTimer);
    const worker = this.worker;
    this.worker = null;
    // A start under way ends at once, hanging or not.
    this.token = null;
    this.launched?.end();
    this.launched = null;
    worker?.then((w) => w.end()).catch(() => {});
  }

  // Idle: the worker ends after a while unless held.
  rest() {
    if (!this.worker) return;
    this.worker.then((w) => w.hold(false)).catch(() => {});
    clearTimeout(this.idleTimer);
    if (this.holds) return;
    this.idleTimer = setTimeout(() => this.stop(), this.settings().idleTimeout);
    this.idleTimer.unref?.();
  }
}
