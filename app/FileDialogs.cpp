#include "FileDialogs.h"

#include "AppStrings.h"
#include "dialogs/ModalAnswers.h"

#include <QFileDialog>
#include <QFileInfo>

namespace pelto {

namespace {

QString RunDialog(QWidget* parent, modal::FileDialogKind kind, const QString& suggested) {
    if (const modal::FileAnswer& answer = modal::FileDialogAnswer()) return answer(kind, suggested);
    const bool save = kind == modal::FileDialogKind::SaveAs;
    QFileDialog dialog(parent);
    dialog.setWindowTitle(appstr::Tr(save ? appstr::kSaveAsTitle : appstr::kOpenTitle));
    // Qt's own dialog, so that it speaks the loaded translation.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(FileFilters());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog.setDefaultSuffix(QString::fromUtf8(appstr::kFilterExtension).mid(1));
        dialog.selectFile(suggested);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

} // namespace

QStringList FileFilters() {
    // The part in the last parentheses is the pattern; the dialog shows the rest.
    const QString extension = QString::fromUtf8(appstr::kFilterExtension);
    return {appstr::Tr(appstr::kFilterName) + " (*" + extension + ")",
            appstr::Tr(appstr::kAllFilesFilterName) + " (*)"};
}

QString WithDefaultExtension(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QString::fromUtf8(appstr::kFilterExtension);
}

QString AskOpenPath(QWidget* parent) {
    return RunDialog(parent, modal::FileDialogKind::Open, {});
}

QString AskSavePath(QWidget* parent, const QString& suggested) {
    return WithDefaultExtension(RunDialog(parent, modal::FileDialogKind::SaveAs, suggested));
}

} // namespace pelto
