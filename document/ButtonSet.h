#pragma once
// A button's four states (engine/ButtonStates.h) from one picture, its
// selection and one set of values, and their files: beside the normal
// button's OUT, STEM-hover.EXT, STEM-pressed.EXT, STEM-disabled.EXT, a sprite
// STEM-sprite.EXT (the four stacked top to bottom in that order, each exactly
// its file's pixels) and STEM.css, whose class, named after STEM (made a CSS
// name), shows the sprite's parts for :hover, :active, :disabled and
// [aria-disabled="true"].

#include "DocumentFile.h"
#include "PeltoDoc.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pelto {

struct CButtonState {
    CDIB picture;
    std::unique_ptr<CAlphaPlane> alpha; // the normal button's opacity, or none
};

struct CButtonSet {
    enum State { Normal, Hover, Pressed, Disabled };
    std::array<CButtonState, 4> states;
    CButtonState sprite;
};

// The names the files take after the stem, in the states' order.
inline constexpr const char* kStateSuffixes[] = {"", "-hover", "-pressed", "-disabled"};
inline constexpr const char* kSpriteSuffix = "-sprite";

// The set the values make of doc as it stands, which must have a selection;
// the normal state is exactly the button MakeButton would make. The document
// is left as it was. May throw std::bad_alloc.
std::unique_ptr<CButtonSet> MakeButtonSet(const CPeltoDoc& doc, const ButtonParams& params,
                                          unsigned threads = 0);

// A class name for a file's stem: letters, digits, - and _ as they stand,
// anything else _, and an _ before a start CSS would not take.
std::string CssClassName(const std::string& stem);
// The style sheet of a sprite of states width x height each.
std::string ButtonSetCss(const std::string& className, const std::string& spriteFile, int width,
                         int height);

// The set's files in the order they are written, their paths from out's
// (the normal button's), each with what writes its content; they refer to set.
struct ButtonSetFile {
    std::string path;
    std::function<void(CFile&)> write;
};
std::vector<ButtonSetFile> ButtonSetFiles(const CButtonSet& set, const std::string& out,
                                          PictureFormat format);

// The set's files, their paths from out's (the normal button's); every
// file saved as pictures are (system/FileSave.h), all of them or none:
// should one fail, those saved before are taken back (a file that stood
// there gets its old content again). Empty on success, otherwise the message.
std::string SaveButtonSet(const CButtonSet& set, const std::string& out, PictureFormat format,
                          const ShowPath& show = {});

} // namespace pelto
