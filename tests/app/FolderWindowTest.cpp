// Browsing the data files of a folder from the window: previous and next, the comment list
// with opening and search, another folder, and the copy of the comment.
#include "WindowRig.h"

#include "app/FileDialogs.h"
#include "support/RecordToSave.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct FolderWindow : WindowRig {
    QTemporaryDir folder;

    FolderWindow() : WindowRig(WithScriptedDialogs()) {}

    QString path(const QString& name) const { return folder.filePath(name); }
    // A data file with an empty sample block and the given comment.
    void makeFile(const QString& name, const QString& comment)
    {
        RecordToSave file;
        file.record.SamplePeriod = 1.0;
        file.in.comment = comment;
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.build().output->bytes);
    }
    void load(const QString& name)
    {
        dialogs->answers << path(name);
        f().btLoadFile->click();
    }
    QString current() const { return window->dataHeader().CurrentDataFile; }
    QPlainTextEdit* list() { return f().MAllCmnt; }
    void putCursorOnLine(int line)
    {
        QTextCursor c(list()->document()->findBlockByNumber(line));
        list()->setTextCursor(c);
    }
    QStringList said()
    {
        QStringList out = messages.texts();
        messages.said.clear();
        return out;
    }
};

const QString NoMore = QStringLiteral("Больше нет файлов");

// The program's working directory for one test.
struct WorkingFolder : QTemporaryDir {
    QString before = QDir::currentPath();
    WorkingFolder() { QDir::setCurrent(path()); }
    ~WorkingFolder() { QDir::setCurrent(before); }
};

}  // namespace

TEST(FolderWindow, PreviousAndNextStopAtTheEndsOfTheFolder)
{
    FolderWindow w;
    for (const char* n : {"a", "b", "c"})
        w.makeFile(QString::fromLatin1(n) + ".dtw", QString::fromLatin1(n));
    w.load(QStringLiteral("b.dtw"));

    w.f().btNextFile->click();
    EXPECT_EQ(w.current(), w.path(QStringLiteral("c.dtw")));
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ c.dtw"));
    EXPECT_EQ(w.f().mComment->toPlainText(), QStringLiteral("c"));
    EXPECT_TRUE(w.said().isEmpty());
    w.f().btNextFile->click();
    EXPECT_EQ(w.said(), QStringList{NoMore});
    EXPECT_EQ(w.current(), w.path(QStringLiteral("c.dtw")));

    w.f().btPrevFile->click();
    w.f().btPrevFile->click();
    EXPECT_EQ(w.current(), w.path(QStringLiteral("a.dtw")));
    EXPECT_EQ(w.f().mComment->toPlainText(), QStringLiteral("a"));
    EXPECT_TRUE(w.said().isEmpty());
    w.f().btPrevFile->click();
    EXPECT_EQ(w.said(), QStringList{NoMore});
    EXPECT_EQ(w.current(), w.path(QStringLiteral("a.dtw")));
    // No dialog was shown for any step.
    EXPECT_EQ(w.dialogs->asked.size(), 1);
}

TEST(FolderWindow, ARefusedFileChangesNothingAndIsSteppedPast)
{
    FolderWindow w;
    for (const char* n : {"a", "b", "c"})
        w.makeFile(QString::fromLatin1(n) + ".dtw", QString::fromLatin1(n));
    ASSERT_TRUE(QFile::resize(w.path(QStringLiteral("b.dtw")), 20));  // cut inside the names
    w.load(QStringLiteral("a.dtw"));
    const QStringList damaged{QStringLiteral("Файл b.dtw повреждён или неполон")};

    w.f().btNextFile->click();
    EXPECT_EQ(w.said(), damaged);
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ a.dtw"));
    EXPECT_EQ(w.current(), w.path(QStringLiteral("a.dtw")));
    EXPECT_EQ(w.f().mComment->toPlainText(), QStringLiteral("a"));
    w.f().btNextFile->click();
    EXPECT_TRUE(w.said().isEmpty());
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ c.dtw"));
    EXPECT_EQ(w.current(), w.path(QStringLiteral("c.dtw")));

    w.f().btPrevFile->click();
    EXPECT_EQ(w.said(), damaged);
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ c.dtw"));
    w.f().btPrevFile->click();
    EXPECT_EQ(w.f().mComment->toPlainText(), QStringLiteral("a"));
    EXPECT_EQ(w.current(), w.path(QStringLiteral("a.dtw")));
}

TEST(FolderWindow, CommentListOpensTheFileOfTheNearestMarkerAbove)
{
    FolderWindow w;
    w.makeFile(QStringLiteral("a.dtw"), QStringLiteral("альфа\r\nбета"));
    w.makeFile(QStringLiteral("b.dtw"), QString());
    w.makeFile(QStringLiteral("c.dtw"), QStringLiteral("ГАММА лучи"));
    w.load(QStringLiteral("a.dtw"));
    w.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));

    w.f().btShowCmnt->click();
    EXPECT_FALSE(w.f().gbAllCmnt->isHidden());
    EXPECT_EQ(w.list()->toPlainText(),
              QStringLiteral("=v=a.dtw=v=\nальфа\nбета\n=v=b.dtw=v=\n=v=c.dtw=v=\nГАММА лучи"));

    // A double click on the comment line of c.
    w.putCursorOnLine(5);
    QTest::mouseDClick(w.list()->viewport(), Qt::LeftButton, {}, w.list()->cursorRect().center());
    EXPECT_EQ(w.current(), w.path(QStringLiteral("c.dtw")));
    EXPECT_TRUE(w.f().gbAllCmnt->isHidden());
    EXPECT_EQ(w.f().mComment->toPlainText(), QStringLiteral("ГАММА лучи"));

    // Enter on the marker of b, whose comment is empty.
    w.f().btShowCmnt->click();
    w.putCursorOnLine(3);
    QTest::keyClick(w.list(), Qt::Key_Return);
    EXPECT_EQ(w.current(), w.path(QStringLiteral("b.dtw")));
    EXPECT_TRUE(w.f().mComment->toPlainText().isEmpty());

    // The button, on the second line of a's comment.
    w.f().btShowCmnt->click();
    w.putCursorOnLine(2);
    w.f().btOpenFind->click();
    EXPECT_EQ(w.current(), w.path(QStringLiteral("a.dtw")));
    EXPECT_TRUE(w.said().isEmpty());

    w.f().btShowCmnt->click();
    w.f().btCancel->click();
    EXPECT_TRUE(w.f().gbAllCmnt->isHidden());
}

TEST(FolderWindow, ACommentWithAWordLongerThanALineIsWrappedAnywhereFromItsFirstLayout)
{
    // Word wrap looks over the rest of such a word for every line: minutes for 1 MiB.
    FolderWindow w;
    const QString word(300000, QChar(u'ж'));
    w.makeFile(QStringLiteral("a.dtw"),
               QStringLiteral("начало ") + word + QStringLiteral(" конец"));
    w.makeFile(QStringLiteral("b.dtw"), QStringLiteral("давление на входе"));
    w.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
    // Whenever the comment box takes new text or lays its text out again, it must not wrap at
    // words while it holds the long word. Taking a text, it empties itself, lays the new text
    // out and then reports it: the text was laid out in the mode the box had when emptied.
    QPlainTextEdit* box = w.f().mComment;
    QTextOption::WrapMode modeWhenEmptied = box->wordWrapMode();
    int wrappedAtWords = 0;
    const auto check = [&] {
        if (box->document()->isEmpty())
            modeWhenEmptied = box->wordWrapMode();
        else if (box->document()->characterCount() > word.size()
                 && (modeWhenEmptied != QTextOption::WrapAnywhere
                     || box->wordWrapMode() != QTextOption::WrapAnywhere))
            ++wrappedAtWords;
    };
    QObject::connect(box->document(), &QTextDocument::contentsChange, box, check);
    QObject::connect(box->document()->documentLayout(), &QAbstractTextDocumentLayout::update, box,
                     check);

    w.load(QStringLiteral("a.dtw"));
    EXPECT_EQ(box->toPlainText().size(), word.size() + 13);
    w.f().btShowCmnt->click();
    EXPECT_EQ(w.list()->document()->findBlockByNumber(1).text().size(), word.size() + 13);
    EXPECT_EQ(w.list()->wordWrapMode(), QTextOption::WrapAnywhere);

    // Ordinary words wrap at their ends again, in a loaded comment and in a typed one.
    w.f().btCancel->click();
    w.load(QStringLiteral("b.dtw"));
    EXPECT_EQ(wrappedAtWords, 0);
    EXPECT_EQ(w.f().mComment->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    w.f().mComment->insertPlainText(QString(2000, QChar(u'x')));
    EXPECT_EQ(w.f().mComment->wordWrapMode(), QTextOption::WrapAnywhere);
    w.f().mComment->undo();
    EXPECT_EQ(w.f().mComment->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

TEST(FolderWindow, SearchSelectsTheWholeLineAndWrapsToItAgain)
{
    FolderWindow w;
    w.makeFile(QStringLiteral("a.dtw"), QStringLiteral("первая\r\nвторая"));
    w.makeFile(QStringLiteral("b.dtw"), QStringLiteral("ГАММА лучи"));
    w.load(QStringLiteral("a.dtw"));
    w.f().btShowCmnt->click();
    const QTextBlock gamma = w.list()->document()->findBlockByNumber(4);
    ASSERT_EQ(gamma.text(), QStringLiteral("ГАММА лучи"));

    // Lower-case Cyrillic finds the upper-case line; the second search comes round to it.
    w.f().eFind->setText(QStringLiteral("гамма"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        w.list()->moveCursor(QTextCursor::Start);
        w.f().btFind->click();
        const QTextCursor c = w.list()->textCursor();
        EXPECT_EQ(c.selectionStart(), gamma.position());
        EXPECT_EQ(c.selectedText(), QStringLiteral("ГАММА лучи"));
    }

    // With letter case kept, nothing matches and the cursor stays.
    w.f().chkCaps->setChecked(true);
    w.list()->moveCursor(QTextCursor::Start);
    w.f().btFind->click();
    EXPECT_FALSE(w.list()->textCursor().hasSelection());

    // A search from the top for a word of the first file goes to the line after its marker.
    w.f().eFind->setText(QStringLiteral("втор"));
    w.f().btFind->click();
    EXPECT_EQ(w.list()->textCursor().selectedText(), QStringLiteral("вторая"));
}

TEST(FolderWindow, AnotherFolderOrNoneAtAll)
{
    FolderWindow w;
    w.makeFile(QStringLiteral("a.dtw"), QStringLiteral("здесь"));
    QTemporaryDir other;
    {
        RecordToSave file;
        file.in.comment = QStringLiteral("там");
        QFile f(other.filePath(QStringLiteral("d.dtw")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.build().output->bytes);
    }
    w.load(QStringLiteral("a.dtw"));

    // The open dialog picks a file elsewhere: that folder is listed.
    w.dialogs->answers << other.filePath(QStringLiteral("d.dtw"));
    w.f().btPath->click();
    EXPECT_EQ(w.dialogs->asked.last().kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(w.list()->toPlainText(), QStringLiteral("=v=d.dtw=v=\nтам"));

    // Cancelled: no folder at all, whatever the folder the program runs in holds.
    w.f().btPath->click();
    EXPECT_EQ(w.said(), QStringList{QStringLiteral("Выберите путь, содержащий файлы ")});
    EXPECT_TRUE(w.list()->toPlainText().isEmpty());
    w.f().btNextFile->click();
    w.f().btPrevFile->click();
    EXPECT_EQ(w.said(), (QStringList{NoMore, NoMore}));
}

TEST(FolderWindow, BeforeAnyFileTheCommentListAsksForAFolder)
{
    // The day starts with a search: the working directory holds DataVib with the records.
    const WorkingFolder home;
    FolderWindow w;
    QDir(home.path()).mkpath(QStringLiteral("DataVib"));
    const QString records = home.filePath(QStringLiteral("DataVib"));
    for (const char* n : {"a", "b"}) {
        RecordToSave file;
        file.record.SamplePeriod = 1.0;
        file.in.comment = QStringLiteral("запись ") + QString::fromLatin1(n);
        QFile f(records + QLatin1Char('/') + QString::fromLatin1(n) + QStringLiteral(".dtw"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.build().output->bytes);
    }

    ASSERT_TRUE(w.f().btShowCmnt->isEnabled());
    // Cancelled: nothing listed, nothing said, the chart is not covered.
    w.f().btShowCmnt->click();
    ASSERT_EQ(w.dialogs->asked.size(), 1);
    EXPECT_EQ(w.dialogs->asked[0].kind, FileDialogRequest::Kind::Folder);
    EXPECT_EQ(w.dialogs->asked[0].folder, records);
    EXPECT_TRUE(w.f().gbAllCmnt->isHidden());
    EXPECT_TRUE(w.said().isEmpty());

    w.dialogs->answers << records;
    w.f().btShowCmnt->click();
    EXPECT_FALSE(w.f().gbAllCmnt->isHidden());
    EXPECT_EQ(w.list()->toPlainText(),
              QStringLiteral("=v=a.dtw=v=\nзапись a\n=v=b.dtw=v=\nзапись b"));
    // A file of the list opens from that folder, and from then on the list is its folder's.
    w.putCursorOnLine(3);
    w.f().btOpenFind->click();
    EXPECT_EQ(w.current(), records + QStringLiteral("/b.dtw"));
    EXPECT_EQ(w.f().mComment->toPlainText(), QStringLiteral("запись b"));
    w.f().btShowCmnt->click();
    EXPECT_EQ(w.dialogs->asked.size(), 2);
    EXPECT_EQ(w.list()->toPlainText(),
              QStringLiteral("=v=a.dtw=v=\nзапись a\n=v=b.dtw=v=\nзапись b"));

    // A folder without data files says which files it looks for.
    FolderWindow fresh;
    fresh.dialogs->answers << fresh.folder.path();
    fresh.f().btShowCmnt->click();
    EXPECT_EQ(fresh.said(), QStringList{QStringLiteral("Выберите путь, содержащий файлы .dtw")});
}

TEST(FolderWindow, CopyNeedsAnExistingFile)
{
    FolderWindow w;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("прежнее"));
    w.f().mComment->setPlainText(QStringLiteral("без файла"));
    w.f().btCopy->click();
    ASSERT_EQ(w.messages.said.size(), 1);
    EXPECT_EQ(w.messages.said[0].kind, Messages::Kind::Error);
    EXPECT_EQ(w.messages.said[0].text, QStringLiteral("Invalid argument to date encode"));
    EXPECT_EQ(clipboard->text(), QStringLiteral("прежнее"));

    w.messages.said.clear();
    w.makeFile(QStringLiteral("a.dtw"), QStringLiteral("строка 1\r\nстрока 2"));
    w.load(QStringLiteral("a.dtw"));
    w.f().btCopy->click();
    EXPECT_TRUE(w.messages.said.isEmpty());
    const QStringList lines = clipboard->text().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("строка 1"));
    EXPECT_EQ(lines[1], QStringLiteral("строка 2"));
    EXPECT_TRUE(lines[2].startsWith(w.path(QStringLiteral("a.dtw")) + QStringLiteral("  ")));
}
