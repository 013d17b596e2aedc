#include "MessageBox.h"

#include "DialogLayout.h"

#include <QMessageBox>

namespace {
std::function<void(const QString&)>& Handler() {
    static std::function<void(const QString&)> handler;
    return handler;
}
} // namespace

void AfxMessageBox(const QString& text, QWidget* parent) {
    if (Handler()) {
        Handler()(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppCaption), text, QMessageBox::Ok,
                    parent);
    box.setFont(DialogFont());
    box.exec();
}

void SetMessageBoxHandlerForTesting(std::function<void(const QString&)> handler) {
    Handler() = std::move(handler);
}
