#include "StyleRun.h"

#include "DocMessages.h"

#include <utility>
#include <vector>

namespace pelto {

StyleRunEnd RunStyle(CPeltoDoc& doc, const ButtonStyle& style, unsigned threads) {
    if (!doc.Picture().HasBlock())
        return {StyleRefusal::EmptyPicture, docmsg::Text(docmsg::kEmptyPicture)};

    // A picture with transparency comes with its selection.
    const std::vector<BackgroundPick> picks =
        style.background.value_or(std::vector<BackgroundPick>());
    if (picks.empty() && !doc.HasSelection())
        return {StyleRefusal::NoPick, "at least one --pick X,Y,TOL is needed"};

    for (const BackgroundPick& pick : picks)
        if (std::string outside = PickOutside(pick, doc.Picture()); !outside.empty())
            return {StyleRefusal::PickOutside, std::move(outside)};
    for (const BackgroundPick& pick : picks)
        doc.SelectBackground(pick, threads);
    doc.MakeButton(style.params, threads);
    return {};
}

std::string PickOutside(const BackgroundPick& pick, const CDIB& picture) {
    const int width = picture.m_nWidth, height = picture.m_nHeight;
    if (pick.x >= 0 && pick.y >= 0 && pick.x < width && pick.y < height) return {};
    return "--pick " + std::to_string(pick.x) + "," + std::to_string(pick.y) +
           " lies outside the " + std::to_string(width) + " x " + std::to_string(height) +
           " picture";
}

} // namespace pelto
