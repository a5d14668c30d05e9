#include "text/RegularFiles.h"

#include "text/NumberFormat.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvel {

RegularFileStatus OpenRegularFile(QFile& file, const QString& path)
{
#ifdef Q_OS_UNIX
    // Non-blocking, so a FIFO is opened without a writer and then refused; the type is taken
    // from what was opened, not from a name that may change in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? RegularFileStatus::Missing : RegularFileStatus::Unreadable;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return RegularFileStatus::NotRegular;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return RegularFileStatus::Unreadable;
    }
    return RegularFileStatus::Ok;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return RegularFileStatus::Missing;
    if (!info.isFile())
        return RegularFileStatus::NotRegular;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly) ? RegularFileStatus::Ok : RegularFileStatus::Unreadable;
#endif
}

RegularFileBytes ReadRegularFile(const QString& path, qint64 maxBytes)
{
    QFile file;
    RegularFileBytes r;
    r.status = OpenRegularFile(file, path);
    if (r.status != RegularFileStatus::Ok)
        return r;
    if (file.size() > maxBytes) {
        r.status = RegularFileStatus::TooLarge;
        return r;
    }
    // One byte more than allowed shows a file that grew after its size was taken.
    r.bytes = file.read(std::min(file.size(), maxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        r.status = RegularFileStatus::Unreadable;
    else if (r.bytes.size() > maxBytes)
        r.status = RegularFileStatus::TooLarge;
    if (r.status != RegularFileStatus::Ok)
        r.bytes.clear();
    return r;
}

QString NotRegularReadMessage(const QString& path)
{
    return Format(u"Файл %s не открыт: это не обычный файл, а папка, устройство, канал или "
                  u"сокет",
                  {path});
}

ReplaceOutcome ReplaceRegularFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    // QFileInfo follows symlinks: a link to a regular file passes, a dangling one names a file
    // still to be made.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return ReplaceOutcome::NotRegular;
    QSaveFile file(path);
    // Unbuffered, so that a short write (disk full) shows in write()'s count: a buffered
    // QSaveFile can commit a truncated file in its place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || file.write(bytes) != bytes.size() || !file.commit()) {
        if (reason)
            *reason = file.errorString();
        return ReplaceOutcome::Failed;
    }
    return ReplaceOutcome::Replaced;
}

QString NotRegularWriteMessage(const QString& path)
{
    return Format(u"Файл %s не записан: это не обычный файл, а папка, устройство, канал или "
                  u"сокет",
                  {path});
}

}  // namespace korvel
