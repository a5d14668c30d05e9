#pragma once
// The program reads and writes regular files only. A FIFO, socket or device that carries a
// data file's name is never opened for real: opening a FIFO waits for a writer, and a device
// such as /dev/zero never ends.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace korvel {

enum class RegularFileStatus { Ok, Missing, NotRegular, TooLarge, Unreadable };

// Opens path for reading when it is a regular file (a symlink to one counts), never blocking.
RegularFileStatus OpenRegularFile(QFile& file, const QString& path);

struct RegularFileBytes {
    RegularFileStatus status = RegularFileStatus::Unreadable;
    QByteArray bytes;
};

// The whole of a regular file of at most maxBytes; a larger one is refused before it is read.
RegularFileBytes ReadRegularFile(const QString& path, qint64 maxBytes);

// "Файл %s не открыт: это не обычный файл ..." for a special file met on reading.
QString NotRegularReadMessage(const QString& path);

enum class ReplaceOutcome { Replaced, NotRegular, Failed };

// Replaces path with bytes through a temporary file renamed over it, so a failed save leaves the
// earlier file; a symlink is written through to its target and stays a symlink. A path that
// exists and is not a regular file is refused: the rename would replace the FIFO or device.
// *reason, when given, receives the system's reason of a failure.
ReplaceOutcome ReplaceRegularFile(const QString& path, const QByteArray& bytes,
                                  QString* reason = nullptr);

// "Файл %s не записан: это не обычный файл ..." for a save refused so.
QString NotRegularWriteMessage(const QString& path);

}  // namespace korvel
