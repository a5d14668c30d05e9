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
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString filter;         // Qt form: "ADC files (*.dtw);;All files (*.*)"
    QString defaultSuffix;  // added when the typed name has no extension
    QString folder;         // the folder the dialog starts in
    // Filters that bring their own extension for a name typed without one.
    QHash<QString, QString> filterSuffixes;
};

// The save dialog of the data files: data file, text export or any name, then the open
// export formats.
FileDialogRequest SaveDlg();
// The open dialog of the data files.
FileDialogRequest OpenDlg();

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString fileName(const FileDialogRequest& request) = 0;
};

class WidgetFileDialogs : public FileDialogs {
public:
    explicit WidgetFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    QString fileName(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
};

// Answers with the names queued in answers, one per dialog; cancels once they run out.
class ScriptedFileDialogs : public FileDialogs {
public:
    QString fileName(const FileDialogRequest& request) override
    {
        asked.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QList<FileDialogRequest> asked;
};

}  // namespace korvel
