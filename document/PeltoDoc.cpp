#include "PeltoDoc.h"

#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "engine/RunFootprint.h"
#include "image/FlatBmp.h"
#include "image/HeightDib.h"
#include "image/PngFile.h"
#include "platform/Archive.h"
#include "system/File.h"
#include "system/MemoryLimit.h"

#include <cstring>
#include <optional>

namespace pelto {

namespace {

bool AnyFullyTransparent(const CAlphaPlane& alpha) {
    for (int y = 0; y < alpha.Height(); ++y)
        if (std::memchr(alpha.Row(y), 0, size_t(alpha.Width()))) return true;
    return false;
}

} // namespace

void CPeltoDoc::SelectBackground(const BackgroundPick& pick, unsigned threads) {
    if (!m_pMask && m_dib.HasBlock())
        memlimit::EnsureAvailable(
            EstimateRunFootprint(m_dib.m_nWidth, m_dib.m_nHeight, m_dib.m_nFileSize, 0, false, 0)
                .mask);
    // A pick on no selection starts a new one, and its record.
    PickRecord picks = m_pMask ? m_picks : PickRecord(std::in_place);
    if (picks) picks->push_back(pick);
    pelto::SelectBackground(m_dib, m_pMask, pick, m_pAlpha.get(), threads);
    m_picks = std::move(picks);
}

void CPeltoDoc::SelectStyleBackground(const std::vector<BackgroundPick>& picks, unsigned threads) {
    std::unique_ptr<CMaskDIB> mask = std::move(m_pMask);
    PickRecord record = std::move(m_picks);
    try {
        ClearSelection();
        SelectTransparent();
        for (const BackgroundPick& pick : picks)
            SelectBackground(pick, threads);
    } catch (...) {
        m_pMask = std::move(mask);
        m_picks = std::move(record);
        throw;
    }
}

void CPeltoDoc::MakeButton(ButtonParams params, unsigned threads, const RowsShaded& shaded) {
    if (!m_pMask) return;
    const bool keep = m_undo == UndoSnapshot::Kept;
    // The step keeps the opacity too (the selection it takes over), and an
    // outer rim's soft edge needs a mark per pixel and the shape's bits.
    const uint64_t pixels = uint64_t(m_dib.m_nWidth) * m_dib.m_nHeight;
    const uint64_t held = m_dib.m_nFileSize + (m_pAlpha ? pixels : 0);
    memlimit::EnsureAvailable(EstimateRunFootprint(m_dib.m_nWidth, m_dib.m_nHeight, held,
                                                   params.width, keep, threads,
                                                   m_pAlpha && params.Outer())
                                  .Button());
    // Everything that can fail happens before the document changes.
    std::optional<CUndoStep> step;
    if (keep) step.emplace(m_dib, m_pAlpha.get(), m_nPicture);
    const uint64_t budget = keep ? memlimit::AvailableBytes() / 8 : 0;
    if (m_pAlpha) {
        CHeightDIB heights(m_dib.m_nWidth, m_dib.m_nHeight);
        // Pass 1 grows a rim over transparency into the picture itself, so the
        // step is taken first and the picture must not fail after it.
        CTransparentRim rim(m_dib, *m_pAlpha);
        ComputeBevelHeights(*m_pMask, params, heights, threads, &rim);
        ShadeBevel(m_dib, heights, params.contrast, threads, &rim, shaded);
    } else {
        MakeBevel(m_dib, *m_pMask, params, threads, shaded);
    }
    m_nPicture = ++m_nPicturesMade;
    if (keep) {
        step->KeepSelection(std::move(m_pMask), std::move(m_picks));
        m_history.Record(std::move(*step), budget);
    }
    ClearSelection();
}

CUndoHistory::State CPeltoDoc::HistoryState() {
    return {m_dib, m_pAlpha, m_pMask, m_picks, m_nPicture};
}

void CPeltoDoc::Undo() {
    const CUndoStep* step = m_history.UndoStep();
    if (!step) return;
    if (const CMaskDIB* mask = step->Selection()) memlimit::EnsureAvailable(mask->m_nFileSize);
    m_history.Undo(HistoryState());
}

void CPeltoDoc::Redo() {
    const CUndoStep* step = m_history.RedoStep();
    if (!step) return;
    const bool cutOut = step->StepKind() == CUndoStep::Kind::CutOut;
    m_history.Redo(HistoryState());
    try {
        if (cutOut) SelectTransparent();
    } catch (const std::bad_alloc&) {
        // The picture is back; the selection can be made again by hand.
    }
}

void CPeltoDoc::SetSelection(std::unique_ptr<CMaskDIB> mask) {
    if (mask && mask->m_nWidth == m_dib.m_nWidth && mask->m_nHeight == m_dib.m_nHeight) {
        m_pMask = std::move(mask);
        m_picks.reset();
    }
}

void CPeltoDoc::LoadPng(const uint8_t* data, uint64_t size) {
    CAlphaPlane alpha;
    png::Decode(data, size, m_dib, alpha);
    m_format = PictureFormat::Png;
    if (!alpha.HasTransparency()) return;
    m_pAlpha = std::make_unique<CAlphaPlane>(std::move(alpha));
    SelectTransparent();
}

void StorePicture(CFile& file, const CDIB& picture, const CAlphaPlane* alpha,
                  PictureFormat format) {
    if (!picture.HasBlock()) return;
    if (format == PictureFormat::Png) {
        png::Encode(picture, alpha, file);
    } else if (alpha) {
        WriteOverWhite(picture, *alpha, file);
    } else {
        // The file block as it stands, as CDIB::Serialize stores it.
        file.Write(picture.m_pFileImage.get(), picture.m_nFileSize);
    }
}

void CPeltoDoc::Store(CFile& file, PictureFormat format) {
    StorePicture(file, m_dib, m_pAlpha.get(), format);
}

void CPeltoDoc::SelectTransparent() {
    // With no fully transparent pixel the mask would select nothing, yet
    // count as a selection: the picture would skip the pick a BMP asks for.
    if (!m_pAlpha || !AnyFullyTransparent(*m_pAlpha)) return;
    // Made by the transparency alone when it starts the selection; a style's
    // picks add to the transparent pixels anyway, so their record still holds.
    if (!m_pMask) m_picks.emplace();
    pelto::SelectTransparent(*m_pAlpha, m_pMask);
}

} // namespace pelto
