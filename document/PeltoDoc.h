#pragma once
// CPeltoDoc: one open picture with its selection mask and the history of its
// buttons to undo and redo, and, for a picture whose file has transparency (a
// PNG), its opacity beside it, which the history keeps too. Plain C++: the
// windows ask it to act and paint what it holds; only its own operations and
// its open steps (DocumentFile.h) change it.
// Operations with a missing precondition (no mask, nothing to undo or redo)
// do nothing. MakeButton and Undo throw std::bad_alloc when memory runs out,
// with the picture, the history and the mask left exactly as they were; they
// do so before allocating when the memory the system can still give is too
// little, since an allocation it grants but cannot back ends the process instead.
// A document for a batch run keeps no history.

#include "PickRecord.h"
#include "PictureFormat.h"
#include "UndoHistory.h"
#include "engine/BackgroundPick.h"
#include "engine/Bevel.h"
#include "engine/ButtonParams.h"
#include "image/AlphaPlane.h"
#include "image/Block.h"
#include "image/Dib.h"
#include "image/MaskDib.h"

#include <memory>

namespace pelto {

class CArchive;
class CFile;

enum class UndoSnapshot { Kept, None };

// Writes picture (with its opacity, or none) as format; an empty picture
// writes nothing. A BMP has no transparency: it gets the picture as the
// windows show it, over white.
void StorePicture(CFile& file, const CDIB& picture, const CAlphaPlane* alpha, PictureFormat format);

class CPeltoDoc {
public:
    explicit CPeltoDoc(UndoSnapshot undo = UndoSnapshot::Kept) : m_undo(undo) {}

    // A document exists only for an opened file: a new, empty one is refused.
    static bool OnNewDocument() { return false; }
    // The file is exactly the picture's BMP file image.
    void Serialize(CArchive& ar) { m_dib.Serialize(ar); }

    // Loading, as CDIB and png::Decode check it; a refusal throws as they do
    // and leaves the document empty.
    void LoadBmp(const uint8_t* data, uint64_t size) { m_dib.LoadFromBytes(data, size); }
    void LoadBmp(block::Ptr data, uint64_t size) { m_dib.LoadFromBlock(std::move(data), size); }
    // A PNG's fully transparent pixels start as the selection, as if they had been picked.
    void LoadPng(const uint8_t* data, uint64_t size);
    // Writes the picture as format; an empty picture writes nothing. A BMP has
    // no transparency: it gets the picture as the windows show it, over white.
    void Store(CFile& file, PictureFormat format);

    // pick.x, pick.y: the image point as seen on screen (y from the top
    // edge). A picture with transparency picks as engine/BackgroundSelection.h
    // says: a transparent seed takes transparent pixels, a visible one visible pixels.
    void SelectBackground(const BackgroundPick& pick, unsigned threads = 0);
    void SelectBackground(int x, int y, int tolerance, unsigned threads = 0) {
        SelectBackground(BackgroundPick{x, y, tolerance}, threads);
    }
    void ClearSelection() {
        m_pMask.reset();
        m_picks.reset();
    }
    // A selection made elsewhere, of the picture's size (anything else is
    // ignored); nobody can tell its picks.
    void SetSelection(std::unique_ptr<CMaskDIB> mask);
    // The selection a style's background gives (StyleRun.h): the fully
    // transparent pixels, then each pick in order, in place of the selection
    // there was. All or nothing: std::bad_alloc leaves the selection as it was.
    void SelectStyleBackground(const std::vector<BackgroundPick>& picks, unsigned threads = 0);
    // threads (here and above): how many to work with, 0 for one per
    // processor the process may use;
    // the result is the same for any count.
    // The history keeps the picture from before, the selection the button
    // is made with and, of the memory then left, an eighth at most (but the
    // newest step always); the document is left with no selection. shaded
    // hears of the picture's rows as they become final (engine/Bevel.h).
    void MakeButton(ButtonParams params, unsigned threads = 0, const RowsShaded& shaded = {});
    // The selected background becomes transparent and the shape's edge loses
    // its fringe (engine/CutOut.h), each pick's colour taken out of what it
    // took; the selection is then the transparent area. One step of the
    // history, as a button is; with no selection it does nothing.
    void CutOut(unsigned threads = 0);
    // What a cut-out of a picture of this size holds beside the picture and its step.
    static uint64_t CutOutBytes(int width, int height);
    // Back to the picture from before the last step (button or cut-out), and
    // its selection.
    void Undo();
    // Forward to the picture after the next step undone: a button leaves no
    // selection, a cut-out its transparent area (when memory allows).
    void Redo();

    // Selects every fully transparent pixel, as a pick would.
    void SelectTransparent();

    // Whether the picture differs from the one last opened or saved: a button
    // makes it so, and undoing or redoing back to the saved picture unmakes it.
    bool IsModified() const { return m_nPicture != m_nSavedPicture; }
    // The picture was saved as format, which it is saved as from now on.
    void SetSaved(PictureFormat format) {
        m_nSavedPicture = m_nPicture;
        m_format = format;
    }

    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    bool HasSelection() const { return m_pMask != nullptr; }
    // The picks that made the selection (PickRecord.h); none without one.
    PickRecord SelectionPicks() const { return m_pMask ? m_picks : std::nullopt; }
    bool HasTransparency() const { return m_pAlpha != nullptr; }

    // What the document holds, for the windows to draw and the callers to read.
    const CDIB& Picture() const { return m_dib; }
    // Drawing the selection sets its colour table, so the windows get it to draw.
    CMaskDIB* Selection() { return m_pMask.get(); }
    const CMaskDIB* Selection() const { return m_pMask.get(); }
    const CAlphaPlane* Opacity() const { return m_pAlpha.get(); }
    const CUndoHistory& History() const { return m_history; }
    // The kind of file the picture came from, and is saved as.
    PictureFormat Format() const { return m_format; }

private:
    CUndoHistory::State HistoryState();

    CDIB m_dib;
    CUndoHistory m_history;
    std::unique_ptr<CMaskDIB> m_pMask;
    PickRecord m_picks; // of m_pMask
    // Opacity of each pixel, when the picture has transparency.
    std::unique_ptr<CAlphaPlane> m_pAlpha;
    PictureFormat m_format = PictureFormat::Bmp;
    UndoSnapshot m_undo;
    // Which picture the document holds and was last saved.
    uint64_t m_nPicture = 0;
    uint64_t m_nSavedPicture = 0;
    uint64_t m_nPicturesMade = 0;
};

} // namespace pelto
