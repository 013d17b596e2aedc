#include "document/UndoHistory.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

// Steps recorded one after another, each a picture of the same size with its
// number as id, and the budget in steps' bytes (plus extra bytes).
struct BudgetCase {
    const char* name;
    int recorded;
    int budgetSteps;
    int extraBytes;
    int kept;
};

class HistoryBudget : public ::testing::TestWithParam<BudgetCase> {};

TEST_P(HistoryBudget, DropsTheOldestStepsFirst) {
    const BudgetCase& c = GetParam();
    CDIB picture;
    picture.BuildPicture(5, 3);
    const uint64_t stepBytes = CUndoStep(picture, nullptr, 0).Bytes();
    const uint64_t budget =
        c.budgetSteps < 0 ? UINT64_MAX : stepBytes * c.budgetSteps + c.extraBytes;
    CUndoHistory history;
    for (int id = 1; id <= c.recorded; ++id)
        history.Record(CUndoStep(picture, nullptr, uint64_t(id)), budget);
    ASSERT_EQ(history.UndoCount(), size_t(c.kept));
    EXPECT_EQ(history.Bytes(), stepBytes * uint64_t(c.kept));

    // Undoing goes through the newest steps, newest first; the shown picture
    // goes into each step in turn, so nothing is copied or lost.
    std::unique_ptr<CAlphaPlane> alpha;
    std::unique_ptr<CMaskDIB> mask;
    PickRecord picks;
    uint64_t shown = uint64_t(c.recorded) + 1;
    for (int undone = 1; undone <= c.kept; ++undone) {
        history.Undo({picture, alpha, mask, picks, shown});
        EXPECT_EQ(shown, uint64_t(c.recorded - undone + 1)) << undone;
        EXPECT_EQ(history.RedoStep()->PictureId(), uint64_t(c.recorded - undone + 2)) << undone;
    }
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.RedoCount(), size_t(c.kept));
}

INSTANTIATE_TEST_SUITE_P(Budgets, HistoryBudget,
                         ::testing::Values(BudgetCase{"Unlimited", 5, -1, 0, 5},
                                           BudgetCase{"NeverMoreThanTheMost", 25, -1, 0,
                                                      int(CUndoHistory::kMostSteps)},
                                           BudgetCase{"ExactlyThreeSteps", 5, 3, 0, 3},
                                           BudgetCase{"AByteShortOfThree", 5, 3, -1, 2},
                                           BudgetCase{"NoneKeepsTheNewest", 5, 0, 0, 1}),
                         [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
