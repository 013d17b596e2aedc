#include "IndicatorPanes.h"

#include "AppStrings.h"
#include "LockKeys.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QWindow>

namespace pelto {

namespace {
constexpr const char* kPaneTexts[4] = {appstr::kIndicatorKana, appstr::kIndicatorCaps,
                                       appstr::kIndicatorNum, appstr::kIndicatorScroll};
} // namespace

CIndicatorPanes::CIndicatorPanes(QStatusBar* bar) : QObject(bar) {
    for (int i = 0; i < 4; ++i) {
        auto* pane = new QLabel;
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        const QString text = appstr::Tr(kPaneTexts[i]);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 8);
        bar->addPermanentWidget(pane);
        m_panes[i] = pane;
    }
    qApp->installEventFilter(this);
    Refresh();
}

void CIndicatorPanes::Refresh() {
    const std::optional<LockKeys> keys = QueryLockKeys();
    // No kana lock is ever reported here.
    const bool on[4] = {false, keys && keys->caps, keys && keys->num, keys && keys->scroll};
    for (int i = 0; i < 4; ++i) {
        const QString text = on[i] ? appstr::Tr(kPaneTexts[i]) : QString();
        if (m_panes[i]->text() != text) m_panes[i]->setText(text);
    }
}

QString CIndicatorPanes::Text(int pane) const {
    return m_panes[pane]->text();
}

bool CIndicatorPanes::eventFilter(QObject* watched, QEvent* event) {
    // A key reaches its window first and then its widgets: read once per key.
    const bool key = event->type() == QEvent::KeyRelease && qobject_cast<QWindow*>(watched);
    if (key || event->type() == QEvent::ApplicationActivate) Refresh();
    return QObject::eventFilter(watched, event);
}

} // namespace pelto
