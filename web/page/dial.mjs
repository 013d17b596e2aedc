// The light's angle as a round control, as the desktop's dialog draws it:
// 0 the light from the left, 90 from above, 180 the right, 270 below. A drag
// sets the angle towards the pointer; the arrow keys turn it by one (Shift:
// ten), Page Up / Page Down by ten, Home and End go to 0 and 359.
import { degreesPerRadian, pi } from './page-values.mjs';
import { text } from './texts.mjs';

const kTurn = 360;

// The desktop's reading of a point (dialogs/AngleDial.cpp's DialAngleFromPoint),
// in whole degrees, with its constants.
export function angleFromPoint(dx, dy) {
  const angle = Math.trunc((Math.atan2(dy, dx) + pi) * degreesPerRadian);
  return angle === kTurn ? 0 : angle;
}

// Where the light comes from, in words: eight sectors about 0 (the left), 45,
// 90 (above), and on round.
const kFrom = [
  'pelto::WebPage|%1°、左からの光',
  'pelto::WebPage|%1°、左上からの光',
  'pelto::WebPage|%1°、上からの光',
  'pelto::WebPage|%1°、右上からの光',
  'pelto::WebPage|%1°、右からの光',
  'pelto::WebPage|%1°、右下からの光',
  'pelto::WebPage|%1°、下からの光',
  'pelto::WebPage|%1°、左下からの光',
];
export const angleInWords = (angle) => text(kFrom[Math.floor((angle + 22.5) / 45) % 8], angle);

export function attachDial(dial, { get, set }) {
  const hand = dial.querySelector('.hand');
  const show = () => {
    const angle = get();
    dial.setAttribute('aria-valuenow', String(angle));
    dial.setAttribute('aria-valuetext', angleInWords(angle));
    hand.style.transform = `rotate(${angle}deg)`;
  };
  const fromPointer = (event) => {
    const box = dial.getBoundingClientRect();
    set(
      angleFromPoint(
        event.clientX - (box.left + box.width / 2),
        event.clientY - (box.top + box.height / 2),
      ),
    );
  };
  dial.addEventListener('pointerdown', (event) => {
    dial.setPointerCapture(event.pointerId);
    dial.focus();
    fromPointer(event);
  });
  dial.addEventListener('pointermove', (event) => {
    if (dial.hasPointerCapture(event.pointerId)) fromPointer(event);
  });
  dial.addEventListener('keydown', (event) => {
    const small = event.shiftKey ? 10 : 1;
    const turns = {
      ArrowUp: small,
      ArrowRight: small,
      ArrowDown: -small,
      ArrowLeft: -small,
      PageUp: 10,
      PageDown: -10,
    };
    let angle;
    if (event.key in turns) angle = (((get() + turns[event.key]) % kTurn) + kTurn) % kTurn;
    else if (event.key === 'Home') angle = 0;
    else if (event.key === 'End') angle = kTurn - 1;
    else return;
    event.preventDefault();
    set(angle);
  });
  return show;
}
