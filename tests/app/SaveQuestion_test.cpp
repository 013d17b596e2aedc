// A picture with a button not yet saved is asked about before its last
// window closes, by whatever way it closes: はい saves it, いいえ lets it go,
// キャンセル keeps the window open and the program running.

#include "AppFixture.h"

#include "app/DocumentSlot.h"
#include "view/PeltoView.h"

#include <QMdiArea>

namespace pelto {

namespace {

enum class Closing { CloseBox, FileClose, Quit, OneOfTwoViews, WindowGone };

struct SaveCase {
    const char* name;
    bool modified;
    Closing closing;
    modal::Reply reply;
    int asked;
    bool stillOpen;
    bool saved;
};

class SaveQuestion : public AppFixture, public testing::WithParamInterface<SaveCase> {
protected:
    void TearDown() override {
        modal::AnswerQuestions({});
        AppFixture::TearDown();
    }
};

TEST_P(SaveQuestion, AsksBeforeTheLastWindowOfAModifiedPictureCloses) {
    const SaveCase& c = GetParam();
    int asked = 0;
    QString question;
    modal::AnswerQuestions([&](const QString& text) {
        ++asked;
        question = text;
        return c.reply;
    });
    auto app = Start();
    CMainFrame& frame = *app->GetMainFrame();
    const QString path = WritePicture("square.bmp");
    const Bytes original = ReadFileBytes(path.toStdString());
    CChildFrame* window = frame.OpenDocumentFile(path);
    ASSERT_TRUE(window);
    if (c.modified) {
        window->GetView()->GetDocument().SelectBackground(0, 0, 10);
        window->GetView()->OnEditMakebutton();
    }
    if (c.closing == Closing::OneOfTwoViews) frame.OnWindowNew();
    Settle();

    switch (c.closing) {
    case Closing::CloseBox:
    case Closing::OneOfTwoViews:
        window->close();
        break;
    case Closing::FileClose:
        frame.OnFileClose();
        break;
    case Closing::Quit:
        EXPECT_EQ(frame.close(), c.stillOpen == false);
        break;
    case Closing::WindowGone:
        frame.OnDestroyedFromOutside();
        break;
    }
    Settle();
    EXPECT_EQ(asked, c.asked);
    if (asked) {
        EXPECT_NE(question.indexOf(QStringLiteral("square.bmp")), -1) << question.toStdString();
    }
    EXPECT_EQ(!frame.GetChildFrames().isEmpty(), c.stillOpen);
    EXPECT_EQ(ReadFileBytes(path.toStdString()) != original, c.saved);
}

using R = modal::Reply;
INSTANTIATE_TEST_SUITE_P(
    Cases, SaveQuestion,
    testing::Values(
        SaveCase{"UnmodifiedIsNotAsked", false, Closing::Quit, R::Cancel, 0, false, false},
        SaveCase{"CloseBoxSaves", true, Closing::CloseBox, R::Yes, 1, false, true},
        SaveCase{"CloseBoxDiscards", true, Closing::CloseBox, R::No, 1, false, false},
        SaveCase{"CloseBoxCancels", true, Closing::CloseBox, R::Cancel, 1, true, false},
        SaveCase{"FileCloseCancels", true, Closing::FileClose, R::Cancel, 1, true, false},
        SaveCase{"QuitSaves", true, Closing::Quit, R::Yes, 1, false, true},
        SaveCase{"QuitCancelled", true, Closing::Quit, R::Cancel, 1, true, false},
        SaveCase{"WindowGoneSaves", true, Closing::WindowGone, R::Yes, 1, false, true},
        SaveCase{"WindowGoneDiscards", true, Closing::WindowGone, R::No, 1, false, false},
        SaveCase{"AnotherViewStaysOpen", true, Closing::OneOfTwoViews, R::Cancel, 0, true, false}),
    [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
