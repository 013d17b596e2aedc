#pragma once
// The help file sits beside the program: its path with ".HLP" in place of
// any extension. It holds HTML.

#include <QString>

QString HelpFilePath(const QString& programPath);
