// Where the window's file dialogs start, and that they start with no name filled in.
#include "WindowRig.h"

#include "app/FileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

// The working directory is the program's starting point; each test puts it in a folder of its own.
struct InFolder {
    QTemporaryDir home;
    QString before = QDir::currentPath();
    InFolder() { QDir::setCurrent(home.path()); }
    ~InFolder() { QDir::setCurrent(before); }
    QString path(const QString& name) const { return home.filePath(name); }
};

}  // namespace

TEST(FileDialogs, StartInDataVibUnderTheFolderOfTheLastFileChosen)
{
    InFolder cwd;
    QDir(cwd.home.path()).mkpath(QStringLiteral("DataVib"));
    QDir(cwd.home.path()).mkpath(QStringLiteral("a"));
    WindowRig w;
    auto dialogs = std::make_shared<ScriptedFileDialogs>();
    w.window->setFileDialogs(dialogs);

    dialogs->answers << cwd.path(QStringLiteral("a/one.dtw"));
    w.f().btLoadFile->click();
    w.f().btSave->click();  // cancelled: the folder stays the last one chosen
    QDir(cwd.home.path()).mkpath(QStringLiteral("a/DataVib"));
    w.f().btLoadFile->click();

    ASSERT_EQ(dialogs->asked.size(), 3);
    EXPECT_EQ(dialogs->asked[0].folder, cwd.path(QStringLiteral("DataVib")));
    EXPECT_EQ(dialogs->asked[1].folder, cwd.path(QStringLiteral("a")));
    EXPECT_EQ(dialogs->asked[2].folder, cwd.path(QStringLiteral("a/DataVib")));
}

TEST(FileDialogs, SaveDialogStartsWithAnEmptyName)
{
    InFolder cwd;  // no DataVib here
    WidgetFileDialogs dialogs;
    QString name = QStringLiteral("not seen");
    QString folder;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d)
            return;
        name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        folder = d->directory().absolutePath();
        d->reject();
    });
    poll.start(10);
    EXPECT_TRUE(dialogs.fileName(SaveDlg()).isEmpty());
    EXPECT_EQ(name, QString());
    EXPECT_EQ(folder, cwd.home.path());
}
