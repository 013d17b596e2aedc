#include "StyleRun.h"

#include "DocMessages.h"

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

    const int width = doc.Picture().m_nWidth;
    const int height = doc.Picture().m_nHeight;
    for (const BackgroundPick& pick : picks)
        if (pick.x < 0 || pick.y < 0 || pick.x >= width || pick.y >= height)
            return {StyleRefusal::PickOutside, "--pick " + std::to_string(pick.x) + "," +
                                                   std::to_string(pick.y) + " lies outside the " +
                                                   std::to_string(width) + " x " +
                                                   std::to_string(height) + " picture"};
    for (const BackgroundPick& pick : picks)
        doc.SelectBackground(pick.x, pick.y, pick.tolerance, threads);
    doc.MakeButton(style.params, threads);
    return {};
}

} // namespace pelto
