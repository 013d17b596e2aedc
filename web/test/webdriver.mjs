// WebKitGTK driven over classic WebDriver (HTTP and JSON, the W3C protocol):
// its WebKitWebDriver starts a MiniBrowser for each session, on an X display
// of its own (Xvfb), since WebKitGTK has no headless mode.
import { spawn } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readdirSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createServer } from 'node:net';

const kElement = 'element-6066-11e4-a52e-4f735466cecf';
// The WebDriver key codes of the keys the tests press.
export const kKeys = {
  Tab: '\uE004',
  Enter: '\uE007',
  Escape: '\uE00C',
  PageDown: '\uE00F',
  End: '\uE010',
  Home: '\uE011',
  ArrowLeft: '\uE012',
  ArrowUp: '\uE013',
  ArrowRight: '\uE014',
  ArrowDown: '\uE015',
  Control: '\uE009',
};

// Debian keeps it in the architecture's library folder, by WebKitGTK's API.
function miniBrowser() {
  for (const arch of readdirSync('/usr/lib').filter((name) => name.endsWith('-linux-gnu')))
    for (const api of readdirSync(`/usr/lib/${arch}`).filter((n) => /^webkit2gtk-4\.\d$/.test(n)))
      if (existsSync(`/usr/lib/${arch}/${api}/MiniBrowser`))
        return `/usr/lib/${arch}/${api}/MiniBrowser`;
  throw new Error("no WebKitGTK MiniBrowser in /usr/lib (Debian's libwebkit2gtk-4.1-0)");
}

const freePort = () =>
  new Promise((found, failed) => {
    const probe = createServer().once('error', failed);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => found(port));
    });
  });

// Starts the program and resolves once it is up, or rejects with what it said.
function start(program, args, options, up) {
  const child = spawn(program, args, { ...options, stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
  // The last of what it said, for a failure to tell.
  child.said = '';
  child.stderr.on('data', (d) => (child.said = `${child.said}${d}`.slice(-4000)));
  return new Promise((started, failed) => {
    child.once('error', failed);
    child.once('exit', (code) => failed(new Error(`${program} ended (${code}): ${child.said}`)));
    up(child).then(() => started(child), failed);
  });
}

// Each session a display of its own (Xvfb), a WebKitWebDriver and a fresh
// MiniBrowser whose home folder is new: a fresh profile, and its downloads
// folder (home/downloads, through XDG's user-dirs.dirs), which the driver
// cannot choose.
export function startWebKit() {
  const binary = miniBrowser();
  return {
    async session() {
      const home = mkdtempSync(join(tmpdir(), 'pelto-webkit-'));
      mkdirSync(join(home, '.config'));
      mkdirSync(join(home, 'downloads'));
      writeFileSync(join(home, '.config/user-dirs.dirs'), 'XDG_DOWNLOAD_DIR="$HOME/downloads"\n');
      const xvfb = await start(
        'Xvfb',
        ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
        {},
        (child) =>
          new Promise((shown) =>
            child.stdio[3].once('data', (d) => shown((child.display = `:${d}`.trim()))),
          ),
      );
      const port = await freePort();
      const base = `http://127.0.0.1:${port}`;
      let driver;
      try {
        driver = await start(
          'WebKitWebDriver',
          [`--port=${port}`],
          { env: { ...process.env, DISPLAY: xvfb.display, HOME: home } },
          async () => {
            const answers = () =>
              fetch(`${base}/status`).then(
                (r) => r.ok,
                () => false,
              );
            for (let i = 0; i < 100; i++) {
              if (await answers()) return;
              await new Promise((later) => setTimeout(later, 50));
            }
            throw new Error('WebKitWebDriver does not answer');
          },
        );
        const { sessionId } = await request(
          base,
          'POST',
          '/session',
          {
            capabilities: {
              alwaysMatch: { 'webkitgtk:browserOptions': { binary, args: ['--automation'] } },
            },
          },
          driver,
        );
        const session = new Session(`${base}/session/${sessionId}`, [driver, xvfb], home);
        await session.send('POST', '/timeouts', { script: 100000 });
        return session;
      } catch (error) {
        driver?.kill();
        xvfb.kill();
        throw error;
      }
    },
    close() {},
  };
}

// A command's answer; no command of the tests' takes two minutes, so one that
// does fails rather than hangs. driver: what its WebKitWebDriver said, told
// with a failure (a web process that crashed says so there).
async function request(base, method, path, body, driver) {
  const failed = (why) =>
    new Error(`WebDriver ${method} ${path}: ${why}${driver?.said ? `\n${driver.said}` : ''}`);
  let answer;
  try {
    answer = await fetch(`${base}${path}`, {
      method,
      headers: { 'content-type': 'application/json; charset=utf-8' },
      body: body === undefined ? undefined : JSON.stringify(body),
      signal: AbortSignal.timeout(120000),
    });
  } catch (error) {
    throw failed(error.message);
  }
  const { value } = await answer.json();
  if (!answer.ok) throw failed(`${value.error}: ${value.message}`);
  return value;
}

class Session {
  constructor(url, programs, home) {
    this.url = url;
    [this.driver] = this.programs = programs;
    this.downloads = join(home, 'downloads');
  }

  send(method, path, body) {
    return request(this.url, method, path, body, this.driver);
  }

  // Runs fn(...args) in the page; what it resolves to (as JSON) or its error,
  // or an error the page threw by itself since it was watched (watchErrors).
  async evaluate(fn, args) {
    const script = `const done = arguments[arguments.length - 1];
const thrown = () => self.peltoPageErrors?.splice(0) ?? [];
Promise.resolve().then(() => (${fn}).apply(null, Array.from(arguments).slice(0, -1))).then(
  (value) => done({ value, thrown: thrown() }),
  (error) => done({ error: String(error?.stack ?? error), thrown: thrown() }));`;
    const { value, error, thrown } = await this.send('POST', '/execute/async', { script, args });
    if (thrown.length) throw new Error(`page error in WebKit: ${thrown.join('\n')}`);
    if (error !== undefined) throw new Error(`in WebKit: ${error}`);
    return value;
  }

  // Classic WebDriver tells nothing of the page's own errors: the page keeps
  // them from here on, for evaluate to report.
  watchErrors() {
    return this.evaluate(() => {
      self.peltoPageErrors = [];
      const keep = (what) => self.peltoPageErrors.push(`${what} ${what?.stack ?? ''}`);
      addEventListener('error', (e) => keep(e.error ?? e.message));
      addEventListener('unhandledrejection', (e) => keep(e.reason));
    }, []);
  }

  async element(selector) {
    const found = await this.send('POST', '/element', { using: 'css selector', value: selector });
    return found[kElement];
  }

  actions(actions) {
    return this.send('POST', '/actions', { actions });
  }

  async close() {
    try {
      await this.send('DELETE', '');
    } finally {
      for (const program of this.programs) program.kill();
    }
  }
}
