// Where the settings file is kept: beside a portable copy, in the user's configuration folder
// for an installed one, and wherever --settings says.
#include "settings/SettingsLocation.h"
#include "support/SaveFaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct Folders {
    QTemporaryDir root;
    QString bin;
    QString config;

    Folders()
    {
        // Open to the unprivileged child; the program folder is read-only where a test says.
        QFile::setPermissions(root.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                               | QFileDevice::ExeOwner | QFileDevice::WriteOther
                                               | QFileDevice::ExeOther | QFileDevice::ReadOther);
        bin = root.filePath(QStringLiteral("opt/korvel/bin"));
        config = root.filePath(QStringLiteral("home/.config/korvel"));
        QDir().mkpath(bin);
    }
};

}  // namespace

TEST(SettingsLocation, PortableCopyKeepsItsFileBesideTheProgram)
{
    Folders f;
    EXPECT_EQ(ChooseSettingsPath({}, f.bin, f.config), f.bin + QStringLiteral("/Korvel.ini"));
    EXPECT_FALSE(QDir(f.config).exists());  // nothing is made where it is not needed
    EXPECT_EQ(QDir(f.bin).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

TEST(SettingsLocation, CommandLineFileWinsEverywhere)
{
    Folders f;
    const QString mine = f.root.filePath(QStringLiteral("mine.ini"));
    EXPECT_EQ(ChooseSettingsPath(mine, f.bin, f.config), mine);
    EXPECT_EQ(ChooseSettingsPath(mine, f.root.filePath(QStringLiteral("gone")), f.config), mine);
}

TEST(SettingsLocation, ProgramFolderThatCannotBeWrittenSendsItToTheConfigFolder)
{
    Folders f;
    // A folder that does not exist (or whose parent is a file) cannot take the file either.
    const QString missing = f.root.filePath(QStringLiteral("nowhere/bin"));
    EXPECT_EQ(ChooseSettingsPath({}, missing, f.config), f.config + QStringLiteral("/Korvel.ini"));
    EXPECT_TRUE(QDir(f.config).exists());  // made, so the first save can succeed
}

TEST(SettingsLocation, InstalledProgramForAnOrdinaryUser)
{
    Folders f;
    QFile::setPermissions(f.bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                     | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const QString expected = f.config + QStringLiteral("/Korvel.ini");
    const ChildResult r = RunInChild(
        [&] {
            if (FolderIsWritable(f.bin))
                return 3;
            const QString path = ChooseSettingsPath({}, f.bin, f.config);
            if (path != expected)
                return 1;
            QFile file(path);
            return file.open(QIODevice::WriteOnly) ? 0 : 2;
        },
        true);
    QFile::setPermissions(f.bin, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                     | QFileDevice::ExeOwner);
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(QFile::exists(expected));
    EXPECT_EQ(QDir(f.bin).entryList(QDir::Files | QDir::Hidden), QStringList{});
}
