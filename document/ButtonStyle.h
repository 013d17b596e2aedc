#pragma once
// A button style: the five button values and, when it holds them, the
// background picks, kept in a small JSON file (docs/styles-and-batches.md) that
// pelto-cli and the windows both read and write. A text of an unknown
// version, with a key a style does not have, a key given twice, a key missing
// or a value outside the range pelto-cli's options accept is refused with a
// message naming it; the messages are in docmsg's table (DocMessages.h).

#include "engine/BackgroundPick.h"
#include "engine/ButtonParams.h"
#include "system/File.h"

#include <optional>
#include <string>
#include <vector>

namespace pelto {

struct ButtonStyle {
    ButtonParams params;
    // None: the style leaves the background to whoever applies it. Empty: the
    // picture's fully transparent pixels alone. Otherwise these picks in
    // order, added to the transparent pixels of a picture that has some.
    std::optional<std::vector<BackgroundPick>> background;
    // The background is cut out (made transparent, its fringe taken off the
    // shape's edge) before the button is made.
    bool cutOut = false;
    // The button's four states are made too, as files beside it (ButtonSet.h).
    bool states = false;

    friend bool operator==(const ButtonStyle&, const ButtonStyle&) = default;
};

// The version this program writes, and the only one it reads.
inline constexpr int kStyleVersion = 1;

// The whole-number values and the choices by the names the file and
// pelto-cli's options give them, with what both accept.
struct StyleNumber {
    const char* name;
    int32_t ButtonParams::*value;
    ValueRange range;
};
inline constexpr StyleNumber kStyleNumbers[] = {
    {"angle", &ButtonParams::angle, kAngleRange},
    {"contrast", &ButtonParams::contrast, kContrastRange},
    {"width", &ButtonParams::width, kWidthRange},
};
struct StyleChoice {
    const char* name;
    const char* choices[2]; // for the values 0 and 1
    int32_t (*get)(const ButtonParams&);
    void (*set)(ButtonParams&, int32_t);
};
inline constexpr StyleChoice kStyleChoices[] = {
    {"shape",
     {"cut", "round"},
     [](const ButtonParams& p) { return int32_t(p.shape); },
     [](ButtonParams& p, int32_t v) { p.shape = BevelShape(v); }},
    {"outline",
     {"inner", "outer"},
     [](const ButtonParams& p) { return int32_t(p.outline); },
     [](ButtonParams& p, int32_t v) { p.outline = BevelOutline(v); }},
};

// The style, or the message saying why its text was refused.
struct StyleRead {
    std::optional<ButtonStyle> style;
    std::string error;
};

// name stands for the text in messages (the path of its file). A text over
// 1 MiB is refused as too big, whoever hands it over.
StyleRead ParseStyle(const std::string& text, const std::string& name);
std::string FormatStyle(const ButtonStyle& style);

// mode is Read or ReadWaiting: a FIFO's writer is waited for a moment, or as
// long as it takes (pelto-cli, as for its pictures; a window must not hang).
StyleRead ReadStyle(const std::string& path, CFile::Mode mode = CFile::Mode::Read);
// Empty on success, otherwise the message for the user; saved as every
// picture is (system/FileSave.h).
std::string WriteStyle(const ButtonStyle& style, const std::string& path);

} // namespace pelto
