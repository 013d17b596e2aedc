#include "UndoHistory.h"

namespace pelto {

uint64_t CUndoHistory::Bytes() const {
    uint64_t bytes = 0;
    for (const CUndoStep& step : m_steps)
        bytes += step.Bytes();
    return bytes;
}

void CUndoHistory::Record(CUndoStep step, uint64_t budget) noexcept {
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_nDone), m_steps.end());
    // Within the capacity reserved, so it cannot throw.
    m_steps.push_back(std::move(step));
    uint64_t bytes = Bytes();
    while (m_steps.size() > kMostSteps || (m_steps.size() > 1 && bytes > budget)) {
        bytes -= m_steps.front().Bytes();
        m_steps.erase(m_steps.begin());
    }
    m_nDone = m_steps.size();
}

void CUndoHistory::Undo(State state) {
    if (!CanUndo()) return;
    CUndoStep& step = m_steps[m_nDone - 1];
    std::unique_ptr<CMaskDIB> selection = step.CopySelection();
    PickRecord picks = step.Picks();
    step.Trade(state.picture, state.alpha, state.pictureId);
    state.mask = std::move(selection);
    state.picks = std::move(picks);
    --m_nDone;
}

void CUndoHistory::Redo(State state) noexcept {
    if (!CanRedo()) return;
    m_steps[m_nDone].Trade(state.picture, state.alpha, state.pictureId);
    state.mask.reset();
    state.picks.reset();
    ++m_nDone;
}

} // namespace pelto
