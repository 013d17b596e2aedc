#include "MainFrameFixture.h"

#include "document/ButtonStyle.h"
#include "document/PeltoDoc.h"
#include "support/ModalControl.h"
#include "support/PngBuilder.h"
#include "view/PeltoView.h"

namespace pelto {

// A style keeps the view's five values; loaded, it fills them (and selects
// its background), and the dialog comes back to the style's folder.
TEST_F(MainFrameTest, AStyleSavedAndLoadedCarriesTheButtonValues) {
    CChildFrame* window = Frame().OpenDocumentFile(WritePicture("square.bmp"));
    ASSERT_TRUE(window);
    CPeltoView& view = *window->GetView();
    view.ApplyStyle({ButtonParams{135, 160, 9, BevelShape::Round}, std::nullopt});
    QStringList offered;
    modal::AnswerFileDialogs([&](modal::FileDialogKind, const QString& folder) {
        offered << folder;
        return QString::fromStdString(m_files.File("look"));
    });
    Frame().OnEditSaveStyle();
    ASSERT_TRUE(ReadStyle(m_files.File("look.json")).style);
    EXPECT_EQ(ReadStyle(m_files.File("look.json")).style->params,
              (ButtonParams{135, 160, 9, BevelShape::Round, BevelOutline::Inner}));

    const std::string style = R"({"version": 1, "angle": 20, "contrast": 30, "width": 4,
        "shape": "cut", "outline": "outer", "background": [{"x": 0, "y": 0, "tolerance": 5}]})";
    WriteFileBytes(m_files.File("look.json"), Bytes(style.begin(), style.end()));
    modal::AnswerFileDialogs([&](modal::FileDialogKind, const QString& folder) {
        offered << folder;
        return QString::fromStdString(m_files.File("look.json"));
    });
    Frame().OnEditLoadStyle();
    EXPECT_EQ(view.CurrentButtonParams(),
              (ButtonParams{20, 30, 4, BevelShape::Cut, BevelOutline::Outer}));
    EXPECT_TRUE(view.GetDocument().HasSelection());
    EXPECT_EQ(offered.last(), QString::fromStdString(m_files.Path()));

    // A pick the picture does not hold refuses the whole style, values included.
    const PickRecord selected = view.GetDocument().SelectionPicks();
    const std::string outside = R"({"version": 1, "angle": 90, "contrast": 30, "width": 4,
        "shape": "cut", "outline": "outer", "background": [{"x": 1, "y": 1, "tolerance": 5},
        {"x": 0, "y": 900, "tolerance": 5}]})";
    WriteFileBytes(m_files.File("look.json"), Bytes(outside.begin(), outside.end()));
    QStringList shown;
    modal::AnswerMessageBoxes([&](const QString& text) { shown << text; });
    Frame().OnEditLoadStyle();
    modal::AnswerMessageBoxes({});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("点 0,900 は ")) << shown[0].toStdString();
    EXPECT_EQ(view.CurrentButtonParams().angle, 20);
    EXPECT_EQ(view.GetDocument().SelectionPicks(), selected);
}

// Saving a style asks whether the selection goes along, by the picks that
// made it or as the transparent pixels; without a selection it asks nothing.
TEST_F(MainFrameTest, AStyleKeepsTheSelectionOnlyWhenTheUserSaysSo) {
    const QString png = WriteBytes("rim.png", MakePng({6, 5, 8, 6, false, [](int x, int y, int c) {
                                                           const bool rim = x == 0 || y == 0;
                                                           return c < 3 ? 90 : rim ? 0 : 255;
                                                       }}));
    const std::vector<BackgroundPick> picks{{1, 0, 5}, {0, 2, 7}};
    struct Case {
        QString picture;
        std::optional<std::vector<BackgroundPick>> selected; // by a style; none: as opened
        modal::Reply reply;
        int questions;
        std::optional<std::vector<BackgroundPick>> saved;
    };
    const Case cases[] = {
        {WritePicture("plain.bmp"), std::nullopt, modal::Reply::Yes, 0, std::nullopt},
        {WritePicture("picked.bmp"), picks, modal::Reply::Yes, 1, picks},
        {WritePicture("refused.bmp"), picks, modal::Reply::No, 1, std::nullopt},
        {png, std::nullopt, modal::Reply::Yes, 1, std::vector<BackgroundPick>{}},
        {png, std::nullopt, modal::Reply::No, 1, std::nullopt},
    };
    const std::string path = m_files.File("kept.json");
    modal::AnswerFileDialogs(
        [&](modal::FileDialogKind, const QString&) { return QString::fromStdString(path); });
    for (const Case& c : cases) {
        CChildFrame* window = Frame().OpenDocumentFile(c.picture);
        ASSERT_TRUE(window);
        if (c.selected) window->GetView()->ApplyStyle({ButtonParams{}, c.selected});
        QStringList asked;
        modal::AnswerQuestions([&](const QString& text) {
            asked << text;
            return c.reply;
        });
        Frame().OnEditSaveStyle();
        modal::AnswerQuestions({});
        EXPECT_EQ(asked.size(), c.questions) << c.picture.toStdString();
        const StyleRead read = ReadStyle(path);
        ASSERT_TRUE(read.style) << read.error;
        EXPECT_EQ(read.style->background, c.saved) << c.picture.toStdString();
        window->close();
        Settle();
    }
}

} // namespace pelto
