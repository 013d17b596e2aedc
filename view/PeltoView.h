#pragma once
// CPeltoView: one window on a document. Shows the picture at its zoom (1:1
// at first) with the selection overlay in a scroll area, picks the
// background with the mouse or the keys and runs the Edit commands. Several
// views may share one document; each keeps its own parameter values and
// picking state, and only the view that ran a command repaints.

#include "ViewZoom.h"
#include "engine/BackgroundPick.h"
#include "engine/ButtonParams.h"

#include <QAbstractScrollArea>
#include <QCursor>

#include <memory>
#include <optional>

namespace pelto {

struct ButtonStyle;
struct CButtonSet;
class CDIB;
struct CPreviewFrame;
class CPreviewWorker;
class CPeltoDoc;
struct PixelArea;

class CPeltoView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CPeltoView(std::shared_ptr<CPeltoDoc> doc, QWidget* parent = nullptr);

    CPeltoDoc& GetDocument() const { return *m_pDocument; }

    // Scroll range from the picture; the parent window shrinks to fit it.
    void OnInitialUpdate();
    QPoint GetScrollPosition() const;
    // The whole picture at the present zoom, without scroll bars.
    QSize sizeHint() const override;
    // Device pixels per logical pixel on the view's screen, and the scroll
    // position in device pixels: the view draws and picks in device pixels.
    qreal Ratio() const;
    QPoint ScreenScroll() const;
    // The part of the picture in sight, in global coordinates.
    QRect VisiblePictureOnScreen() const;

    void OnEditBgcolor();
    void OnEditMakebutton();
    void OnEditUndo();
    bool OnUpdateEditUndo() const;
    void OnEditRedo();
    bool OnUpdateEditRedo() const;
    // The selected background made transparent, its fringe taken off the shape.
    void OnEditCutOut();
    // The button states the view's button values make of the picture, shown
    // before they are written (PeltoView_States.cpp): null when there is no
    // selection, memory runs out, or the user stops there, each told.
    std::unique_ptr<CButtonSet> AskButtonStates();

    // The button values the next button starts from, each view its own.
    ButtonParams CurrentButtonParams() const { return m_buttonParams; }
    // A style with a background selects it afresh (document/StyleRun.h), and
    // its button values become the view's, as if typed into the button
    // dialog; a style the picture refuses is shown and changes nothing.
    void ApplyStyle(const ButtonStyle& style);

    // Zoom, each view its own (PeltoView_Zoom.cpp). The keys and the menu keep
    // the centre of the view in place, the wheel the point under the pointer.
    CZoom GetZoom() const { return m_zoom; }
    void SetZoom(CZoom zoom, QPointF anchor);
    void OnViewZoomIn();
    void OnViewZoomOut();
    void OnViewZoomActual();
    void OnViewZoomFit();

    int m_nTolerance = kToleranceRange.initial;
    // Picks take only the pixels joined to the picked one.
    bool m_bConnected = false;
    bool m_bPicking = false;
    // Made for the screen's scale each time picking starts.
    QCursor m_hPickCursor;

signals:
    // A command changed the document (selection, picture or its history).
    void documentChanged();
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // While the button dialog previews, the view shows its bevel instead of
    // the document's picture; null shows the document again.
    void ShowPreview(std::shared_ptr<const CPreviewFrame> frame);
    // The button dialog, previewing in this view while it is open.
    bool AskButtonParamsPreviewing(ButtonParams& params);
    // The picture's pixels in sight, in stored rows: what the preview shades.
    PixelArea PreviewArea() const;
    // A preview shown asks again for the part in sight once it scrolls or zooms.
    void FollowPreview();
    void UpdateScrollBars();
    // The zoomed picture's size in logical units.
    QSize LogicalContentSize() const;
    void EndPicking();
    // Ends picking with a pick at image (y from the top), or none.
    void PickAt(std::optional<QPoint> image);
    // Keyboard picking (PeltoView_Keys.cpp): the pixel the keys moved the
    // crosshair to, until the mouse moves it.
    std::optional<QPoint> PixelUnderPointer() const;
    std::optional<QPoint> PickTarget() const;
    void MoveCrosshair(QPoint step);
    void BringIntoView(QPointF point);
    void RedrawNow();

    std::shared_ptr<CPeltoDoc> m_pDocument;
    ButtonParams m_buttonParams;
    CZoom m_zoom;
    std::shared_ptr<const CPreviewFrame> m_pPreviewPicture;
    CPreviewWorker* m_pPreviewWorker = nullptr;  // while the button dialog previews
    std::optional<ButtonParams> m_previewValues; // the values it previews
    std::optional<QPoint> m_keyPick;
    QPoint m_keyPointer; // where the keys put the pointer, in global logical units
};

} // namespace pelto
