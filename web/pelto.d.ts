// Types of Pelto Tool's JavaScript module (pelto.mjs; web/README.md shows its use).

/** The band's profile. */
export type Shape = 'cut' | 'round';
/** Whether the band lies inside the shape or around it. */
export type Outline = 'inner' | 'outer';
export type Language = 'ja' | 'en';
export type PictureFormat = 'bmp' | 'png';

/** A background pixel as seen on screen (column from the left, row from the top). */
export interface BackgroundPick {
  x: number;
  y: number;
  /** Percent, 0..100. */
  tolerance: number;
  /** Only the pixels joined to it side by side; false when left out. */
  connected?: boolean;
}

/**
 * The picture's fully transparent pixels alone, or picks in order (added to
 * the transparent pixels of a picture that has some).
 */
export type Background = 'transparent' | BackgroundPick[];

/** The five button values, as a style file holds them. */
export interface ButtonValues {
  /** Degrees 0..359: 0 light from the left, 90 from above. */
  angle: number;
  /** 0..500. */
  contrast: number;
  /** The band's width in pixels, 0..30. */
  width: number;
  shape: Shape;
  outline: Outline;
}

/** A style file's JSON object. */
export interface Style extends ButtonValues {
  version: 1;
  /** Left out: the picture's own selection (its transparent pixels). */
  background?: Background;
  /** The background made transparent, its fringe taken off the shape, before the button. */
  cut_out?: boolean;
  /** With the hover, pressed and disabled states, a sprite and its CSS (makeButtonSet's). */
  states?: boolean;
}

/** A style, with what makeButton writes and how it words its refusals. */
export interface ButtonStyle extends Style {
  /** The input's kind when left out. */
  format?: PictureFormat;
  /** "ja" when left out. */
  lang?: Language;
}

export interface RunOptions {
  /** Aborting stops the run and rejects it with an AbortError. */
  signal?: AbortSignal;
  /** Hands bytes' buffer over to the engine instead of copying it (it is detached). */
  transfer?: boolean;
}

/** What a refusal is about. */
export type RefusalCode = 'file' | 'style' | 'pick' | 'memory' | 'state' | 'engine';

/** A refusal of the engine's, with pelto-cli's message. */
export class PeltoError extends Error {
  constructor(message: string, code: RefusalCode);
  readonly name: 'PeltoError';
  readonly code: RefusalCode;
}

/** The files of the engine, which init's locateFile may place elsewhere. */
export type EngineFile =
  | 'pelto-worker.mjs'
  | 'pelto-engine.mjs'
  | 'pelto-engine.wasm'
  | 'pelto-engine-threads.mjs'
  | 'pelto-engine-threads.wasm'
  | 'pelto-engine-threads.worker.js';

export interface InitOptions {
  /** Where a file of the engine lies; url is where it lies beside pelto.mjs. */
  locateFile?: (name: EngineFile, url: string) => string | URL;
  /** How long, in ms, a worker with nothing to do stays (10000 when left out). */
  idleTimeout?: number;
  /**
   * How long, in ms, the engine may take to start once its files are in before
   * it is started again, three times at most (20000 when left out).
   */
  startTimeout?: number;
}

export function init(options?: InitOptions): void;

/**
 * A BMP or PNG file made into a button: the bytes `pelto-cli IN OUT --style FILE`
 * writes, or a PeltoError with its refusal.
 */
export function makeButton(
  bytes: Uint8Array,
  style: ButtonStyle,
  options?: RunOptions,
): Promise<Uint8Array>;

/**
 * A button's files by name, in the order pelto-cli writes them: the normal
 * button, its -hover, -pressed and -disabled states, the -sprite of all four,
 * and the .css that shows them.
 */
export type ButtonSetFiles = Record<string, Uint8Array>;

export interface ButtonSetOptions extends RunOptions {
  /** The normal button's file name ("button.png" when left out); its kind when the style has no format. */
  name?: string;
}

/** The same, with the states: what `pelto-cli IN NAME --style FILE --states` writes. */
export function makeButtonSet(
  bytes: Uint8Array,
  style: ButtonStyle,
  options?: ButtonSetOptions,
): Promise<ButtonSetFiles>;

/** Resolves once the engine is loaded. */
export function ready(): Promise<void>;
/** How many threads a button runs on. */
export function threads(): Promise<number>;
/** A digest of every light factor the bevel can use, to compare machines. */
export function lightDigest(): Promise<string>;
/** Whether this page runs the threaded engine. */
export function usesThreadedEngine(): boolean;

/** A style file's text (or its bytes), read as pelto-cli reads one. */
export function readStyle(
  text: string | Uint8Array,
  options?: { name?: string; lang?: Language },
): Promise<Style>;
/** The text of a style file holding style. */
export function writeStyle(style: Style, options?: { lang?: Language }): Promise<string>;

/** What a document shows after a step. */
export interface Drawing {
  width: number;
  height: number;
  /** RGBA, top row first, each pixel with its opacity; the selection's checkerboard on top. */
  rgba: Uint8ClampedArray;
  hasSelection: boolean;
  canUndo: boolean;
  canRedo: boolean;
}

/** A part of the picture in its pixels, x and y from the top left. */
export interface PictureArea {
  x: number;
  y: number;
  width: number;
  height: number;
}

/** An open picture with its selection and its undo and redo history. */
export class PeltoDocument {
  private constructor();
  readonly width: number;
  readonly height: number;
  readonly hasSelection: boolean;
  readonly canUndo: boolean;
  readonly canRedo: boolean;
  /** The language of its refusals. */
  lang: Language;
  draw(): Promise<Drawing>;
  pick(
    x: number,
    y: number,
    options?: { tolerance?: number; connected?: boolean },
  ): Promise<Drawing>;
  selectTransparent(): Promise<Drawing>;
  clearSelection(): Promise<Drawing>;
  /** The button the values would make, without changing the document. */
  preview(values: ButtonValues): Promise<Drawing>;
  /**
   * The same for a part alone (from the top left, within the picture); a newer
   * request made before this one starts takes its place, and this one rejects
   * with an AbortError.
   */
  previewArea(
    values: ButtonValues,
    area: PictureArea,
  ): Promise<PictureArea & { rgba: Uint8ClampedArray }>;
  makeButton(values: ButtonValues): Promise<Drawing>;
  /** The button states' files of the values, the document left as it is. */
  buttonSet(
    values: ButtonValues,
    options?: { name?: string; format?: PictureFormat },
  ): Promise<ButtonSetFiles>;
  /** The selected background made transparent, its fringe taken off the shape's edge. */
  cutOut(): Promise<Drawing>;
  undo(): Promise<Drawing>;
  redo(): Promise<Drawing>;
  /** The picture as a file; the kind it was opened as when left out. */
  save(format?: PictureFormat): Promise<Uint8Array>;
  /** A style's background becomes the selection, whole or not at all. */
  applyStyle(style: Style | string | Uint8Array, options?: { name?: string }): Promise<Style>;
  /** The background a style saved from the document may keep, or null. */
  selectionBackground(): Promise<Background | null>;
  close(): Promise<void>;
  [Symbol.dispose](): void;
  [Symbol.asyncDispose](): Promise<void>;
}

export function openDocument(
  bytes: Uint8Array,
  options?: { name?: string; lang?: Language; transfer?: boolean },
): Promise<PeltoDocument>;
