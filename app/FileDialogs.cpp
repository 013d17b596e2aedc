#include "FileDialogs.h"

#include "AppStrings.h"
#include "SettingsKeys.h"
#include "dialogs/ModalAnswers.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

namespace pelto {

namespace {

QString Extension(PictureFormat kind) {
    return QString::fromUtf8(kind == PictureFormat::Png ? appstr::kPngExtension
                                                        : appstr::kFilterExtension);
}

// The part in the last parentheses is the pattern; the dialog shows the rest.
QString KindFilter(PictureFormat kind) {
    return appstr::Tr(kind == PictureFormat::Png ? appstr::kPngFilterName : appstr::kFilterName) +
           " (*" + Extension(kind) + ")";
}

QString AllFilesFilter() {
    return appstr::Tr(appstr::kAllFilesFilterName) + " (*)";
}

// The toolkit names a folder's kind in a context its Japanese lacks; the
// dialog's own context has the word.
class CDialogIconProvider : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        return info.isDir() ? QFileDialog::tr("Folder") : QFileIconProvider::type(info);
    }
};

// Qt's own dialog, so that it speaks the loaded translation, wide enough
// that every column of the detail view reads whole.
void Prepare(QFileDialog& dialog, const QString& title, const QStringList& filters, bool save) {
    static CDialogIconProvider icons;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setIconProvider(&icons);
    dialog.setWindowTitle(title);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        details->header()->setStretchLastSection(false);
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    const QFontMetrics metrics = dialog.fontMetrics();
    dialog.resize(metrics.averageCharWidth() * 110, metrics.height() * 30);
}

QString RunDialog(QWidget* parent, modal::FileDialogKind kind, const QString& suggested,
                  PictureFormat picture) {
    if (const modal::FileAnswer& answer = modal::FileDialogAnswer()) return answer(kind, suggested);
    const bool save = kind == modal::FileDialogKind::SaveAs;
    QFileDialog dialog(parent);
    Prepare(dialog, appstr::Tr(save ? appstr::kSaveAsTitle : appstr::kOpenTitle),
            save ? SaveFilters(picture) : OpenFilters(), save);
    if (save) {
        dialog.setDefaultSuffix(Extension(picture).mid(1));
        // The kind chosen gives a name without an extension its own.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& f) {
            if (f == KindFilter(PictureFormat::Bmp) || f == KindFilter(PictureFormat::Png))
                dialog.setDefaultSuffix(Extension(f == KindFilter(PictureFormat::Png)
                                                      ? PictureFormat::Png
                                                      : PictureFormat::Bmp)
                                            .mid(1));
        });
        dialog.selectFile(suggested);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

} // namespace

QStringList OpenFilters() {
    return {appstr::Tr(appstr::kPictureFilterName) + " (*" + Extension(PictureFormat::Bmp) + " *" +
                Extension(PictureFormat::Png) + ")",
            KindFilter(PictureFormat::Bmp), KindFilter(PictureFormat::Png), AllFilesFilter()};
}

QStringList SaveFilters(PictureFormat first) {
    const PictureFormat other =
        first == PictureFormat::Png ? PictureFormat::Bmp : PictureFormat::Png;
    return {KindFilter(first), KindFilter(other), AllFilesFilter()};
}

QString WithDefaultExtension(const QString& path, PictureFormat kind) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + Extension(kind);
}

QString AskStylePath(QWidget* parent, bool save) {
    const modal::FileDialogKind kind =
        save ? modal::FileDialogKind::SaveStyle : modal::FileDialogKind::OpenStyle;
    QSettings settings = AppSettings();
    const QString folder = settings.value(kStyleFolderKey).toString();
    QString path;
    if (const modal::FileAnswer& answer = modal::FileDialogAnswer()) {
        path = answer(kind, folder);
    } else {
        QFileDialog dialog(parent, QString(), folder);
        const QString extension = QString::fromUtf8(appstr::kStyleExtension);
        Prepare(dialog, appstr::Tr(save ? appstr::kSaveStyleTitle : appstr::kLoadStyleTitle),
                {appstr::Tr(appstr::kStyleFilterName) + " (*" + extension + ")", AllFilesFilter()},
                save);
        dialog.setDefaultSuffix(extension.mid(1));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (path.isEmpty()) return {};
    if (QFileInfo(path).suffix().isEmpty()) path += QString::fromUtf8(appstr::kStyleExtension);
    settings.setValue(kStyleFolderKey, QFileInfo(path).absolutePath());
    return path;
}

QString AskOpenPath(QWidget* parent) {
    return RunDialog(parent, modal::FileDialogKind::Open, {}, PictureFormat::Bmp);
}

QString AskSavePath(QWidget* parent, const QString& suggested, PictureFormat kind) {
    return WithDefaultExtension(RunDialog(parent, modal::FileDialogKind::SaveAs, suggested, kind),
                                kind);
}

} // namespace pelto
