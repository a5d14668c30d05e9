// Stepping through the data files of the current file's folder, the list of all their
// comments with its search, and the copy of the comment. The folder logic is the core's; this
// file moves text between it and the controls.
#include "app/MainWindow.h"

#include "app/ButtonKey.h"
#include "app/EventHook.h"
#include "app/FileDialogs.h"
#include "app/LongText.h"
#include "files/FolderBrowse.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBlock>

namespace korvel {

namespace {

// The list as the user sees it now, one entry per line of the text box.
QStringList linesOf(const QPlainTextEdit* edit)
{
    QStringList lines;
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
        lines.append(b.text());
    return lines;
}

}  // namespace

void MainWindow::wireFolderBrowsing()
{
    Ui::MainWindow& f = *ui;
    connect(f.btPrevFile, &QToolButton::clicked, this, &MainWindow::btPrevFileClick);
    connect(f.btNextFile, &QToolButton::clicked, this, &MainWindow::btNextFileClick);
    // As between the tabs of a browser; plain PgUp/PgDn page through the comment.
    AddButtonKey(f.btPrevFile, QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    AddButtonKey(f.btNextFile, QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    connect(f.btShowCmnt, &QToolButton::clicked, this, &MainWindow::btShowCmntClick);
    connect(f.btCopy, &QToolButton::clicked, this, &MainWindow::btCopyClick);
    connect(f.btOpenFind, &QPushButton::clicked, this, &MainWindow::MAllCmntOpen);
    connect(f.btFind, &QPushButton::clicked, this, &MainWindow::btFindClick);
    connect(f.btPath, &QPushButton::clicked, this, &MainWindow::btPathClick);
    connect(f.btCancel, &QPushButton::clicked, this, &MainWindow::btCancelClick);

    // The first click of a double click has already put the text cursor where the user
    // pointed, so the double click only has to open.
    new EventHook(f.MAllCmnt->viewport(), [this](QEvent* e) {
        if (e->type() != QEvent::MouseButtonDblClick)
            return false;
        MAllCmntOpen();
        return true;
    });
    new EventHook(f.MAllCmnt, [this](QEvent* e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        MAllCmntOpen();
        return true;
    });
}

QString MainWindow::folderPosition() const
{
    // Any other change of the current file (a load, another folder) ends the detour.
    return refusedStep.from == data.CurrentDataFile ? refusedStep.to : data.CurrentDataFile;
}

void MainWindow::stepOnto(const QString& path)
{
    const QString from = data.CurrentDataFile;
    if (!openDataFile(path))
        refusedStep = {from, path};
}

void MainWindow::btPrevFileClick()
{
    ui->gbFT->hide();
    const BrowseStep step = PreviousDataFile(folderPosition());
    if (step.action == BrowseStep::Action::NoMoreFiles) {
        messages().information(NoMoreFilesMessage());
        return;
    }
    if (step.action == BrowseStep::Action::Open)
        stepOnto(step.path);
}

void MainWindow::btNextFileClick()
{
    ui->gbFT->hide();
    const BrowseStep step = NextDataFile(folderPosition());
    if (step.action != BrowseStep::Action::Open) {
        messages().information(NoMoreFilesMessage());
        return;
    }
    stepOnto(step.path);
}

void MainWindow::btShowCmntClick()
{
    openCommentList();
    // Before any file was opened there is no folder of a current file: the user names one.
    if (data.CurrentDataFile.isEmpty())
        listChosenFolder();
    else
        listFolderOfCurrentFile();
}

void MainWindow::openCommentList()
{
    Ui::MainWindow& f = *ui;
    f.gbFT->hide();
    FormResize();
    f.gbAllCmnt->show();
    f.MAllCmnt->clear();
}

void MainWindow::listFolderOfCurrentFile()
{
    QStringList entries = CommentListEntries(data.CurrentDataFile);
    if (entries.isEmpty()) {
        const QString picked = dialogs().fileName(OpenDlg());
        if (!picked.isEmpty()) {
            data.CurrentDataFile = picked;
            entries = CommentListEntries(data.CurrentDataFile);
        }
    }
    if (entries.isEmpty()) {
        messages().information(ChooseFolderMessage(data.CurrentDataFile));
        return;
    }
    showCommentList(FolderOf(data.CurrentDataFile), entries);
}

void MainWindow::listChosenFolder()
{
    const QString chosen = dialogs().fileName(FolderDlg());
    if (chosen.isEmpty()) {
        ui->gbAllCmnt->hide();
        return;
    }
    const QString folder = QDir(chosen).absolutePath() + QLatin1Char('/');
    const QString mask = QStringLiteral("*.dtw");
    const QStringList entries = ListFolder(folder, mask);
    if (entries.isEmpty()) {
        messages().information(ChooseFolderMessage(mask));
        return;
    }
    showCommentList(folder, entries);
}

void MainWindow::showCommentList(const QString& folder, const QStringList& entries)
{
    listedFolder = folder;
    const QStringList lines = BuildCommentList(folder, entries, messages());
    SetLongText(ui->MAllCmnt, lines.join('\n'));
    ui->MAllCmnt->moveCursor(QTextCursor::Start);
}

void MainWindow::MAllCmntOpen()
{
    Ui::MainWindow& f = *ui;
    const std::optional<QString> name =
        FileNameForLine(linesOf(f.MAllCmnt), f.MAllCmnt->textCursor().blockNumber());
    if (!name)
        return;
    f.gbAllCmnt->hide();
    openDataFile(listedFolder + *name);
}

void MainWindow::btFindClick()
{
    Ui::MainWindow& f = *ui;
    const std::optional<SearchHit> hit = FindInCommentList(
        linesOf(f.MAllCmnt), f.eFind->text(), f.chkCaps->isChecked(), SearchLine);
    if (!hit)
        return;
    f.MAllCmnt->setFocus(Qt::OtherFocusReason);
    // The hit counts a CR LF after every earlier line; the text box holds one separator
    // there, so each earlier line is one position shorter.
    const int start = hit->selStart - hit->line;
    QTextCursor c = f.MAllCmnt->textCursor();
    c.setPosition(start);
    c.setPosition(start + hit->selLength, QTextCursor::KeepAnchor);
    f.MAllCmnt->setTextCursor(c);
}

void MainWindow::btPathClick()
{
    // An empty path names no folder. (A made-up name would be a relative path here, and the
    // current folder would be listed.) The list then asks for a file with the open dialog.
    data.CurrentDataFile.clear();
    openCommentList();
    listFolderOfCurrentFile();
}

void MainWindow::btCancelClick()
{
    ui->gbAllCmnt->hide();
}

void MainWindow::btCopyClick()
{
    Ui::MainWindow& f = *ui;
    const ClipboardText c = CommentClipboardText(f.mComment->toPlainText(), data.CurrentDataFile);
    if (!c.error.isEmpty()) {
        messages().error(c.error);
        return;
    }
    QString text = c.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    SetLongText(f.mClipBoard, text);
    f.mClipBoard->selectAll();
    f.mClipBoard->copy();
}

}  // namespace korvel
