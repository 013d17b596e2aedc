#pragma once
// CPeltoView: one window on a document. Shows the picture at its zoom (1:1
// at first) with the selection overlay in a scroll area, picks the
// background with the mouse and runs the Edit commands. Several views may share one document; each
// keeps its own parameter values and picking state, and only the view that ran a command repaints.

#include "ViewZoom.h"
#include "engine/ButtonParams.h"

#include <QAbstractScrollArea>
#include <QCursor>

#include <memory>

namespace pelto {

class CDIB;
class CPeltoDoc;

class CPeltoView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CPeltoView(std::shared_ptr<CPeltoDoc> doc, QWidget* parent = nullptr);

    CPeltoDoc& GetDocument() const { return *m_pDocument; }

    // Scroll range from the picture; the parent window shrinks to fit it.
    void OnInitialUpdate();
    QPoint GetScrollPosition() const;

    void OnEditBgcolor();
    void OnEditMakebutton();
    void OnEditUndo();
    bool OnUpdateEditUndo() const;

    ButtonParams CurrentButtonParams() const;

    // Zoom, each view its own (PeltoView_Zoom.cpp). The keys and the menu keep
    // the centre of the view in place, the wheel the point under the pointer.
    CZoom GetZoom() const { return m_zoom; }
    void SetZoom(CZoom zoom, QPoint anchor);
    void OnViewZoomIn();
    void OnViewZoomOut();
    void OnViewZoomActual();
    void OnViewZoomFit();

    int m_nTolerance = 0;
    int m_nLightAngle = 0;
    int m_nContrast = 128;
    int m_nBevelWidth = 5;
    int m_nShape = 0;
    int m_nOutline = 0;
    bool m_bPicking = false;
    const QCursor m_hPickCursor;

signals:
    // A command changed the document (selection, picture or undo snapshot).
    void documentChanged();
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // While the button dialog previews, the view shows its bevel instead of
    // the document's picture; null shows the document again.
    void ShowPreview(std::shared_ptr<const CDIB> picture);
    // The button dialog, previewing in this view while it is open.
    bool AskButtonParamsPreviewing(ButtonParams& params);
    void UpdateScrollBars();
    void EndPicking();
    void RedrawNow();

    std::shared_ptr<CPeltoDoc> m_pDocument;
    CZoom m_zoom;
    std::shared_ptr<const CDIB> m_pPreviewPicture;
};

} // namespace pelto
