#pragma once
// The help window: the help file's HTML in a window of its own that closes
// with its parent.

#include <QTextBrowser>

namespace pelto {

class CHelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent);
    // False when the file cannot be read.
    bool ShowFile(const QString& path);
};

} // namespace pelto
