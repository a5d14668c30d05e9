// Saving and loading through the window's buttons, with the file names answered by the test:
// what reaches the disk, what the window takes back, and that a refused or failed file changes
// nothing.
#include "WindowRig.h"

#include "app/FileDialogs.h"
#include "chartview/ChartGeometry.h"
#include "files/DataFile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using Origin = MainWindow::ChartOrigin;

namespace {

// A window with scripted file dialogs and a folder for its files.
struct FilesWindow : WindowRig {
    QTemporaryDir files;

    FilesWindow() : WindowRig(WithScriptedDialogs()) {}

    QString path(const QString& name) const { return files.filePath(name); }
    void save(const QString& name)
    {
        dialogs->answers << path(name);
        f().btSave->click();
    }
    void load(const QString& name)
    {
        dialogs->answers << path(name);
        f().btLoadFile->click();
    }
    // One block of sample words with the digital lines set here and there.
    void measureOneBlock()
    {
        QByteArray buffer;
        for (int i = 0; i < 30000; ++i) {
            const quint16 w = quint16((i * 7) % 4096 | (i % 3 == 0 ? 0x2000 : 0));
            buffer.append(char(w & 0xff)).append(char(w >> 8));
        }
        setData(buffer, double(14.0L / 14.7456L), 1);
        window->ShowChart(Origin::timRx);
    }
};

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(FilesWindow, SavedMeasurementComesBackWhole)
{
    FilesWindow w;
    w.measureOneBlock();
    choose(w.f().cbRgm, 0);  // "0...-2В": the file carries ScaleK -1
    w.f().mComment->setPlainText(QStringLiteral("Насос №2\nвторая строка"));
    const QByteArray measured = w.acq().SampleBuffer();

    w.save(QStringLiteral("run.dtw"));
    ASSERT_TRUE(w.messages.said.isEmpty()) << w.messages.texts().join('|').toStdString();
    ASSERT_EQ(w.dialogs->asked.size(), 1);
    EXPECT_EQ(w.dialogs->asked[0].kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(w.dialogs->asked[0].defaultSuffix, QStringLiteral("dtw"));
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ run.dtw"));
    EXPECT_EQ(w.window->statusPanel(2)->text(), QStringLiteral("K=-1,000000, Смещение=0"));
    EXPECT_EQ(w.window->dataHeader().AxisYName, QStringLiteral("Напряжение, мВ"));
    EXPECT_EQ(contents(w.path(QStringLiteral("run.dtw"))).left(17),
              QByteArray::fromHex("0100100101" "60ea0000" "1cc7711cc761ee3f"));

    // Whatever the window holds now is replaced by the file.
    w.acq().loadRecording(Recording());
    w.f().emExtScale->setText(QStringLiteral("7"));
    choose(w.f().cbExtScale, 1);  // the window's coefficient is 7 now
    w.f().mComment->clear();
    choose(w.f().cbRgm, 3);

    w.load(QStringLiteral("run.dtw"));
    ASSERT_TRUE(w.messages.said.isEmpty()) << w.messages.texts().join('|').toStdString();
    EXPECT_EQ(w.dialogs->asked.last().kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(w.acq().SampleBuffer(), measured);
    EXPECT_EQ(w.acq().BlockCount(), 1);
    EXPECT_EQ(w.acq().SamplePeriod(), double(14.0L / 14.7456L));
    EXPECT_EQ(w.acq().ModeCommand(), QByteArray::fromHex("120000"));
    EXPECT_EQ(w.f().mComment->toPlainText(), QStringLiteral("Насос №2\nвторая строка"));
    EXPECT_EQ(w.window->scaleState().ScaleK, -1.0);
    EXPECT_EQ(w.window->scaleState().ScaleShift, 0);
    EXPECT_TRUE(w.window->scaleState().CoefficientsFromFile);
    EXPECT_EQ(w.window->dataHeader().CurrentDataFile, w.path(QStringLiteral("run.dtw")));
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ run.dtw"));
    for (QWidget* b : {static_cast<QWidget*>(w.f().btPrevFile), static_cast<QWidget*>(w.f().btNextFile),
                       static_cast<QWidget*>(w.f().btShowCmnt)})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    // The chart is drawn with the file's coefficient, under the lock notice.
    EXPECT_FALSE(w.f().pLdFile->isHidden());
    EXPECT_FALSE(w.chart().rightAxis()->visible());
    ASSERT_EQ(w.points(w.chart().Series1()), 30000);
    EXPECT_DOUBLE_EQ(w.y(w.chart().Series1(), 1), -7.0);
}

TEST(FilesWindow, RefusedFilesChangeNothing)
{
    FilesWindow w;
    w.measureOneBlock();
    w.f().mComment->setPlainText(QStringLiteral("текущий"));
    w.save(QStringLiteral("good.dtw"));
    const QByteArray good = contents(w.path(QStringLiteral("good.dtw")));
    w.f().gbFile->setTitle(QStringLiteral("Комментарий"));

    QByteArray foreign = good;
    foreign[0] = 2;
    write(w.path(QStringLiteral("foreign.dtw")), foreign);
    write(w.path(QStringLiteral("short.dtw")), good.left(good.size() - 30000));

    const QByteArray buffer = w.acq().SampleBuffer();
    const double scaleK = w.window->scaleState().ScaleK;
    struct Case {
        const char* file;
        Messages::Kind kind;
        QString text;
    };
    const Case cases[] = {
        {"foreign.dtw", Messages::Kind::Information, ForeignFileMessage()},
        {"short.dtw", Messages::Kind::Error,
         QStringLiteral("Файл short.dtw повреждён или неполон")},
        {"missing.dtw", Messages::Kind::Error,
         QStringLiteral("Cannot open file ") + w.path(QStringLiteral("missing.dtw"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        w.messages.said.clear();
        w.load(QString::fromLatin1(c.file));
        ASSERT_EQ(w.messages.said.size(), 1);
        EXPECT_EQ(w.messages.said[0].kind, c.kind);
        EXPECT_EQ(w.messages.said[0].text, c.text);
        EXPECT_EQ(w.acq().SampleBuffer(), buffer);
        EXPECT_EQ(w.acq().ModeCommand(), QByteArray("\x01\x00\x00", 3));
        EXPECT_EQ(w.window->scaleState().ScaleK, scaleK);
        EXPECT_FALSE(w.window->scaleState().CoefficientsFromFile);
        EXPECT_TRUE(w.window->dataHeader().CurrentDataFile.isEmpty());
        EXPECT_EQ(w.f().mComment->toPlainText(), QStringLiteral("текущий"));
        EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("Комментарий"));
        EXPECT_FALSE(w.f().btNextFile->isEnabled());
        EXPECT_TRUE(w.f().pLdFile->isHidden());
    }
}

TEST(FilesWindow, OnlyALowerCaseTxtNameWritesTheTextExport)
{
    FilesWindow w;
    w.measureOneBlock();
    w.save(QStringLiteral("upper.TXT"));
    EXPECT_TRUE(contents(w.path(QStringLiteral("upper.TXT"))).startsWith(QByteArray::fromHex("0100100101")));

    // The visible part of the zoomed chart, numbered as on the chart, in ADC units.
    setAxisLimits(w.chart().bottomAxis(), 99.6, 199.4);
    choose(w.f().cbTxtSaveX, 3);
    choose(w.f().cbTxtSaveY, 1);
    const int first = firstVisibleIndex(w.chart().Series1());
    const int last = lastVisibleIndex(w.chart().Series1());
    ASSERT_LT(first, last);
    w.save(QStringLiteral("part.txt"));
    ASSERT_TRUE(w.messages.said.isEmpty()) << w.messages.texts().join('|').toStdString();

    const QList<QByteArray> lines = contents(w.path(QStringLiteral("part.txt"))).split('\r');
    ASSERT_EQ(lines.size(), 5 + (last - first + 1) + 1);  // the last CR ends an empty piece
    EXPECT_EQ(lines[0], QByteArray("1\t;scale for Y"));
    EXPECT_EQ(lines[4], QByteArray("X:\tY:"));
    EXPECT_EQ(lines[5], QByteArray::number(first) + '\t' + QByteArray::number(first * 7 % 4096));
    EXPECT_EQ(lines[5 + last - first],
              QByteArray::number(last) + '\t' + QByteArray::number(last * 7 % 4096));
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ part.txt"));
}

TEST(FilesWindow, SavingBeforeAnyMeasurementKeepsTheOldFile)
{
    FilesWindow w;
    ASSERT_TRUE(w.acq().SampleBuffer().isEmpty());
    const QString old = w.path(QStringLiteral("old.dtw"));
    write(old, QByteArray("the measurement of yesterday"));
    w.f().gbFile->setTitle(QStringLiteral("Комментарий"));

    w.save(QStringLiteral("old.dtw"));
    ASSERT_EQ(w.messages.said.size(), 1);
    EXPECT_EQ(w.messages.said[0].kind, Messages::Kind::Error);
    EXPECT_EQ(w.messages.said[0].text, QStringLiteral("Stream read error"));
    EXPECT_EQ(contents(old), QByteArray("the measurement of yesterday"));
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("Комментарий"));

    // A cancelled dialog ends the save without a word.
    w.messages.said.clear();
    w.f().btSave->click();
    EXPECT_TRUE(w.messages.said.isEmpty());
}

TEST(FilesWindow, RealTimeRecordingWithTemperatureLoadsAsKind129)
{
    FilesWindow w;
    Recording r{.ModeCommand = QByteArray(1, '\x15'), .SamplePeriod = 1000000.0, .RealTimeCount = 1000};
    for (int i = 0; i < 1000; ++i) {
        r.RealTimeSignal.push_back(quint16(2048 + i));
        r.RealTimeTemperature.push_back(qint16(80 + i % 8));
    }
    w.acq().loadRecording(r);
    // The temperature trace holds points: that is what makes the recording kind 129.
    w.chart().SeriTermo()->addData(0.0, 20.0);
    w.save(QStringLiteral("rt.dtw"));
    ASSERT_TRUE(w.messages.said.isEmpty()) << w.messages.texts().join('|').toStdString();
    EXPECT_EQ(w.acq().recording().DataKind, 129);
    EXPECT_EQ(w.window->dataHeader().SampleBytes, 4000u);

    w.setData(QByteArray());  // an array from the board: DataKind 1 again
    w.load(QStringLiteral("rt.dtw"));
    ASSERT_TRUE(w.messages.said.isEmpty()) << w.messages.texts().join('|').toStdString();
    EXPECT_EQ(w.acq().recording().DataKind, 129);
    EXPECT_EQ(w.acq().BlockCount(), 0);
    EXPECT_EQ(w.acq().SampleBuffer().size(), 4000);
    EXPECT_TRUE(w.chart().rightAxis()->visible());
    EXPECT_EQ(w.points(w.chart().Series1()), 1000);
}

TEST(FilesWindow, AccelerometerRecordingDrawsTheSameAfterLoadAndSavesAgainEqual)
{
    FilesWindow w;
    // Two channels as the board delivers them, X words marked by bit 15, and a .txt name that
    // still gives a data file in this mode.
    QByteArray buffer;
    for (int i = 0; i < 15000; ++i) {
        const quint16 x = quint16(0x8000 | (1000 + i % 700));
        const quint16 y = quint16(3000 - i % 500);
        for (quint16 word : {x, y})
            buffer.append(char(word & 0xff)).append(char(word >> 8));
    }
    w.acq().loadRecording({.SampleBuffer = buffer, .ModeCommand = QByteArray::fromHex("1a0003"),
                           .BlockCount = 1, .SamplePeriod = 1.0});
    w.f().btADXL->click();
    w.window->ShowChart(Origin::timRx);
    const auto pointsOf = [](const QCPGraph* g) {
        QList<QPointF> out;
        for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it)
            out.append({it->key, it->value});
        return out;
    };
    const QList<QPointF> x = pointsOf(w.chart().Series1());
    const QList<QPointF> y = pointsOf(w.chart().Series2());
    ASSERT_EQ(x.size(), 15000);
    ASSERT_EQ(y.size(), 15000);

    w.save(QStringLiteral("accel.txt"));
    ASSERT_TRUE(w.messages.said.isEmpty()) << w.messages.texts().join('|').toStdString();
    const QByteArray first = contents(w.path(QStringLiteral("accel.txt")));
    EXPECT_EQ(quint8(first[4]), 2);
    EXPECT_EQ(w.window->dataHeader().AxisXName, QStringLiteral("Время, с"));

    w.acq().loadRecording({.ModeCommand = QByteArray("\x01\x00\x00", 3)});
    w.load(QStringLiteral("accel.txt"));
    ASSERT_TRUE(w.messages.said.isEmpty()) << w.messages.texts().join('|').toStdString();
    EXPECT_EQ(w.acq().ModeCommand(), QByteArray::fromHex("1a0003"));
    EXPECT_EQ(pointsOf(w.chart().Series1()), x);
    EXPECT_EQ(pointsOf(w.chart().Series2()), y);

    w.save(QStringLiteral("again.dtw"));
    EXPECT_EQ(contents(w.path(QStringLiteral("again.dtw"))), first);

    // The flag outlives the run; ordinary data saved now keeps its digital line in bit 15.
    const QByteArray plain = Words({0x8123, 0x0456, 0xA789});
    w.setData(plain, 1.0, 0);
    w.save(QStringLiteral("plain.dtw"));
    const QByteArray saved = contents(w.path(QStringLiteral("plain.dtw")));
    EXPECT_EQ(quint8(saved[4]), 1);
    EXPECT_TRUE(saved.contains(plain));
}

// The editor keys press the file buttons from anywhere in the window, the comment box included,
// and type nothing there; a disabled button ignores its key as it ignores a click.
TEST(FilesWindow, EditorKeysPressTheFileButtons)
{
    FilesWindow w;
    Ui::MainWindow& f = w.f();
    w.window->show();
    w.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
    f.mComment->setFocus();
    const std::vector<std::pair<QAbstractButton*, QKeySequence>> keys = {
        {f.btSave, QKeySequence(Qt::CTRL | Qt::Key_S)},     {f.btLoadFile, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {f.btPrint, QKeySequence(Qt::CTRL | Qt::Key_P)},    {f.btPrevFile, QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        {f.btNextFile, QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
    };
    for (const auto& [button, key] : keys) {
        // Only the key's press is under test, not the dialog the button opens.
        QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
        button->setEnabled(true);
        QSignalSpy pressed(button, &QAbstractButton::clicked);
        QTest::keySequence(f.mComment, key);
        EXPECT_EQ(pressed.count(), 1) << key.toString().toStdString();
        button->setEnabled(false);
        QTest::keySequence(f.mComment, key);
        EXPECT_EQ(pressed.count(), 1) << key.toString().toStdString();
    }
    EXPECT_TRUE(f.mComment->toPlainText().isEmpty());
}
