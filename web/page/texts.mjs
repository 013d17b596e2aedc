// The page's words: Japanese as written in the markup and the code, English
// from translations/pelto_en.ts (texts-en.mjs, made when the site is built),
// keyed by the desktop's context and Japanese source.
import english from './texts-en.mjs';

const kStoreKey = 'pelto-lang';
let current = 'ja';

export function language() {
  return current;
}

// The stored choice, or Japanese; a storage the browser refuses is no choice.
export function storedLanguage() {
  try {
    return localStorage.getItem(kStoreKey) === 'en' ? 'en' : 'ja';
  } catch {
    return 'ja';
  }
}

export function chooseLanguage(lang) {
  current = lang === 'en' ? 'en' : 'ja';
  try {
    localStorage.setItem(kStoreKey, current);
  } catch {
    // Private windows may refuse; the page still switches.
  }
  document.documentElement.lang = current;
  translatePage();
}

// "context|source" as the markup names a text.
export function tr(key) {
  const bar = key.indexOf('|');
  const source = key.slice(bar + 1);
  if (current !== 'en') return source;
  return english[`${key.slice(0, bar)}\u0004${source}`] ?? source;
}

// A menu's words without their accelerator: "開く(&O)..." -> "開く...",
// "&Open..." -> "Open...", "&&" stays one "&". A two-line command text is
// its status prompt and then its short name.
export function plain(words) {
  return words.replace(/\(&[^)]\)/g, '').replace(/&(&?)/g, '$1');
}

export function fill(words, ...values) {
  return words.replace(/%(\d)/g, (all, n) => values[n - 1] ?? all);
}

export function text(key, ...values) {
  return fill(plain(tr(key)), ...values);
}

export function translatePage(root = document) {
  for (const element of root.querySelectorAll('[data-t]'))
    element.textContent = text(element.dataset.t);
  for (const element of root.querySelectorAll('[data-t-label]'))
    element.setAttribute('aria-label', text(element.dataset.tLabel));
  for (const element of root.querySelectorAll('[data-t-title]'))
    element.title = text(element.dataset.tTitle);
}
