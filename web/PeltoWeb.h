#pragma once
// The glue's C side, for the browser and Node: plain C functions that the
// WebAssembly engine exports and glue.mjs calls in the module's worker
// (web/README.md shows the module pelto.mjs; the page builds on it).
//
// Files: a picture or a result is a file in the module's memory file system
// (Emscripten's FS: FS.writeFile / FS.readFile), named by path here; pelto.mjs
// hides this. Numbers are 32-bit; pointers point into the WebAssembly memory
// and stay valid until the next call.
//
// Errors: a function that can be refused returns 0 (1 on success) and leaves
// its message in pelto_error(): pelto-cli's messages, each after
// "pelto-cli: " and the input's name there, joined here by "\n", in the
// language pelto_set_lang chose ("ja", the default, or "en"). Running out of
// memory is one of them: the WebAssembly memory (at most 4 GiB) is checked
// before anything big is allocated, as the desktop checks the system's.
//
// Documents: pelto_open gives a handle (> 0) to one open picture with its
// selection and its undo and redo history, as the desktop window holds it; every
// function taking doc refuses an unknown handle.
//
//   pelto_set_lang(lang)                      "ja" or "en"; anything else is refused
//   pelto_error()                             the last refusal's message
//   pelto_error_code()                        what it was about: 1 the file, 2 the
//                                             style or a value, 3 the pick or the
//                                             selection, 4 memory, 5 the document's
//                                             state (nothing to undo, no such document)
//   pelto_open(path)                          BMP or PNG file -> doc, or 0 (an empty
//                                             file too)
//   pelto_close(doc)
//   pelto_width(doc), pelto_height(doc)
//   pelto_rgba(doc)                           the picture as a canvas takes it:
//                                             width * height * 4 bytes, RGBA, top
//                                             row first, each pixel with its
//                                             opacity, the selection's opaque
//                                             checkerboard on top
//   pelto_pick(doc, x, y, tolerance, connected)
//                                             adds the background at x, y (from the
//                                             top left) to the selection; connected:
//                                             1 for the pixels joined to it alone
//   pelto_select_transparent(doc)             selects the fully transparent pixels
//   pelto_clear_selection(doc), pelto_has_selection(doc)
//   pelto_preview(doc, values, size)          the button would make, as pelto_rgba
//                                             draws it, without changing the document
//                                             (needs a selection): values are size
//                                             bytes of a style file's text, read as
//                                             pelto_read_style reads one ("values"
//                                             standing for it in messages)
//   pelto_preview_area(doc, values, size, x, y, width, height)
//                                             the same for the part at x, y (from
//                                             the top left) alone, width * height * 4
//                                             bytes of it, shaded as the whole would
//                                             be; the preview keeps the parts it
//                                             shaded while the values stay
//   pelto_make_button(doc, values, size)      makes it (needs a selection); undoable
//   pelto_button_set(doc, values, size, out, format)
//                                             the button states' files (document/
//                                             ButtonSet.h) of values on doc, out
//                                             naming the normal one, of format's kind
//                                             ("" for out's, as pelto-cli takes it)
//                                             (needs a selection); doc is unchanged
//   pelto_cut_out(doc)                        the selected background made transparent,
//                                             its fringe taken off the shape's edge
//                                             (needs a selection); undoable
//   pelto_undo(doc), pelto_can_undo(doc)      the last step, back to its selection
//   pelto_redo(doc), pelto_can_redo(doc)      the last button undone, made again;
//                                             refused when there is none
//   pelto_save(doc, path, format)             "bmp", "png", or "" for the kind it
//                                             was opened as
//   pelto_read_style(name, text, size)        a style file's size bytes at text (NUL
//                                             bytes included), checked as pelto-cli
//                                             checks it (name stands for it in
//                                             messages); pelto_style() then holds it
//                                             as a style file writes it
//   pelto_apply_style(doc, name, text, size)  the same, and the style's background
//                                             becomes doc's selection as the windows'
//                                             Load Style makes it (document/StyleRun.h):
//                                             a pick outside the picture refuses it
//                                             whole, with nothing changed
//   pelto_write_style(doc, keepBackground, values, size)
//                                             pelto_style() the style file's text of
//                                             the style at values (read as
//                                             pelto_preview reads it), with doc's
//                                             selection as its background when
//                                             keepBackground (none when the document
//                                             cannot tell its picks; doc 0: none)
//   pelto_style()                             that text
//   pelto_run(in, out, styleName, format, styleText, styleSize)
//                                             pelto-cli IN OUT --style FILE [--format]:
//                                             the same bytes, the same refusals (and
//                                             the same files beside OUT for a style's
//                                             "states")
//   pelto_light_digest()                      a digest of every light factor the
//                                             bevel can use, to compare machines
//   pelto_threads()                           how many threads a button runs on

#include <cstdint>

extern "C" {

int pelto_set_lang(const char* lang);
const char* pelto_error();
int pelto_error_code();

int pelto_open(const char* path);
void pelto_close(int doc);
int pelto_width(int doc);
int pelto_height(int doc);
const uint8_t* pelto_rgba(int doc);

int pelto_pick(int doc, int x, int y, int tolerance, int connected);
int pelto_select_transparent(int doc);
int pelto_clear_selection(int doc);
int pelto_has_selection(int doc);

const uint8_t* pelto_preview(int doc, const char* values, int size);
const uint8_t* pelto_preview_area(int doc, const char* values, int size, int x, int y, int width,
                                  int height);
int pelto_make_button(int doc, const char* values, int size);
int pelto_cut_out(int doc);
int pelto_button_set(int doc, const char* values, int size, const char* out, const char* format);
int pelto_undo(int doc);
int pelto_can_undo(int doc);
int pelto_redo(int doc);
int pelto_can_redo(int doc);
int pelto_save(int doc, const char* path, const char* format);

int pelto_read_style(const char* name, const char* text, int size);
int pelto_apply_style(int doc, const char* name, const char* text, int size);
int pelto_write_style(int doc, int keepBackground, const char* values, int size);
const char* pelto_style();

int pelto_run(const char* in, const char* out, const char* styleName, const char* format,
              const char* styleText, int styleSize);

const char* pelto_light_digest();
int pelto_threads();
}
