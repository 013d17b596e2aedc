#pragma once
// A button style: the five button values and, when it holds them, the
// background picks, kept in a small JSON file (README, "Styles") that
// pelto-cli and the windows both read and write. A text of an unknown
// version, with a key a style does not have, a key given twice, a key missing
// or a value outside the range pelto-cli's options accept is refused with a
// message naming it; the messages are in docmsg's table (DocMessages.h).

#include "engine/ButtonParams.h"
#include "platform/File.h"

#include <optional>
#include <string>
#include <vector>

namespace pelto {

// A background pixel as seen on screen (column from the left, row from the
// top) and the colour tolerance in percent its pick selects with.
struct BackgroundPick {
    int32_t x = 0;
    int32_t y = 0;
    int32_t tolerance = 0;

    static constexpr int kMaxTolerance = 100;

    friend bool operator==(const BackgroundPick&, const BackgroundPick&) = default;
};

struct ButtonStyle {
    ButtonParams params;
    // None: the style leaves the background to whoever applies it. Empty: the
    // picture's fully transparent pixels alone. Otherwise these picks in
    // order, added to the transparent pixels of a picture that has some.
    std::optional<std::vector<BackgroundPick>> background;

    friend bool operator==(const ButtonStyle&, const ButtonStyle&) = default;
};

// The version this program writes, and the only one it reads.
inline constexpr int kStyleVersion = 1;

// The whole-number values and the choices by the names the file and
// pelto-cli's options give them, with what both accept.
struct StyleNumber {
    const char* name;
    int32_t ButtonParams::*value;
    int32_t low, high;
};
inline constexpr StyleNumber kStyleNumbers[] = {
    {"angle", &ButtonParams::angle, 0, ButtonParams::kMaxAngle},
    {"contrast", &ButtonParams::contrast, 0, ButtonParams::kMaxContrast},
    {"width", &ButtonParams::width, 0, ButtonParams::kMaxWidth},
};
struct StyleChoice {
    const char* name;
    int32_t ButtonParams::*value;
    const char* choices[2]; // for the values 0 and 1
};
inline constexpr StyleChoice kStyleChoices[] = {
    {"shape", &ButtonParams::shape, {"cut", "round"}},
    {"outline", &ButtonParams::outline, {"inner", "outer"}},
};

// The style, or the message saying why its text was refused.
struct StyleRead {
    std::optional<ButtonStyle> style;
    std::string error;
};

// name stands for the text in messages (the path of its file).
StyleRead ParseStyle(const std::string& text, const std::string& name);
std::string FormatStyle(const ButtonStyle& style);

// mode is Read or ReadWaiting: a FIFO's writer is waited for a moment, or as
// long as it takes (pelto-cli, as for its pictures; a window must not hang).
StyleRead ReadStyle(const std::string& path, CFile::Mode mode = CFile::Mode::Read);
// Empty on success, otherwise the message for the user; saved as every
// picture is (platform/FileSave.h).
std::string WriteStyle(const ButtonStyle& style, const std::string& path);

} // namespace pelto
