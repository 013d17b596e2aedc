// The button's value fields: read and checked as the windows' dialogs check
// them, started from the dialogs' ranges and values, set from a style.
import { showAlert } from './alert.mjs';
import { choices, initialChoices, ranges } from './page-values.mjs';
import { text } from './texts.mjs';

const $ = (id) => document.getElementById(id);

// The button values, or null with the desktop's message for the first bad field.
export const numbers = ['angle', 'contrast', 'width'].map((id) => $(id));
export function readValues({ tell, fields = numbers }) {
  const values = {};
  for (const field of fields) {
    const low = Number(field.min),
      high = Number(field.max),
      raw = field.value.trim();
    const value = Number(raw);
    const ok = /^\d+$/.test(raw) && value >= low && value <= high;
    field.setAttribute('aria-invalid', String(!ok));
    if (!ok) {
      if (tell) {
        showAlert(
          text('pelto::CDataExchange|%1 から %2 までの整数を入力してください。', low, high),
        );
        field.focus();
        field.select();
      }
      return null;
    }
    values[field.id] = value;
  }
  for (const name of ['shape', 'outline'])
    values[name] = document.querySelector(`input[name=${name}]:checked`).value;
  return values;
}

// The fields take the ranges and starting values the windows' dialogs have;
// setValues puts the values in.
export function startValues(setValues) {
  for (const [id, { low, high }] of Object.entries(ranges))
    Object.assign($(id), { min: low, max: high });
  const dial = $('dial');
  dial.setAttribute('aria-valuemin', String(ranges.angle.low));
  dial.setAttribute('aria-valuemax', String(ranges.angle.high));
  $('tolerance').value = String(ranges.tolerance.initial);
  // The choices' radio buttons, in order, take a style file's words for them.
  for (const [name, words] of Object.entries(choices))
    document
      .querySelectorAll(`input[name=${name}]`)
      .forEach((radio, i) => (radio.value = words[i]));
  setValues({
    angle: ranges.angle.initial,
    contrast: ranges.contrast.initial,
    width: ranges.width.initial,
    ...initialChoices,
  });
}

// The five values into their fields.
export function setFields(v) {
  for (const field of numbers) field.value = String(v[field.id]);
  document.querySelector(`input[name=shape][value="${v.shape}"]`).checked = true;
  document.querySelector(`input[name=outline][value="${v.outline}"]`).checked = true;
}
