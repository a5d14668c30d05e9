#include "files/DataFile.h"
#include "files/DataFileIo.h"
#include "files/FolderBrowse.h"
#include "text/Messages.h"
#include "text/RegularFiles.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvel;

namespace {

QByteArray dataFile(const QString& comment, quint16 blocks = 1, bool accelerometer = false)
{
    const Recording record{.SampleBuffer = QByteArray(qsizetype(blocks) * BlockBytes, '\x01'),
                           .BlockCount = blocks};
    DataFileSaveInput in;
    in.AccelerometerMode = accelerometer;
    in.AxisXName = QStringLiteral("Время, мкс");
    in.comment = comment;
    return BuildDataFile(record, in).output->bytes;
}

void put(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Counts what is read, to show that the sample block is stepped over.
class CountingBuffer : public QBuffer {
public:
    using QBuffer::QBuffer;
    qint64 bytesRead = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = QBuffer::readData(data, maxSize);
        if (n > 0)
            bytesRead += n;
        return n;
    }
};

}  // namespace

TEST(FolderSteps, OneFileHasNeitherPreviousNorNext)
{
    QTemporaryDir dir;
    put(dir, "only.dtw", dataFile(""));
    const QString current = dir.filePath("only.dtw");
    EXPECT_EQ(PreviousDataFile(current).action, BrowseStep::Action::NoMoreFiles);
    EXPECT_EQ(NextDataFile(current).action, BrowseStep::Action::NoMoreFiles);
    EXPECT_EQ(NoMoreFilesMessage(), QStringLiteral("Больше нет файлов"));
}

TEST(FolderSteps, WalkInNameOrderAndStopAtBothEnds)
{
    QTemporaryDir dir;
    for (const char* name : {"c.dtw", "a.dtw", "b.dtw", "notes.txt"})
        put(dir, name, dataFile(""));
    BrowseStep s = NextDataFile(dir.filePath("a.dtw"));
    EXPECT_EQ(s.action, BrowseStep::Action::Open);
    EXPECT_EQ(s.path, dir.filePath("b.dtw"));
    s = PreviousDataFile(dir.filePath("c.dtw"));
    EXPECT_EQ(s.action, BrowseStep::Action::Open);
    EXPECT_EQ(s.name, "b.dtw");
    EXPECT_EQ(NextDataFile(dir.filePath("c.dtw")).action, BrowseStep::Action::NoMoreFiles);
    EXPECT_EQ(PreviousDataFile(dir.filePath("a.dtw")).action, BrowseStep::Action::NoMoreFiles);
}

TEST(FolderSteps, CurrentNameMissingOrNoFolder)
{
    const QStringList entries{"a.dtw", "b.dtw"};
    EXPECT_EQ(PreviousFileStep(entries, "gone.dtw").action, BrowseStep::Action::Nothing);
    EXPECT_EQ(PreviousFileStep({}, "gone.dtw").action, BrowseStep::Action::Nothing);
    EXPECT_EQ(NextFileStep(entries, "gone.dtw").action, BrowseStep::Action::NoMoreFiles);
    EXPECT_EQ(PreviousFileStep(entries, "A.dtw").action, BrowseStep::Action::Nothing);

    // No folder chosen: nothing is listed (not the current directory) and both directions stop.
    EXPECT_TRUE(FolderOf("").isEmpty());
    EXPECT_TRUE(CommentListEntries("").isEmpty());
    EXPECT_EQ(PreviousDataFile("").action, BrowseStep::Action::NoMoreFiles);
    EXPECT_EQ(NextDataFile("").action, BrowseStep::Action::NoMoreFiles);
    EXPECT_EQ(ChooseFolderMessage(""), QStringLiteral("Выберите путь, содержащий файлы "));
    EXPECT_EQ(ChooseFolderMessage("/d/x.dtw"), QStringLiteral("Выберите путь, содержащий файлы .dtw"));
}

TEST(FolderSteps, FifosAndDevicesAreSkippedWithoutBeingOpened)
{
    QTemporaryDir dir;
    put(dir, "a.dtw", dataFile("альфа"));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("b.dtw")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/null", dir.filePath("c.dtw")));
    ASSERT_TRUE(QFile::link("a.dtw", dir.filePath("d.dtw")));  // a symlink to a data file

    const QString folder = FolderOf(dir.filePath("a.dtw"));
    ASSERT_EQ(ListFolder(folder, "*.dtw"), (QStringList{"a.dtw", "d.dtw"}));
    EXPECT_EQ(NextDataFile(dir.filePath("a.dtw")).name, QStringLiteral("d.dtw"));
    EXPECT_EQ(PreviousDataFile(dir.filePath("d.dtw")).name, QStringLiteral("a.dtw"));

    // Names listed a moment before the FIFO and the device appeared are not opened either.
    RecordingMessages messages;
    EXPECT_EQ(BuildCommentList(folder, {"a.dtw", "b.dtw", "c.dtw", "d.dtw"}, messages),
              (QStringList{"=v=a.dtw=v=", "альфа", "=v=d.dtw=v=", "альфа"}));
    EXPECT_TRUE(messages.said.isEmpty());
    const DataFileLoadResult fifo = LoadDataFile(dir.filePath("b.dtw"));
    ASSERT_TRUE(fifo.error);
    EXPECT_EQ(fifo.error->message, NotRegularReadMessage(dir.filePath("b.dtw")));
}

TEST(CommentList, MarkersCommentsForeignAndDamagedFiles)
{
    QTemporaryDir dir;
    put(dir, "1.dtw", dataFile(""));
    put(dir, "2.dtw", dataFile(QStringLiteral("Опыт 2\r\nнагрев\r\n")));
    QByteArray foreign = dataFile("x");
    foreign[0] = 7;
    put(dir, "3.dtw", foreign);
    put(dir, "4.dtw", dataFile(QStringLiteral("ось X\nось Y"), 1, true));
    put(dir, "5.dtw", dataFile("lost").left(5000));  // cut inside the sample block
    put(dir, "6.dtw", dataFile(""));

    RecordingMessages messages;
    const QStringList lines = BuildCommentList(FolderOf(dir.filePath("1.dtw")),
                                               CommentListEntries(dir.filePath("1.dtw")), messages);
    EXPECT_EQ(lines, (QStringList{"=v=1.dtw=v=", "=v=2.dtw=v=", QStringLiteral("Опыт 2"),
                                  QStringLiteral("нагрев"), "=v=4.dtw=v=", QStringLiteral("ось X"),
                                  QStringLiteral("ось Y"), "=v=5.dtw=v=", "=v=6.dtw=v="}));
    ASSERT_EQ(messages.said.size(), 1);
    EXPECT_EQ(messages.said[0].kind, Messages::Kind::Plain);
    EXPECT_EQ(messages.said[0].text,
              QString::fromUtf8("Приложение н") + 'e'
                  + QStringLiteral(" сможет открыть Файл 3.dtw, так как он создан другим приложением"));
}

TEST(CommentList, FileThatCannotBeOpenedEndsTheListKeepingEarlierLines)
{
    QTemporaryDir dir;
    put(dir, "a.dtw", dataFile("first"));
    put(dir, "c.dtw", dataFile("never"));
    const QString folder = FolderOf(dir.filePath("a.dtw"));
    RecordingMessages messages;
    const QStringList lines = BuildCommentList(folder, {"a.dtw", "b.dtw", "c.dtw"}, messages);
    EXPECT_EQ(lines, (QStringList{"=v=a.dtw=v=", "first"}));
    ASSERT_EQ(messages.said.size(), 1);
    EXPECT_EQ(messages.said[0].kind, Messages::Kind::Error);
    EXPECT_EQ(messages.said[0].text, "Cannot open file " + folder + "b.dtw");
}

TEST(CommentList, SampleBlockIsSteppedOverNotRead)
{
    QByteArray bytes = dataFile(QStringLiteral("конец"), 8);
    CountingBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    const FileComment c = ReadFileComment(buffer);
    EXPECT_EQ(c.lines, QStringList{QStringLiteral("конец")});
    EXPECT_LT(buffer.bytesRead, 1000);
}

TEST(CommentSearch, WordInOneLineIsSelectedAgainAfterWrapping)
{
    const QStringList lines{"=v=a.dtw=v=", "alpha beta", "=v=b.dtw=v=", "gamma"};
    int SearchLine = 0;
    std::optional<SearchHit> hit = FindInCommentList(lines, "beta", false, SearchLine);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->line, 1);
    EXPECT_EQ(hit->selStart, 13);
    EXPECT_EQ(hit->selLength, 10);
    EXPECT_EQ(SearchLine, 2);
    hit = FindInCommentList(lines, "beta", false, SearchLine);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->line, 1);

    hit = FindInCommentList(lines, "gamma", false, SearchLine);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->selStart, 13 + 12 + 13);
    EXPECT_EQ(SearchLine, 0);  // past the last line it starts again from the top

    EXPECT_FALSE(FindInCommentList(lines, "delta", false, SearchLine));
    EXPECT_FALSE(FindInCommentList(lines, "", false, SearchLine));
    SearchLine = 40;  // left from a longer list
    EXPECT_TRUE(FindInCommentList(lines, "alpha", false, SearchLine));
}

TEST(CommentSearch, LowerCaseCyrillicFindsUpperCaseUnlessCaseMatters)
{
    const QStringList lines{"=v=a.dtw=v=", QStringLiteral("ДАТЧИК ДАВЛЕНИЯ")};
    int SearchLine = 0;
    const std::optional<SearchHit> hit =
        FindInCommentList(lines, QStringLiteral("давления"), false, SearchLine);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->line, 1);
    SearchLine = 0;
    EXPECT_FALSE(FindInCommentList(lines, QStringLiteral("давления"), true, SearchLine));
}

TEST(CommentCopy, PathAndDateFollowTheCommentOnlyForAnExistingFile)
{
    QTemporaryDir dir;
    put(dir, "c.dtw", dataFile(""));
    const QString path = dir.filePath("c.dtw");
    const ClipboardText ok = CommentClipboardText(QStringLiteral("строка 1\r\nстрока 2"), path);
    EXPECT_TRUE(ok.error.isEmpty());
    const QStringList lines = ok.text.split("\r\n");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].startsWith(path + "  ")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains(QFileInfo(path).lastModified().toString("HH:mm:ss")));

    const ClipboardText bad = CommentClipboardText("x", dir.filePath("none.dtw"));
    EXPECT_EQ(bad.error, QStringLiteral("Invalid argument to date encode"));
    EXPECT_TRUE(bad.text.isEmpty());
}

TEST(CommentListOpen, NearestMarkerAtOrAboveTheCursor)
{
    const QStringList lines{"free text", "=v=one.dtw=v=", "c1", "c2", "=v=two.dtw=v="};
    EXPECT_FALSE(FileNameForLine(lines, 0));
    EXPECT_EQ(FileNameForLine(lines, 1), "one.dtw");
    EXPECT_EQ(FileNameForLine(lines, 3), "one.dtw");
    EXPECT_EQ(FileNameForLine(lines, 4), "two.dtw");
    EXPECT_EQ(FileNameForLine(lines, 99), "two.dtw");
}
