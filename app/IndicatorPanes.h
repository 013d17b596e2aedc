#pragma once
// The status bar's four indicator panes (kana, caps, num, scroll). A pane
// shows its text while its lock is on and stays blank otherwise or when the
// windowing system does not tell; the state is read again on every key.

#include <QObject>

class QLabel;
class QStatusBar;

namespace pelto {

class CIndicatorPanes : public QObject {
    Q_OBJECT
public:
    explicit CIndicatorPanes(QStatusBar* bar);

    void Refresh();
    QString Text(int pane) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_panes[4];
};

} // namespace pelto
