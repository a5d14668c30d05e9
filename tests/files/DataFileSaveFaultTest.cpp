// A data file save that cannot finish leaves the file that was there byte for byte.
#include "files/DataFile.h"
#include "files/DataFileIo.h"
#include "settings/Settings.h"
#include "support/RecordToSave.h"
#include "support/SaveFaults.h"
#include "text/Cp1251.h"
#include "text/Messages.h"
#include "text/RegularFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

RecordToSave oneBlock()
{
    RecordToSave file{
        .record = {.SampleBuffer = QByteArray(BlockBytes, '\x5a'), .BlockCount = 1, .SamplePeriod = 1.0}};
    file.in.ScaleK = 1.0;
    file.in.AxisXName = QStringLiteral("Время, мкс");
    file.in.comment = QStringLiteral("новый");
    return file;
}

struct EarlierFile {
    QTemporaryDir dir;
    QString folder;
    QString path;
    QByteArray before;

    EarlierFile()
    {
        // A folder of its own, reachable by the unprivileged child.
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                              | QFileDevice::ExeOther);
        folder = dir.filePath(QStringLiteral("data"));
        QDir().mkpath(folder);
        path = folder + QStringLiteral("/опыт.dtw");
        const DataFileSaveResult built = oneBlock().build();
        before = built.output->bytes;
        before[100] = '\x01';  // distinguishable from what the failing save would write
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(before);
        f.close();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                        | QFileDevice::ReadOther);
    }
    QStringList entries() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }
};

}  // namespace

TEST(DataFileSaveFaults, ReadOnlyFolderRefusesTheSave)
{
    EarlierFile e;
    QFile::setPermissions(e.folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                        | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const ChildResult r = RunInChild(
        [&] {
            const DataFileSaveResult s = oneBlock().save(e.path);
            if (s.output)
                return 1;
            // The reason as the system library gives it.
            return s.error
                    == QStringLiteral("Не удалось создать файл %1: Existing file %1 is not writable").arg(e.path)
                ? 0
                : 2;
        },
        true);
    QFile::setPermissions(e.folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                        | QFileDevice::ExeOwner);
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(FileBytes(e.path), e.before);
    EXPECT_EQ(e.entries(), QStringList{QStringLiteral("опыт.dtw")});
}

TEST(DataFileSaveFaults, FullDiskRefusesTheSave)
{
    EarlierFile e;
    const ChildResult r = RunInChild([&] {
        FailWritesBeyond(4096);  // the new file is over 60000 bytes
        const DataFileSaveResult s = oneBlock().save(e.path);
        return s.output ? 1 : 0;
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(FileBytes(e.path), e.before);
    EXPECT_EQ(e.entries(), QStringList{QStringLiteral("опыт.dtw")});
}

TEST(DataFileSaveFaults, SaveKilledBeforeItsCommitLeavesTheEarlierFile)
{
    EarlierFile e;
    const ChildResult r = RunInChild([&] {
        KillWritesBeyond(4096);
        oneBlock().save(e.path);
        return 0;
    });
    EXPECT_EQ(r.signal, SIGXFSZ);
    EXPECT_EQ(FileBytes(e.path), e.before);
    // The save is then made in full once the writer may finish.
    ASSERT_TRUE(oneBlock().save(e.path).output);
    EXPECT_EQ(LoadDataFile(e.path).file->comment, QStringLiteral("новый"));
}

TEST(DataFileSaveFaults, WithoutTheWindows1251CodecNoFileIsReplaced)
{
    EarlierFile e;
    const QString text = e.folder + QStringLiteral("/опыт.txt");
    const QString ini = e.folder + QStringLiteral("/Korvel.ini");
    const QByteArray kept("[Options]\r\nXYmode=2\r\n");
    for (const QString& path : {text, ini}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kept);
    }
    ForceCp1251Available(false);
    const DataFileSaveResult data = oneBlock().save(e.path);
    TextExportInput table;
    table.last = 4;
    const TextExportSaveResult exported =
        SaveTextExport(text, {.SampleBuffer = QByteArray(10, '\x01')}, table);
    RecordingMessages messages;
    const bool settingsSaved = SaveSettings(ini, SettingsValues(), messages);
    ForceCp1251Available(std::nullopt);

    EXPECT_FALSE(data.output);
    EXPECT_EQ(data.error, Cp1251MissingMessage(e.path));
    EXPECT_FALSE(exported.output);
    EXPECT_EQ(exported.error, Cp1251MissingMessage(text));
    EXPECT_FALSE(settingsSaved);
    EXPECT_EQ(messages.texts(), QStringList{Cp1251MissingMessage(ini)});
    EXPECT_EQ(FileBytes(e.path), e.before);
    EXPECT_EQ(FileBytes(text), kept);
    EXPECT_EQ(FileBytes(ini), kept);
}

TEST(DataFileSaveFaults, ATargetThatIsNotARegularFileIsRefusedNotReplaced)
{
    EarlierFile e;
    const QString fifo = e.folder + QStringLiteral("/канал.dtw");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A socket: the settings are read before they are written, and a socket opens at once.
    const QString socketPath = e.folder + QStringLiteral("/Korvel.ini");
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(encoded.size(), qsizetype(sizeof address.sun_path));
    std::copy(encoded.begin(), encoded.end(), address.sun_path);
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const DataFileSaveResult data = oneBlock().save(fifo);
    RecordingMessages messages;
    const bool settingsSaved = SaveSettings(socketPath, SettingsValues(), messages);
    close(s);

    EXPECT_FALSE(data.output);
    EXPECT_EQ(data.error, NotRegularWriteMessage(fifo));
    struct stat st;
    ASSERT_EQ(stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(settingsSaved);
    EXPECT_EQ(messages.texts(), QStringList{NotRegularWriteMessage(socketPath)});
    ASSERT_EQ(stat(QFile::encodeName(socketPath).constData(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    // Nothing was left beside them either.
    EXPECT_EQ(QDir(e.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                       | QDir::System),
              (QStringList{QStringLiteral("Korvel.ini"), QStringLiteral("канал.dtw"),
                           QStringLiteral("опыт.dtw")}));

    // A symlink to a regular file is written through and stays a symlink.
    const QString link = e.folder + QStringLiteral("/ссылка.dtw");
    ASSERT_TRUE(QFile::link(QStringLiteral("опыт.dtw"), link));
    ASSERT_TRUE(oneBlock().save(link).output);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(FileBytes(e.path), oneBlock().build().output->bytes);
}
