#pragma once
// The glue's texts: the language of its messages, and the refusals of its
// own arguments, worded as pelto-cli words its options' (in English alone).

#include "document/PictureFormat.h"
#include "platform/Translation.h"

#include <optional>
#include <span>
#include <string>

namespace pelto {

// The English of the plain C++ layers' messages, made at build time from
// translations/pelto_en.ts as pelto-cli's is, with the view's one text the
// glue shares with the desktop window.
extern const std::span<const translation::TextTranslation> kWebEnglishTexts;

namespace web {

// The desktop window's words for a button asked before a selection.
inline constexpr const char* kViewContext = "pelto::CPeltoView";
inline constexpr const char* kSelectFirst =
    PELTO_TR_NOOP("pelto::CPeltoView", "選択範囲を指定してください");

// "bmp", "png", or "" (none: the kind the picture came as); false, with the
// refusal set, for anything else.
bool KindOf(const char* format, std::optional<PictureFormat>& kind);

} // namespace web

} // namespace pelto
