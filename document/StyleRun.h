#pragma once
// A style and an open picture, as pelto-cli, the windows and the web module
// take them. Applying one: the style's background, when it has one, becomes
// the selection (a picture with transparency starts from its transparent
// pixels, and the picks add to them, as they do on a picture just opened);
// every pick is checked first, so a refusal, or memory running out
// (std::bad_alloc), changes nothing. A style saved from a document keeps its
// selection's picks (CPeltoDoc::SelectionPicks) as its background, when asked.

#include "ButtonStyle.h"
#include "PeltoDoc.h"

#include <string>

namespace pelto {

enum class StyleRefusal { None, EmptyPicture, NoPick, PickOutside };

struct StyleRunEnd {
    StyleRefusal refusal = StyleRefusal::None;
    std::string message;
};

// The style's background on doc (an empty picture takes none); its button
// values are the caller's to use.
StyleRunEnd ApplyStyle(CPeltoDoc& doc, const ButtonStyle& style, unsigned threads = 0);
// ApplyStyle, then the cut-out when the style asks for one: everything the
// button is made after; refused for an empty picture, and when nothing is
// selected then.
StyleRunEnd PrepareStyle(CPeltoDoc& doc, const ButtonStyle& style, unsigned threads);
// PrepareStyle, then the button.
StyleRunEnd RunStyle(CPeltoDoc& doc, const ButtonStyle& style, unsigned threads);

// Why pick cannot be made on picture, or empty when it lies inside.
std::string PickOutside(const BackgroundPick& pick, const CDIB& picture);

} // namespace pelto
