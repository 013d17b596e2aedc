#pragma once
// CChildFrame: one document window inside the main frame, holding one view.
// Before it closes it asks its guard, which may keep it open (a modified
// picture whose user cancels).

#include <QMdiSubWindow>

#include <functional>
#include <memory>

namespace pelto {

struct CDocumentSlot;
class CPeltoView;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(std::shared_ptr<CDocumentSlot> slot, QWidget* parent = nullptr);

    CPeltoView* GetView() const { return m_pView; }
    void SetCloseGuard(std::function<bool(CChildFrame&)> mayClose) {
        m_mayClose = std::move(mayClose);
    }
    const std::shared_ptr<CDocumentSlot>& GetSlot() const { return m_pSlot; }

signals:
    void frameClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::shared_ptr<CDocumentSlot> m_pSlot;
    // The smallest size that shows the whole title bar: title, icon and buttons.
    QSize TitleBarSize() const;

    CPeltoView* m_pView;
    std::function<bool(CChildFrame&)> m_mayClose;
};

} // namespace pelto
