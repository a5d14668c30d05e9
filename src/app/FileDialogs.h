#pragma once
// The file-name dialogs of the window, asked of a small object like the message boxes: the
// running program shows QFileDialog, tests and unattended runs answer from a list and never
// block.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace korvel {

struct FileDialogRequest {
    enum class Kind { Open, Save, Folder };
    Kind kind = Kind::Open;
    QString filter;         // Qt form: "ADC files (*.dtw);;All files (*.*)"
    QString defaultSuffix;  // added when the typed name has no extension
    QString folder;         // where it starts, an existing folder: set by FileDialogs::fileName
    QString title;          // the dialog's own when empty
    // Filters that bring their own extension for a name typed without one.
    QHash<QString, QString> filterSuffixes;
};

// The save dialog of the data files: data file, text export or any name, then the open
// export formats.
FileDialogRequest SaveDlg();
// The open dialog of the data files.
FileDialogRequest OpenDlg();
// Where the printout goes when no printer is installed.
FileDialogRequest PdfDlg();
// The folder whose data files the comment list shows, before any file was opened.
FileDialogRequest FolderDlg();

// Where a dialog starts: "DataVib" under lastFolder (the working directory before any file was
// chosen) when it exists, else lastFolder itself. The program's first home followed the folder
// of the last file chosen the same way.
QString DialogStartFolder(const QString& lastFolder);

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or an empty string when the user cancelled. The dialog starts in the
    // DialogStartFolder of the last file chosen, with no name filled in.
    QString fileName(FileDialogRequest request);
    // A file opened without a dialog counts as chosen, too; a chosen folder is remembered
    // itself, a file by its folder.
    void remember(const QString& path);

protected:
    virtual QString ask(const FileDialogRequest& request) = 0;

private:
    QString lastFolder_;
};

class WidgetFileDialogs : public FileDialogs {
public:
    explicit WidgetFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}

protected:
    QString ask(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
};

// Answers with the names queued in answers, one per dialog; cancels once they run out.
class ScriptedFileDialogs : public FileDialogs {
public:
    QStringList answers;
    QList<FileDialogRequest> asked;

protected:
    QString ask(const FileDialogRequest& request) override
    {
        asked.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

}  // namespace korvel
