#include "PrintTarget.h"

#include <algorithm>

namespace pelto {

QRectF PrintTarget(QSize picture, QSizeF printable, double dotsPerInch) {
    if (picture.isEmpty() || printable.isEmpty() || dotsPerInch <= 0) return {};
    const double scale =
        std::min({dotsPerInch / kPrintPixelsPerInch, printable.width() / picture.width(),
                  printable.height() / picture.height()});
    return QRectF(0, 0, picture.width() * scale, picture.height() * scale);
}

} // namespace pelto
