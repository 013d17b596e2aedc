// File, Export Button States: the four states shown, then written under the
// chosen name beside one another, the picture left as it was.
#include "MainFrameFixture.h"

#include "document/DocumentFile.h"
#include "document/PeltoDoc.h"
#include "support/ModalControl.h"
#include "view/PeltoView.h"

#include <QFile>
#include <QFileInfo>

namespace pelto {

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MainFrameStatesTest : public MainFrameTest {
protected:
    void TearDown() override {
        modal::AnswerStatesDialog({});
        MainFrameTest::TearDown();
    }
    // The states the dialog was shown, and whether it goes on.
    void AnswerStates(bool goOn) {
        modal::AnswerStatesDialog([this, goOn](const std::array<QImage, 4>& states) {
            m_shown.assign(states.begin(), states.end());
            return goOn;
        });
    }
    std::vector<QImage> m_shown;
};

TEST_F(MainFrameStatesTest, TheStatesAreShownThenWrittenBesideTheNormalButton) {
    CChildFrame* frame = Frame().OpenDocumentFile(WritePicture("logo.bmp"));
    ASSERT_TRUE(frame);
    QAction* command = Frame().GetActions().fileExportStates;
    EXPECT_EQ(command->text(), QString::fromUtf8("ボタン一式の書き出し…"));
    EXPECT_FALSE(command->isEnabled()) << "nothing selected yet";
    CPeltoView* view = Frame().GetActiveView();
    CPeltoDoc& doc = view->GetDocument();
    doc.SelectBackground(0, 0, 5);
    emit view->documentChanged();
    ASSERT_TRUE(command->isEnabled());

    AnswerStates(true);
    m_nextPath = QString::fromStdString(m_files.File("set.png"));
    command->trigger();
    ASSERT_EQ(m_shown.size(), 4u);
    for (const QImage& state : m_shown)
        EXPECT_EQ(state.size(), QSize(48, 48));
    EXPECT_NE(m_shown[0], m_shown[2]) << "pressed is lit from the other side";
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join("\n").toStdString();
    for (const char* name : {"set.png", "set-hover.png", "set-pressed.png", "set-disabled.png",
                             "set-sprite.png", "set.css"})
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(m_files.File(name)))) << name;
    EXPECT_FALSE(doc.CanUndo()) << "the picture is not changed";
    EXPECT_FALSE(frame->isWindowModified());

    // The normal state is the button Make Button makes with the same values.
    const QByteArray normal = Contents(m_nextPath);
    Frame().GetActions().editMakebutton->trigger();
    const std::string made = m_files.File("made.png");
    ASSERT_EQ(SaveDocument(doc, made, PictureFormat::Png), "");
    EXPECT_EQ(normal, Contents(QString::fromStdString(made)));
}

TEST_F(MainFrameStatesTest, StoppingAtTheStatesOrTheNameWritesNothing) {
    CChildFrame* frame = Frame().OpenDocumentFile(WritePicture("stop.bmp"));
    ASSERT_TRUE(frame);
    Frame().GetActiveView()->GetDocument().SelectBackground(0, 0, 5);
    emit Frame().GetActiveView()->documentChanged();
    m_nextPath = QString::fromStdString(m_files.File("stop-set.png"));
    AnswerStates(false);
    Frame().GetActions().fileExportStates->trigger();
    EXPECT_EQ(m_shown.size(), 4u);
    EXPECT_TRUE(m_dialogKinds.empty()) << "no name is asked for";
    AnswerStates(true);
    m_nextPath.clear();
    Frame().GetActions().fileExportStates->trigger();
    EXPECT_EQ(m_dialogKinds.size(), 1u);
    EXPECT_EQ(QDir(QString::fromStdString(m_files.Path())).entryList(QDir::Files),
              QStringList{"stop.bmp"});
}

} // namespace

} // namespace pelto
