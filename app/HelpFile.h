#pragma once
// The help file sits beside the program: its path with ".HLP" in place of
// any extension. It holds HTML.

#include <QString>

namespace pelto {

QString HelpFilePath(const QString& programPath);

} // namespace pelto
