#pragma once
// The Open and Save As dialogs. Open lists BMP and PNG together first, then
// each alone, then all files; Save As lists the picture's own kind first,
// then the other, then all files; a name saved without an extension gets the
// picture's. Each returns the chosen path, or an empty string on Cancel.
// Tests answer them through tests/support/ModalControl.h.

#include "document/PictureFormat.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace pelto {

QString AskOpenPath(QWidget* parent);
QString AskSavePath(QWidget* parent, const QString& suggested, PictureFormat kind);
// A style file to write or to read, in the folder the last one was in; a name
// written without an extension gets ".json".
QString AskStylePath(QWidget* parent, bool save);

// The dialogs' name filters, in order.
QStringList OpenFilters();
QStringList SaveFilters(PictureFormat first);
// path with kind's extension added when its file name has none.
QString WithDefaultExtension(const QString& path, PictureFormat kind = PictureFormat::Bmp);

} // namespace pelto
