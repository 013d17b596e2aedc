#pragma once
// CUndoHistory: the buttons a document can undo and redo, oldest first, each a
// CUndoStep. Steps before the cursor hold the picture from before their
// button, the others the picture from after it, so undoing and redoing trade
// pictures with the document and copy none. It keeps at most kMostSteps and,
// past the newest, no more than a byte budget the caller passes in: the
// oldest go first. Plain C++.

#include "UndoStep.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace pelto {

class CUndoHistory {
public:
    static constexpr size_t kMostSteps = 20;

    // What a step trades places with: the document's own state.
    struct State {
        CDIB& picture;
        std::unique_ptr<CAlphaPlane>& alpha;
        std::unique_ptr<CMaskDIB>& mask;
        PickRecord& picks;
        uint64_t& pictureId;
    };

    // Room for every step is taken now, so recording never allocates.
    CUndoHistory() { m_steps.reserve(kMostSteps + 1); }

    bool CanUndo() const { return m_nDone > 0; }
    bool CanRedo() const { return m_nDone < m_steps.size(); }
    size_t UndoCount() const { return m_nDone; }
    size_t RedoCount() const { return m_steps.size() - m_nDone; }
    // The step Undo or Redo would trade with, or null.
    const CUndoStep* UndoStep() const { return CanUndo() ? &m_steps[m_nDone - 1] : nullptr; }
    const CUndoStep* RedoStep() const { return CanRedo() ? &m_steps[m_nDone] : nullptr; }
    uint64_t Bytes() const;

    // The step from before a new button: the redo steps go, then the oldest
    // while more than kMostSteps are kept, or more than budget bytes
    // with the new step not alone.
    void Record(CUndoStep step, uint64_t budget) noexcept;
    // Brings back the picture from before the last button done, and the
    // selection it was made with and its picks; throws std::bad_alloc, with nothing
    // changed, when the selection's copies do not fit.
    void Undo(State state);
    // Brings back the picture from after the next button undone, with no
    // selection, as the button left it.
    void Redo(State state) noexcept;

private:
    std::vector<CUndoStep> m_steps;
    size_t m_nDone = 0;
};

} // namespace pelto
