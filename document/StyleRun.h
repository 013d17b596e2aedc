#pragma once
// A style's steps on an opened picture, as pelto-cli and the web module take
// them: the picks in order (a picture with transparency comes with its
// selection, and the picks add to it), then the button. Refused, with the
// message and before anything changes, are an empty picture, a picture with
// no selection when the style has no pick, and a pick outside the picture.
// May throw as PeltoDoc's operations do (std::bad_alloc).

#include "ButtonStyle.h"
#include "PeltoDoc.h"

#include <string>

namespace pelto {

enum class StyleRefusal { None, EmptyPicture, NoPick, PickOutside };

struct StyleRunEnd {
    StyleRefusal refusal = StyleRefusal::None;
    std::string message;
};

StyleRunEnd RunStyle(CPeltoDoc& doc, const ButtonStyle& style, unsigned threads);

// Why pick cannot be made on picture, or empty when it lies inside.
std::string PickOutside(const BackgroundPick& pick, const CDIB& picture);

} // namespace pelto
