#pragma once
// CPeltoDoc: one open picture with its selection mask and one-step undo
// snapshot, and, for a picture whose file has transparency (a PNG), its
// opacity beside it, which the snapshot keeps too. Plain C++: the windows ask
// it to act and paint what it holds.
// Operations with a missing precondition (no mask, no snapshot) do nothing.
// MakeButton throws std::bad_alloc when memory runs out, with the picture,
// the snapshot and the mask left exactly as they were; it does so before
// allocating when the memory the system can still give is too little, since
// an allocation it grants but cannot back ends the process instead.
// A document for a batch run keeps no undo snapshot.

#include "PictureFormat.h"
#include "engine/ButtonParams.h"
#include "image/AlphaPlane.h"
#include "image/Dib.h"
#include "image/MaskDib.h"

#include <memory>

namespace pelto {

class CArchive;

enum class UndoSnapshot { Kept, None };

class CPeltoDoc {
public:
    explicit CPeltoDoc(UndoSnapshot undo = UndoSnapshot::Kept) : m_undo(undo) {}

    // A document exists only for an opened file: a new, empty one is refused.
    static bool OnNewDocument() { return false; }
    // The file is exactly the picture's BMP file image.
    void Serialize(CArchive& ar) { m_dib.Serialize(ar); }

    // x, y: the image point as seen on screen (y from the top edge).
    void SelectBackground(int x, int y, int tolerance, unsigned threads = 0);
    void ClearSelection() { m_pMask.reset(); }
    // threads (here and above): how many to work with, 0 for one per
    // processor the process may use;
    // the result is the same for any count.
    void MakeButton(ButtonParams params, unsigned threads = 0);
    void Undo();

    // Selects every fully transparent pixel, as a pick would.
    void SelectTransparent();

    // Whether the picture differs from the one last opened or saved: a button
    // makes it so, and Undo back to the saved picture unmakes it.
    bool IsModified() const { return m_nPicture != m_nSavedPicture; }
    void SetSaved() { m_nSavedPicture = m_nPicture; }

    bool CanUndo() const { return m_pUndoDIB != nullptr; }
    bool HasSelection() const { return m_pMask != nullptr; }
    bool HasTransparency() const { return m_pAlpha != nullptr; }

    CDIB m_dib;
    std::unique_ptr<CDIB> m_pUndoDIB;
    std::unique_ptr<CMaskDIB> m_pMask;
    // Opacity of each pixel, when the picture has transparency; its snapshot
    // is the opacity as it stood with m_pUndoDIB.
    std::unique_ptr<CAlphaPlane> m_pAlpha;
    std::unique_ptr<CAlphaPlane> m_pUndoAlpha;
    // The kind of file the picture came from, and is saved as.
    PictureFormat m_format = PictureFormat::Bmp;

private:
    UndoSnapshot m_undo;
    // Which picture the document holds, the snapshot holds, and was last saved.
    uint64_t m_nPicture = 0;
    uint64_t m_nUndoPicture = 0;
    uint64_t m_nSavedPicture = 0;
    uint64_t m_nPicturesMade = 0;
};

} // namespace pelto
