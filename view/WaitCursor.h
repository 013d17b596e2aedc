#pragma once
// The wait cursor with the mouse held by a widget, for as long as it lives:
// both end however the work inside ends.

class QWidget;

namespace pelto {

class CWaitCursor {
public:
    explicit CWaitCursor(QWidget* capture);
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    QWidget* m_pCapture;
};

} // namespace pelto
