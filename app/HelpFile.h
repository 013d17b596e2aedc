#pragma once
// The help file is named after the program: its name with ".HLP" in place of
// any extension, or ".en.HLP" for the English help. In the build tree it sits
// beside the program; installed, in the data folder PELTO_DATA_FROM_PROGRAM
// leads to from the program's folder. It holds HTML.

#include "Language.h"

#include <QString>

namespace pelto {

// The first of the two places that holds the language's file, beside the
// program first. English falls back to the Japanese file where only that is
// found; where none is, the language's own file beside the program, for
// messages to name.
QString HelpFilePath(const QString& programPath, Language language = Language::Japanese);

} // namespace pelto
