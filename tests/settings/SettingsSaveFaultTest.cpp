// A settings save that cannot finish leaves the earlier Korvel.ini byte for byte.
#include "settings/Settings.h"
#include "support/SaveFaults.h"
#include "text/Messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct EarlierSettings {
    QTemporaryDir dir;
    QString folder;
    QString path;
    const QByteArray before = QByteArray("; kept by hand\r\n[Options]\r\nXYmode=2\r\n");

    EarlierSettings()
    {
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner | QFileDevice::ExeOther);
        folder = dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(folder);
        path = folder + QStringLiteral("/Korvel.ini");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(before);
        f.close();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                        | QFileDevice::ReadOther);
    }
};

// 0: refused and said so; 1: saved; 2: refused without the message.
int saveAndReport(const QString& path)
{
    RecordingMessages messages;
    SettingsValues v;
    v.cbShowK = 1;
    if (SaveSettings(path, v, messages))
        return 1;
    return messages.texts() == QStringList{QStringLiteral("Unable to write to ") + path} ? 0 : 2;
}

}  // namespace

TEST(SettingsSaveFaults, ReadOnlyFolderRefusesTheSave)
{
    EarlierSettings e;
    QFile::setPermissions(e.folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                        | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const ChildResult r = RunInChild([&] { return saveAndReport(e.path); }, true);
    QFile::setPermissions(e.folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                        | QFileDevice::ExeOwner);
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(FileBytes(e.path), e.before);
}

TEST(SettingsSaveFaults, SaveKilledBeforeItsCommitLeavesTheEarlierFile)
{
    EarlierSettings e;
    const ChildResult r = RunInChild([&] {
        KillWritesBeyond(128);  // the full settings file is far larger
        saveAndReport(e.path);
        return 0;
    });
    EXPECT_EQ(r.signal, SIGXFSZ);
    EXPECT_EQ(FileBytes(e.path), e.before);
    EXPECT_EQ(saveAndReport(e.path), 1);
    EXPECT_EQ(LoadSettings(e.path).values.cbShowK, 1);
}

TEST(SettingsSaveFaults, OnlyARegularFileOfSaneSizeIsRead)
{
    EarlierSettings e;
    // A real key, then comment lines past 1 MiB.
    QByteArray big = e.before;
    while (big.size() <= 1024 * 1024)
        big += "; " + QByteArray(1000, 'x') + "\r\n";
    {
        QFile f(e.path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(big);
    }
    ASSERT_EQ(LoadSettings(e.path).values.cbShowK, 0);
    RecordingMessages messages;
    EXPECT_FALSE(SaveSettings(e.path, SettingsValues(), messages));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Файл ") + e.path
                                            + QStringLiteral(" не записан: для файла настроек он "
                                                             "слишком велик (больше 1048576 байт)")});
    EXPECT_EQ(FileBytes(e.path), big);

    // Neither a device that never ends nor a FIFO without a writer holds up the start.
    const QString zero = e.folder + QStringLiteral("/zero.ini");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    EXPECT_EQ(LoadSettings(zero).values.WindowWidth, 794);
    const QString fifo = e.folder + QStringLiteral("/fifo.ini");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(LoadSettings(fifo).values.WindowWidth, 794);
}
