// The three browser engines behind one page interface, so that a test is
// written once and run in each: Debian's chromium (puppeteer-core over CDP),
// firefox-esr (puppeteer-core over WebDriver BiDi) and WebKitGTK's MiniBrowser
// (classic WebDriver, webdriver.mjs). Each page gets a fresh profile, and its
// downloads go to a folder of its own.
//   PELTO_BROWSERS=chromium,firefox,webkit (the default) picks which run.
import { existsSync, mkdtempSync, readFileSync, readdirSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { kKeys, startWebKit } from './webdriver.mjs';

export const browserNames = (process.env.PELTO_BROWSERS ?? 'chromium,firefox,webkit').split(',');
export const servings = [
  { mode: 'isolated', isolated: true },
  { mode: 'served plainly', isolated: false },
];
// Served isolated, WebKitGTK says crossOriginIsolated but has no
// SharedArrayBuffer: the page must run the one-thread engine there.
export const sharesMemoryIsolated = { chromium: true, firefox: true, webkit: false };

const launchers = {
  chromium: () =>
    puppeteer.launch({
      executablePath: '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu'],
    }),
  firefox: () =>
    puppeteer.launch({
      browser: 'firefox',
      executablePath: '/usr/bin/firefox-esr',
      protocol: 'webDriverBiDi',
      headless: true,
    }),
};

// Resolves to { name, open(url), close() }; open gives a Page on a fresh profile.
export async function launch(name) {
  if (name === 'webkit') {
    const driver = await startWebKit();
    return {
      name,
      open: async (url) => new WebDriverPage(name, await driver.session()).goto(url),
      close: () => driver.close(),
    };
  }
  const browser = await launchers[name]();
  return {
    name,
    async open(url) {
      const downloads = mkdtempSync(join(tmpdir(), 'pelto-downloads-'));
      const context = await browser.createBrowserContext({
        downloadBehavior: { policy: 'allow', downloadPath: downloads },
      });
      return new PuppeteerPage(name, await context.newPage(), downloads).goto(url);
    },
    close: () => browser.close(),
  };
}

// What every page does through evaluate alone.
class Page {
  constructor(name) {
    this.browser = name;
  }

  // Resolves to what fn(...args) gives in the page once that is true, asked
  // every 50 ms; fails after a minute, saying what it waited for.
  async waitFor(fn, ...args) {
    for (const end = Date.now() + 60000; Date.now() < end;) {
      const value = await this.evaluate(fn, ...args);
      if (value) return value;
      await new Promise((later) => setTimeout(later, 50));
    }
    throw new Error(`${this.browser} waited a minute for ${fn} ${JSON.stringify(args)}`);
  }

  waitForSelector(selector) {
    return this.waitFor((s) => document.querySelector(s) !== null, selector);
  }

  focus(selector) {
    return this.evaluate((s) => document.querySelector(s).focus(), selector);
  }

  // The element's box on the screen: { x, y, width, height }.
  box(selector) {
    return this.evaluate((s) => {
      const { x, y, width, height } = document.querySelector(s).getBoundingClientRect();
      return { x, y, width, height };
    }, selector);
  }

  // A choice made as a user makes it: the value, then input and change.
  select(selector, value) {
    return this.evaluate(
      (s, v) => {
        const e = document.querySelector(s);
        e.value = v;
        e.dispatchEvent(new Event('input', { bubbles: true }));
        e.dispatchEvent(new Event('change', { bubbles: true }));
      },
      selector,
      value,
    );
  }

  // The bytes of a download, once the browser has written it: firefox makes
  // the file empty first and fills it from a .part beside it, chromium from a
  // .crdownload; the size is the same twice running.
  async download(name) {
    const path = join(this.downloads, name);
    let size = -1;
    for (let i = 0; i < 100; ++i) {
      const partial = readdirSync(this.downloads).some((f) => /\.(part|crdownload)$/.test(f));
      const now = existsSync(path) ? statSync(path).size : 0;
      if (!partial && now > 0 && now === size) return readFileSync(path);
      size = now;
      await new Promise((done) => setTimeout(done, 100));
    }
    throw new Error(`${this.browser}: no download ${name} in ${this.downloads}`);
  }
}

class PuppeteerPage extends Page {
  constructor(name, page, downloads) {
    super(name);
    this.raw = page;
    this.downloads = downloads;
    page.on('pageerror', (error) => {
      this.error ??= error;
    });
  }

  async goto(url) {
    await this.raw.goto(url);
    return this;
  }

  reload() {
    return this.raw.reload();
  }

  async evaluate(fn, ...args) {
    this.throwError();
    const value = await this.raw.evaluate(fn, ...args);
    this.throwError();
    return value;
  }

  // An error the page threw by itself fails the test that works it.
  throwError() {
    if (this.error) throw new Error(`page error in ${this.browser}: ${this.error.message}`);
  }

  click(selector) {
    return this.raw.click(selector);
  }

  clickAt(x, y) {
    return this.raw.mouse.click(x, y);
  }

  moveTo(x, y) {
    return this.raw.mouse.move(x, y);
  }

  // Keys pressed together: a chord such as press('Control', 'z').
  async press(...keys) {
    for (const key of keys) await this.raw.keyboard.down(key);
    for (const key of keys.reverse()) await this.raw.keyboard.up(key);
  }

  // A number typed over the field's value.
  async fill(selector, text) {
    await this.raw.click(selector, { count: 3 });
    await this.raw.type(selector, String(text));
  }

  async upload(selector, path) {
    await (await this.raw.$(selector)).uploadFile(path);
  }

  close() {
    return this.raw.browserContext().close();
  }
}

class WebDriverPage extends Page {
  constructor(name, session) {
    super(name);
    this.session = session;
    this.downloads = session.downloads;
  }

  async goto(url) {
    await this.session.send('POST', '/url', { url });
    await this.session.watchErrors();
    return this;
  }

  async reload() {
    await this.session.send('POST', '/refresh', {});
    await this.session.watchErrors();
  }

  evaluate(fn, ...args) {
    return this.session.evaluate(fn, args);
  }

  async click(selector) {
    await this.session.send('POST', `/element/${await this.session.element(selector)}/click`, {});
  }

  // WebDriver takes whole pixels: a test that means one says which.
  pointer(x, y, ...then) {
    const move = { type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport' };
    return this.session.actions([
      {
        type: 'pointer',
        id: 'mouse',
        parameters: { pointerType: 'mouse' },
        actions: [move, ...then],
      },
    ]);
  }

  clickAt(x, y) {
    return this.pointer(x, y, { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 });
  }

  moveTo(x, y) {
    return this.pointer(x, y);
  }

  keys(actions) {
    return this.session.actions([{ type: 'key', id: 'keyboard', actions }]);
  }

  press(...keys) {
    const codes = keys.map((key) => kKeys[key] ?? key);
    return this.keys([
      ...codes.map((value) => ({ type: 'keyDown', value })),
      ...codes.reverse().map((value) => ({ type: 'keyUp', value })),
    ]);
  }

  // Typed over the value, selected by Ctrl+A (WebDriver's clear would empty
  // the field and leave it, which the page tells off; WebKitGTK's send keys
  // does not select).
  async fill(selector, text) {
    await this.focus(selector);
    await this.press('Control', 'a');
    await this.keys(
      [...String(text)].flatMap((value) => [
        { type: 'keyDown', value },
        { type: 'keyUp', value },
      ]),
    );
  }

  async upload(selector, path) {
    const element = await this.session.element(selector);
    await this.session.send('POST', `/element/${element}/value`, { text: path });
  }

  close() {
    return this.session.close();
  }
}
