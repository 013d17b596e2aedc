// The page's alert above the picture: the engine's refusals and the
// fields' messages, in the words the windows use.
import { PeltoError } from './pelto.mjs';
import { text } from './texts.mjs';

const alertBox = document.getElementById('alert');
export function showAlert(message) {
  alertBox.textContent = message;
  alertBox.hidden = false;
}
export function clearAlert() {
  alertBox.hidden = true;
  alertBox.textContent = '';
}
// The glue's refusal as it words it; anything else (the engine not loading)
// in the page's words, with what the browser said.
export function report(error) {
  showAlert(
    error instanceof PeltoError && error.code !== 'engine'
      ? error.message
      : `${text('pelto::WebPage|エンジンを読み込めませんでした。')}\n${error.message}`,
  );
}
