#pragma once
// Stepping through the data files of a folder, the list of all their comments and the search in
// it. The folder is that of the current data file; an empty current path names no folder (the
// user cancelled the choice of another one), and then nothing is listed.

#include "text/Messages.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace korvel {

QString NoMoreFilesMessage();  // "Больше нет файлов"

// The folder of CurrentDataFile with a trailing separator, or an empty string for no folder.
QString FolderOf(const QString& CurrentDataFile);

// Regular files of folder matching mask (letter case ignored, as the system does), sorted by
// name; FIFOs, sockets and devices are left out.
QStringList ListFolder(const QString& folder, const QString& mask);

struct BrowseStep {
    enum class Action { Open, NoMoreFiles, Nothing };
    Action action = Action::Nothing;
    QString name;  // the file to open, without its folder
    QString path;  // folder + name, set by the disk variants
};

// Decisions over a listing; names are compared exactly, letter case included.
BrowseStep PreviousFileStep(const QStringList& entries, const QString& currentName);
BrowseStep NextFileStep(const QStringList& entries, const QString& currentName);
// The same over the "*.dtw" files of CurrentDataFile's folder.
BrowseStep PreviousDataFile(const QString& CurrentDataFile);
BrowseStep NextDataFile(const QString& CurrentDataFile);

// The comment list takes folder + "*" + the current file's extension.
QString CommentListMask(const QString& CurrentDataFile);
QStringList CommentListEntries(const QString& CurrentDataFile);
// Shown when even the open dialog gave no folder with matching files.
QString ChooseFolderMessage(const QString& CurrentDataFile);

struct FileComment {
    bool foreign = false;  // its first word is neither 1 nor 129
    QStringList lines;
};

// Reads the header, steps over the names and the sample block without reading it, and splits
// the comment into lines. A damaged file gives an empty comment.
FileComment ReadFileComment(QIODevice& device);

// Marker line "=v=name=v=" and the comment's lines for every file in order. A foreign file is
// reported as a plain message and left out, a special file silently; a file that cannot be
// opened ends the list with "Cannot open file %s", keeping the lines so far.
QStringList BuildCommentList(const QString& folder, const QStringList& names, Messages& messages);

struct SearchHit {
    int line = 0;
    int selStart = 0;   // counting a CR LF after every earlier line
    int selLength = 0;  // the whole line
};

// Looks for text from line SearchLine on, wrapping round; on a hit SearchLine moves past it.
// chkCaps set compares exactly, otherwise both sides in upper case (Cyrillic included).
std::optional<SearchHit> FindInCommentList(const QStringList& lines, const QString& text,
                                           bool chkCaps, int& SearchLine);

struct ClipboardText {
    QString text;   // the comment, then a line with the path and the file's date and time
    QString error;  // "Invalid argument to date encode" when the file does not exist
};

ClipboardText CommentClipboardText(const QString& comment, const QString& CurrentDataFile);

// The file whose marker line is the nearest at or above cursorLine.
std::optional<QString> FileNameForLine(const QStringList& lines, int cursorLine);

}  // namespace korvel
