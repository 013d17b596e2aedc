// The picture on #view: the glue's RGBA over a light checkerboard, at the
// desktop's zoom steps, one canvas pixel per picture pixel at 100 %; a click
// or the keyboard's crosshair names the picture pixel to pick.

import { checker, zoomSteps } from './page-values.mjs';

const kActualSize = zoomSteps.findIndex(([num, den]) => num === den);
// What browsers draw at all: a canvas past these stays blank.
const kMaxSide = 16384,
  kMaxArea = 1 << 27;
const grey = (level) => `rgb(${level}, ${level}, ${level})`;

// "100 %", "12.5 %", "33 %" as the desktop writes it.
export function zoomPercent([num, den]) {
  const percent = (100 * num) / den;
  return percent >= 20 ? String(Math.round(percent)) : String(Number(percent.toFixed(2)));
}

// RGBA bytes onto an offscreen canvas at x, y.
function put(canvas, rgba, x, y, width, height) {
  const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, rgba.byteLength);
  canvas.getContext('2d').putImageData(new ImageData(pixels, width, height), x, y);
}

export class PictureView {
  constructor(canvas, scroller, { onPick, onCursor }) {
    this.canvas = canvas;
    this.scroller = scroller;
    this.onPick = onPick;
    this.onCursor = onCursor;
    this.zoomIndex = kActualSize;
    this.picture = null; // an offscreen canvas holding the RGBA at 100 %
    this.preview = null; // the picture with a preview's parts over it, while shown
    this.previewKey = null; // the values of those parts
    this.cursor = null; // the keyboard's crosshair, {x, y}, while shown
    canvas.addEventListener('click', (e) => {
      const at = this.pointAt(e);
      if (at) this.onPick(at.x, at.y);
    });
    canvas.addEventListener('pointermove', (e) => {
      const at = this.pointAt(e);
      if (at) this.onCursor(at.x, at.y, false);
    });
    canvas.addEventListener('keydown', (e) => this.key(e));
    canvas.addEventListener('blur', () => this.hideCursor());
    scroller.addEventListener('wheel', (e) => this.wheel(e), { passive: false });
  }

  get zoom() {
    return zoomSteps[this.zoomIndex];
  }

  // A new picture: 100 %, no crosshair.
  reset() {
    this.zoomIndex = kActualSize;
    this.cursor = null;
  }
  get width() {
    return this.picture?.width ?? 0;
  }
  get height() {
    return this.picture?.height ?? 0;
  }

  show({ width, height, rgba }) {
    this.preview = this.previewKey = null;
    if (!this.picture || this.picture.width !== width || this.picture.height !== height)
      this.picture = new OffscreenCanvas(width, height);
    if (width && height) put(this.picture, rgba, 0, 0, width, height);
    if (this.cursor)
      this.cursor = {
        x: Math.min(this.cursor.x, width - 1),
        y: Math.min(this.cursor.y, height - 1),
      };
    this.draw();
  }

  // A part of a preview over the picture: parts under one key add up, a new
  // key starts again from the picture, so no other values' part stays.
  showPart(key, { x, y, width, height, rgba }) {
    if (!this.picture) return;
    if (this.previewKey !== key) {
      this.preview ??= new OffscreenCanvas(this.width, this.height);
      const g = this.preview.getContext('2d');
      g.clearRect(0, 0, this.width, this.height);
      g.drawImage(this.picture, 0, 0);
      this.previewKey = key;
    }
    put(this.preview, rgba, x, y, width, height);
    this.draw();
  }

  // The picture pixels in sight, from the top left, or null when none are.
  visibleArea() {
    if (!this.width) return null;
    const [num, den] = this.zoom;
    const s = this.scroller,
      box = this.canvas.getBoundingClientRect(),
      port = s.getBoundingClientRect();
    const left = port.left + s.clientLeft - box.left,
      top = port.top + s.clientTop - box.top;
    const x0 = Math.max(0, Math.floor((left * den) / num)),
      y0 = Math.max(0, Math.floor((top * den) / num));
    const x1 = Math.min(this.width, Math.ceil(((left + s.clientWidth) * den) / num)),
      y1 = Math.min(this.height, Math.ceil(((top + s.clientHeight) * den) / num));
    return x1 > x0 && y1 > y0 ? { x: x0, y: y0, width: x1 - x0, height: y1 - y0 } : null;
  }

  sizeAt(index) {
    const [num, den] = zoomSteps[index];
    return [Math.ceil((this.width * num) / den), Math.ceil((this.height * num) / den)];
  }

  canZoom(step) {
    const index = this.zoomIndex + step;
    if (!this.picture || index < 0 || index >= zoomSteps.length) return false;
    const [w, h] = this.sizeAt(index);
    return w <= kMaxSide && h <= kMaxSide && w * h <= kMaxArea;
  }

  // A zoom step up or down (0: back to 100 %), keeping the picture point
  // under `around` (client coordinates) or the scroller's middle in place.
  setZoom(step, around) {
    if (step && !this.canZoom(step)) return;
    const box = this.scroller.getBoundingClientRect();
    const anchor = around ?? { x: box.left + box.width / 2, y: box.top + box.height / 2 };
    const before = this.canvas.getBoundingClientRect();
    const fx = before.width ? (anchor.x - before.left) / before.width : 0;
    const fy = before.height ? (anchor.y - before.top) / before.height : 0;
    this.zoomIndex = step ? this.zoomIndex + step : kActualSize;
    this.draw();
    const after = this.canvas.getBoundingClientRect();
    this.scroller.scrollLeft += after.left + fx * after.width - anchor.x;
    this.scroller.scrollTop += after.top + fy * after.height - anchor.y;
  }

  draw() {
    const [w, h] = this.sizeAt(this.zoomIndex);
    const c = this.canvas;
    if (c.width !== w || c.height !== h) {
      c.width = w;
      c.height = h;
    }
    c.style.width = `${w}px`;
    c.style.height = `${h}px`;
    if (!w || !h) return;
    const g = c.getContext('2d');
    // The desktop's checkerboard, its lighter square at the corner.
    const side = checker.square;
    g.fillStyle = grey(checker.levels[0]);
    g.fillRect(0, 0, w, h);
    g.fillStyle = grey(checker.levels[1]);
    for (let y = 0; y < h; y += side)
      for (let x = (y / side) % 2 ? 0 : side; x < w; x += 2 * side) g.fillRect(x, y, side, side);
    g.imageSmoothingEnabled = false;
    g.drawImage(this.preview ?? this.picture, 0, 0, w, h);
    if (this.cursor) this.drawCursor(g);
  }

  // The picture pixel's box, and lines from it, in black inside white.
  drawCursor(g) {
    const [num, den] = this.zoom;
    const left = Math.floor((this.cursor.x * num) / den),
      top = Math.floor((this.cursor.y * num) / den);
    const side = Math.max(1, Math.floor(num / den));
    const cx = left + side / 2,
      cy = top + side / 2,
      arm = 10;
    g.lineWidth = 3;
    g.strokeStyle = '#ffffff';
    for (const pass of [0, 1]) {
      g.beginPath();
      g.moveTo(cx - side / 2 - arm, cy);
      g.lineTo(cx - side / 2 - 2, cy);
      g.moveTo(cx + side / 2 + 2, cy);
      g.lineTo(cx + side / 2 + arm, cy);
      g.moveTo(cx, cy - side / 2 - arm);
      g.lineTo(cx, cy - side / 2 - 2);
      g.moveTo(cx, cy + side / 2 + 2);
      g.lineTo(cx, cy + side / 2 + arm);
      g.rect(left - 1.5, top - 1.5, side + 3, side + 3);
      g.stroke();
      g.lineWidth = 1;
      g.strokeStyle = '#000000';
      if (pass) break;
    }
  }

  // The picture pixel under a pointer event, or null beside the picture.
  pointAt(event) {
    if (!this.width) return null;
    // The canvas is drawn from the nearest whole pixel; multiplied before
    // divided, whole screen pixels land on whole picture pixels exactly.
    const box = this.canvas.getBoundingClientRect(),
      [num, den] = this.zoom;
    const x = Math.floor(((event.clientX - Math.round(box.left)) * den) / num);
    const y = Math.floor(((event.clientY - Math.round(box.top)) * den) / num);
    return x >= 0 && y >= 0 && x < this.width && y < this.height ? { x, y } : null;
  }

  key(event) {
    if (!this.width || event.ctrlKey || event.altKey || event.metaKey) return;
    const step = event.shiftKey ? 10 : 1;
    const moves = {
      ArrowLeft: [-step, 0],
      ArrowRight: [step, 0],
      ArrowUp: [0, -step],
      ArrowDown: [0, step],
    };
    if (moves[event.key]) {
      const [dx, dy] = moves[event.key];
      const from = this.cursor ?? { x: this.width >> 1, y: this.height >> 1 };
      this.cursor = {
        x: Math.max(0, Math.min(this.width - 1, from.x + (this.cursor ? dx : 0))),
        y: Math.max(0, Math.min(this.height - 1, from.y + (this.cursor ? dy : 0))),
      };
      this.draw();
      this.bringIntoView();
      this.onCursor(this.cursor.x, this.cursor.y, true);
    } else if ((event.key === 'Enter' || event.key === ' ') && this.cursor) {
      this.onPick(this.cursor.x, this.cursor.y);
    } else if (event.key === 'Escape' && this.cursor) {
      this.hideCursor();
    } else {
      return;
    }
    event.preventDefault();
  }

  hideCursor() {
    if (!this.cursor) return;
    this.cursor = null;
    this.draw();
  }

  bringIntoView() {
    const [num, den] = this.zoom,
      margin = 16;
    const x = (this.cursor.x * num) / den + this.canvas.offsetLeft;
    const y = (this.cursor.y * num) / den + this.canvas.offsetTop;
    const s = this.scroller;
    if (x - margin < s.scrollLeft) s.scrollLeft = x - margin;
    if (x + margin > s.scrollLeft + s.clientWidth) s.scrollLeft = x + margin - s.clientWidth;
    if (y - margin < s.scrollTop) s.scrollTop = y - margin;
    if (y + margin > s.scrollTop + s.clientHeight) s.scrollTop = y + margin - s.clientHeight;
  }

  wheel(event) {
    if (!event.ctrlKey || !this.width) return;
    event.preventDefault();
    this.setZoom(event.deltaY < 0 ? 1 : -1, { x: event.clientX, y: event.clientY });
  }
}
