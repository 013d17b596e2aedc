// What a test does to the page and reads from it, in any browser
// (browsers.mjs): open it, open a picture, read the view, wait for it.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { makeBmp } from '../picture-files.mjs';

// White, a red block, and one blue pixel at (13, 7) whose neighbours are white.
export const kDot = { x: 13, y: 7, width: 23, height: 17 };
export const dotColour = (x, y) =>
  x === kDot.x && y === kDot.y
    ? [0, 0, 255]
    : x >= 3 && x < 9 && y >= 4 && y < 12
      ? [200, 20, 20]
      : [255, 255, 255];
export function writeDot(folder) {
  const path = join(folder, 'dot.bmp');
  writeFileSync(path, makeBmp(kDot.width, kDot.height, dotColour));
  return path;
}

// The page on a fresh profile, ready for work.
export async function openPage(browser, url) {
  const page = await browser.open(url);
  await page.waitForSelector('body[data-ready]');
  return page;
}

// A picture chosen in #file, once the page shows it or says why not.
export async function upload(page, path) {
  const was = await page.evaluate(() => [
    document.getElementById('alert').textContent,
    document.getElementById('view').width,
  ]);
  await page.upload('#file', path);
  // The alert is cleared while the file is read: a new message, not that.
  await page.waitFor((shown) => {
    const alert = document.getElementById('alert');
    return (
      (!alert.hidden && alert.textContent !== shown[0]) ||
      document.getElementById('view').width !== shown[1]
    );
  }, was);
}

// #view's size and a digest of its pixels (print), with the pixels as RGBA
// bytes when asked: waiting on the digest alone keeps each look small. The
// pixels are left out of comparisons (not enumerable), which the digest makes.
const look = (page, withPixels) =>
  page.evaluate((all) => {
    const c = document.getElementById('view');
    const rgba = c.width ? c.getContext('2d').getImageData(0, 0, c.width, c.height).data : [];
    let print = 2166136261;
    for (const v of rgba) print = Math.imul(print ^ v, 16777619);
    const shown = { width: c.width, height: c.height, print: print >>> 0 };
    return all ? { ...shown, rgba: Array.from(rgba) } : shown;
  }, withPixels);
export async function viewPixels(page) {
  const { rgba, ...shown } = await look(page, true);
  return Object.defineProperty(shown, 'rgba', { value: rgba });
}

// The view once it differs from what it was, or is what it should become.
export async function viewChanged(page, from) {
  await until(page, (now) => now.width !== from.width || now.print !== from.print);
  return viewPixels(page);
}
export async function viewBecomes(page, want) {
  await until(page, (now) => now.width === want.width && now.print === want.print);
  return viewPixels(page);
}
async function until(page, done) {
  for (const end = Date.now() + 60000; Date.now() < end;) {
    if (done(await look(page, false))) return;
    await new Promise((later) => setTimeout(later, 50));
  }
  throw new Error(`${page.browser}: the view stayed as it was for a minute`);
}

// The engine done with what was asked, and no preview waiting.
export const settled = (page) => page.waitForSelector('#view[aria-busy="false"]');
export const pixel = ({ width, rgba }, x, y) =>
  rgba.slice((y * width + x) * 4, (y * width + x) * 4 + 4);
export const text = (page, selector) =>
  page.evaluate((s) => document.querySelector(s).textContent.trim(), selector);
