// The main frame's File commands: open, close, save, save as, recent files,
// and the button states' export.
#include "AppStrings.h"
#include "ChildFrame.h"
#include "DocumentSlot.h"
#include "FileDialogs.h"
#include "MainFrame.h"
#include "RecentFileList.h"
#include "dialogs/MessageBox.h"
#include "document/ButtonSet.h"
#include "document/DocumentFile.h"
#include "view/PeltoView.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace pelto {

namespace {
std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
} // namespace

// A document exists only for an opened file (CPeltoDoc::OnNewDocument
// refuses a new, empty one), so the command opens nothing and says nothing.
void CMainFrame::OnFileNew() {}

void CMainFrame::OnFileOpen() {
    const QString path = AskOpenPath(this);
    if (!path.isEmpty()) OpenDocumentFile(path);
}

CChildFrame* CMainFrame::OpenDocumentFile(const QString& path) {
    return OpenReporting(path, [this](const QStringList& messages) {
        for (const QString& message : messages)
            AfxMessageBox(message, this);
    });
}

int CMainFrame::OpenDocumentFiles(const QStringList& paths) {
    if (paths.size() == 1) return OpenDocumentFile(paths.front()) ? 1 : 0;
    int opened = 0;
    for (const QString& path : paths)
        opened +=
            OpenReporting(path, [&](const QStringList& messages) {
                AfxMessageBox(QDir::toNativeSeparators(path) + u'\n' + messages.join(u'\n'), this);
            }) != nullptr;
    return opened;
}

CChildFrame* CMainFrame::OpenReporting(const QString& path,
                                       const std::function<void(const QStringList&)>& refused) {
    const QString full = QFileInfo(path).absoluteFilePath();
    for (CChildFrame* frame : GetChildFrames())
        if (frame->GetSlot()->HoldsFile(full)) {
            m_pMdiArea->setActiveSubWindow(frame);
            return frame;
        }

    DocOpenResult opened = OpenDocument(LocalPath(full));
    if (!opened.doc) {
        QStringList messages;
        for (const std::string& message : opened.messages)
            messages.append(QString::fromStdString(message));
        refused(messages);
        return nullptr;
    }
    auto slot = std::make_shared<CDocumentSlot>(
        CDocumentSlot{std::shared_ptr<CPeltoDoc>(std::move(opened.doc)), full});
    CChildFrame* frame = AddChildFrame(std::move(slot));
    m_recentFiles.Add(full);
    m_recentFiles.WriteList();
    UpdateFileMenus();
    return frame;
}

namespace {
QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.append(url.toLocalFile());
    return files;
}
} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty()) return;
    // The drop ends before any message box, so the program it came from is not held.
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, files] { OpenDocumentFiles(files); });
}

void CMainFrame::OnOpenRecentFile(int index) {
    if (index < 0 || index >= m_recentFiles.Files().size()) return;
    const QString path = m_recentFiles.Files()[index];
    if (OpenDocumentFile(path)) return;
    // A file that can no longer be opened leaves the list.
    m_recentFiles.Remove(path);
    m_recentFiles.WriteList();
    UpdateFileMenus();
}

void CMainFrame::OnFileClose() {
    CChildFrame* active = GetActiveFrame();
    if (!active) return;
    // Closing the document closes every window on it, once it may.
    const std::shared_ptr<CDocumentSlot> slot = active->GetSlot();
    if (MayCloseDocument(*slot)) CloseAsked(FramesShowing(slot.get()));
}

bool CMainFrame::MayCloseDocument(CDocumentSlot& slot) {
    if (!slot.m_pDocument->IsModified()) return true;
    switch (AskToSaveChanges(slot.GetTitle(), this, !m_bWindowGone)) {
    case modal::Reply::Yes:
        return SaveTo(slot, slot.m_strPathName, slot.m_pDocument->Format());
    case modal::Reply::No:
        return true;
    default:
        return false;
    }
}

bool CMainFrame::MayCloseFrame(CChildFrame& frame) {
    if (m_bClosingAsked) return true;
    // Another window still shows the picture.
    if (FramesShowing(frame.GetSlot().get()).size() > 1) return true;
    return MayCloseDocument(*frame.GetSlot());
}

bool CMainFrame::MayCloseEveryDocument() {
    QList<CDocumentSlot*> asked;
    for (CChildFrame* frame : GetChildFrames()) {
        CDocumentSlot* slot = frame->GetSlot().get();
        if (asked.contains(slot)) continue;
        asked.append(slot);
        // With the window gone, a failed save does not spare the others.
        if (!MayCloseDocument(*slot) && !m_bWindowGone) return false;
    }
    return true;
}

void CMainFrame::CloseAsked(const QList<CChildFrame*>& frames) {
    m_bClosingAsked = true;
    for (CChildFrame* frame : frames)
        frame->close();
    m_bClosingAsked = false;
}

bool CMainFrame::SaveTo(CDocumentSlot& slot, const QString& path, PictureFormat kind) {
    CPeltoDoc& doc = *slot.m_pDocument;
    // A BMP cannot hold the transparency: the user says first whether to lose it.
    if (kind == PictureFormat::Bmp && doc.HasTransparency() &&
        !AskYesNo(appstr::Tr(appstr::kMsgTransparencyLost), this))
        return false;
    const std::string message = SaveDocument(doc, LocalPath(path), kind);
    if (!message.empty()) {
        AfxMessageBox(QString::fromStdString(message), this);
        return false;
    }
    slot.m_strPathName = QFileInfo(path).absoluteFilePath();
    m_recentFiles.Add(slot.m_strPathName);
    m_recentFiles.WriteList();
    UpdateFileMenus();
    UpdateTitles();
    UpdateWindowMenu();
    return true;
}

void CMainFrame::OnFileSave() {
    if (CChildFrame* active = GetActiveFrame())
        SaveTo(*active->GetSlot(), active->GetSlot()->m_strPathName,
               active->GetSlot()->m_pDocument->Format());
}

void CMainFrame::OnFileSaveAs() {
    CChildFrame* active = GetActiveFrame();
    if (!active) return;
    CDocumentSlot& slot = *active->GetSlot();
    const QString path = AskSavePath(this, slot.m_strPathName, slot.m_pDocument->Format());
    if (!path.isEmpty()) SaveTo(slot, path, FormatOfName(QFile::encodeName(path).toStdString()));
}

void CMainFrame::OnFileExportStates() {
    CChildFrame* active = GetActiveFrame();
    if (!active) return;
    const std::unique_ptr<CButtonSet> set = active->GetView()->AskButtonStates();
    if (!set) return;
    // Beside the picture under a name of its own, so that the picture itself
    // is not written over; PNG keeps the states' transparency.
    const QFileInfo picture(active->GetSlot()->m_strPathName);
    const QString path =
        AskSavePath(this, picture.dir().filePath(picture.completeBaseName() + "-button.png"),
                    PictureFormat::Png);
    if (path.isEmpty()) return;
    const PictureFormat kind = FormatOfName(LocalPath(path));
    if (kind == PictureFormat::Bmp && set->states[CButtonSet::Normal].alpha &&
        !AskYesNo(appstr::Tr(appstr::kMsgTransparencyLost), this))
        return;
    const std::string message = SaveButtonSet(*set, LocalPath(path), kind);
    if (!message.empty()) AfxMessageBox(QString::fromStdString(message), this);
}

} // namespace pelto
