#include "StyleRun.h"

#include "DocMessages.h"

#include <utility>
#include <vector>

namespace pelto {

namespace {

StyleRunEnd EmptyPicture() {
    return {StyleRefusal::EmptyPicture, docmsg::Text(docmsg::kEmptyPicture)};
}

} // namespace

StyleRunEnd ApplyStyle(CPeltoDoc& doc, const ButtonStyle& style, unsigned threads) {
    if (!style.background) return {};
    if (!doc.Picture().HasBlock()) return EmptyPicture();
    for (const BackgroundPick& pick : *style.background)
        if (std::string outside = PickOutside(pick, doc.Picture()); !outside.empty())
            return {StyleRefusal::PickOutside, std::move(outside)};
    doc.SelectStyleBackground(*style.background, threads);
    return {};
}

StyleRunEnd PrepareStyle(CPeltoDoc& doc, const ButtonStyle& style, unsigned threads) {
    if (!doc.Picture().HasBlock()) return EmptyPicture();
    if (StyleRunEnd end = ApplyStyle(doc, style, threads); end.refusal != StyleRefusal::None)
        return end;
    if (!doc.HasSelection()) return {StyleRefusal::NoPick, "at least one --pick X,Y,TOL is needed"};
    if (style.cutOut) doc.CutOut(threads);
    return {};
}

StyleRunEnd RunStyle(CPeltoDoc& doc, const ButtonStyle& style, unsigned threads) {
    StyleRunEnd end = PrepareStyle(doc, style, threads);
    if (end.refusal == StyleRefusal::None) doc.MakeButton(style.params, threads);
    return end;
}

std::string PickOutside(const BackgroundPick& pick, const CDIB& picture) {
    const int width = picture.m_nWidth, height = picture.m_nHeight;
    if (pick.x >= 0 && pick.y >= 0 && pick.x < width && pick.y < height) return {};
    return translation::Fill(
        translation::Fill(docmsg::Text(docmsg::kPickOutside),
                          std::to_string(pick.x) + "," + std::to_string(pick.y)),
        std::to_string(width) + " x " + std::to_string(height), 2);
}

} // namespace pelto
