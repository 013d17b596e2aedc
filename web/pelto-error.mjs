// A refusal of the engine's: pelto-cli's message, and what it was about.
//   code: "file" (the picture cannot be read or written), "style" (a style
//   or a value out of range), "pick" (a pick outside the picture, or nothing
//   selected), "memory", "state" (nothing to undo, a closed document), or
//   "engine" (the engine could not be started).

export class PeltoError extends Error {
  constructor(message, code) {
    super(message);
    this.name = 'PeltoError';
    this.code = code;
  }
}

// pelto_error_code()'s numbers (web/PeltoWeb.h).
export const kRefusalCodes = [undefined, 'file', 'style', 'pick', 'memory', 'state'];

// An error as a worker posts it, and back.
export const postable = (error) => ({
  name: error?.name ?? 'Error',
  message: String(error?.message ?? error),
  code: error?.code,
});
export function revived({ name, message, code }) {
  if (name === 'PeltoError') return new PeltoError(message, code);
  if (name === 'AbortError') return new DOMException(message, 'AbortError');
  const Kind = { TypeError, RangeError }[name] ?? Error;
  return new Kind(message);
}
