#include "dialogs/SpinArrows.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelto {

CSpinArrows::CSpinArrows(QWidget* parent) : QWidget(parent) {
    // A click on an arrow focuses the control as a whole, so that the keys work.
    setFocusPolicy(Qt::ClickFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(AddArrow(Qt::UpArrow, QStringLiteral("upArrow"), kUpDelta));
    layout->addWidget(AddArrow(Qt::DownArrow, QStringLiteral("downArrow"), kDownDelta));
    connect(&m_repeatTimer, &QTimer::timeout, this, &CSpinArrows::OnRepeat);
}

QToolButton* CSpinArrows::AddArrow(Qt::ArrowType arrow, const QString& name, int delta) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    connect(button, &QToolButton::pressed, this, [this, delta] {
        emit deltaPos(delta);
        m_nRepeatDelta = delta;
        m_repeatTimer.start(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold));
    });
    connect(button, &QToolButton::released, this, &CSpinArrows::StopRepeating);
    return button;
}

// The release can miss the arrow, as when a message box opened while the
// button went down; the mouse's own state then ends the repeat.
void CSpinArrows::OnRepeat() {
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        for (QToolButton* button : findChildren<QToolButton*>())
            button->setDown(false);
        StopRepeating();
        return;
    }
    m_repeatTimer.setInterval(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate));
    emit deltaPos(m_nRepeatDelta);
}

void CSpinArrows::StopRepeating() {
    m_repeatTimer.stop();
}

void CSpinArrows::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        emit deltaPos(kUpDelta);
        break;
    case Qt::Key_Down:
        emit deltaPos(kDownDelta);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace pelto
