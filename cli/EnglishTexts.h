#pragma once
// The English of the plain C++ layers' messages (pelto-cli --lang en), made
// at build time from the program's English translation, translations/pelto_en.ts.

#include "platform/Translation.h"

#include <span>

namespace pelto {

extern const std::span<const translation::TextTranslation> kEnglishTexts;

inline std::string EnglishText(const char* context, const char* source) {
    return translation::LookUp(kEnglishTexts, context, source);
}

} // namespace pelto
