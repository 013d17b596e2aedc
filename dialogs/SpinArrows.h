#pragma once
// An up-down arrow pair with no buddy box and no range of its own: each step
// reports a delta, -1 for the up arrow and +1 for the down arrow, and the owner
// applies it. Holding an arrow down repeats the step; while the control has the
// focus the Up and Down keys step too.

#include <QTimer>
#include <QWidget>

class QToolButton;

namespace pelto {

class CSpinArrows : public QWidget {
    Q_OBJECT

public:
    static constexpr int kUpDelta = -1;
    static constexpr int kDownDelta = 1;

    explicit CSpinArrows(QWidget* parent);

signals:
    void deltaPos(int delta);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* AddArrow(Qt::ArrowType arrow, const QString& name, int delta);
    void OnRepeat();
    void StopRepeating();

    QTimer m_repeatTimer;
    int m_nRepeatDelta = 0;
};

} // namespace pelto
