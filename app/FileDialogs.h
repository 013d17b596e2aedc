#pragma once
// The Open and Save As dialogs: the bitmap filter first, all files second;
// on save a name without an extension gets ".bmp". Each returns the chosen
// path, or an empty string on Cancel. Tests answer them through
// tests/support/ModalControl.h.

#include <QString>
#include <QStringList>

class QWidget;

namespace pelto {

QString AskOpenPath(QWidget* parent);
QString AskSavePath(QWidget* parent, const QString& suggested);

// The dialogs' name filters, in order.
QStringList FileFilters();
// path with ".bmp" added when its file name has no extension.
QString WithDefaultExtension(const QString& path);

} // namespace pelto
