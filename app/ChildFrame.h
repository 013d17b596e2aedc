#pragma once
// CChildFrame: one document window inside the main frame, holding one view.
// Closing it never asks anything: documents are never marked modified.

#include <QMdiSubWindow>

#include <memory>

namespace pelto {

struct CDocumentSlot;
class CPeltoView;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(std::shared_ptr<CDocumentSlot> slot, QWidget* parent = nullptr);

    CPeltoView* GetView() const { return m_pView; }
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
};

} // namespace pelto
