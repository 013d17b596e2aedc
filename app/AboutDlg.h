#pragma once
// CAboutDlg: the About box with the program's icon, name and version.

#include <QDialog>

namespace pelto {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace pelto
