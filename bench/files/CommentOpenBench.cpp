// A data file whose comment is one long paragraph without line breaks (the program writes such
// files), opened in the window and shown; then the comment list of its folder, shown. 64 KiB,
// 256 KiB and 1 MiB comments (one byte a character as stored), one word without a blank
// (words:0) or words of Russian text (words:1).
#include "app/MainWindow.h"
#include "files/DataFileIo.h"
#include "device/PortLocator.h"
#include "serial/ScriptedPort.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString paragraph(qsizetype characters, bool blanks)
{
    const QString words = blanks ? QStringLiteral("давление на входе датчика 2 ")
                                 : QStringLiteral("давлениенавходедатчика2");
    QString text;
    text.reserve(characters);
    while (text.size() < characters)
        text += words;
    text.truncate(characters);
    return text;
}

struct CommentWindow {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("long.dtw"));
    korvel::RecordingMessages messages;
    korvel::MainWindow w{dir.filePath(QStringLiteral("Korvel.ini")), messages,
                         {std::make_unique<korvel::ScriptedPort>(),
                          korvel::FixedPortFinder(QStringLiteral("ttyBENCH"))}};

    explicit CommentWindow(const benchmark::State& state)
    {
        const qsizetype characters = state.range(0) * 1024;
        const korvel::Recording record{.SampleBuffer = QByteArray(korvel::BlockBytes, '\x10'),
                                       .BlockCount = 1,
                                       .SamplePeriod = 1};
        korvel::DataFileSaveInput in;
        in.comment = paragraph(characters, state.range(1) != 0);
        korvel::SaveDataFile(file, record, in);
        w.show();
        QApplication::processEvents();
    }
    ~CommentWindow() { w.close(); }
};

// Times opening the file (list false) or showing the comment list of its folder (list true),
// each shown; the box is emptied between the runs.
void showLongComment(benchmark::State& state, bool list)
{
    CommentWindow cw(state);
    Ui::MainWindow& f = *cw.w.form();
    if (list)
        cw.w.openDataFile(cw.file);
    for (auto _ : state) {
        if (list)
            cw.w.btShowCmntClick();
        else
            cw.w.openDataFile(cw.file);
        cw.w.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        (list ? f.MAllCmnt : f.mComment)->clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_OpenAndShowLongComment(benchmark::State& state)
{
    showLongComment(state, false);
}
BENCHMARK(BM_OpenAndShowLongComment)
    ->ArgsProduct({{64, 256, 1024}, {0, 1}})
    ->ArgNames({"KiB", "words"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_CommentListOfALongComment(benchmark::State& state)
{
    showLongComment(state, true);
}
BENCHMARK(BM_CommentListOfALongComment)
    ->ArgsProduct({{64, 256, 1024}, {0, 1}})
    ->ArgNames({"KiB", "words"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
