#pragma once
// The help file is named after the program: its name with ".HLP" in place of
// any extension. In the build tree it sits beside the program; installed, in
// the data folder PELTO_DATA_FROM_PROGRAM leads to from the program's folder.
// It holds HTML.

#include <QString>

namespace pelto {

// The first of the two places that holds the file, beside the program first;
// where neither does, the one beside the program, for messages to name.
QString HelpFilePath(const QString& programPath);

} // namespace pelto
