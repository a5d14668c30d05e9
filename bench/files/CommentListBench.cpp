// The comment list of a folder of 2000 eight-block data files, warm cache. The sample blocks
// are left as holes in the files: the listing steps over them and never reads them anyway.
#include "files/DataFile.h"
#include "files/FolderBrowse.h"
#include "text/Cp1251.h"
#include "text/Messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void writeFolder(const QTemporaryDir& dir, int files)
{
    for (int n = 0; n < files; ++n) {
        korvel::DataFileSaveInput in;
        in.AxisXName = QStringLiteral("Время, мкс");
        // Header and names only; the block is added as a hole below.
        QByteArray head = korvel::BuildDataFile({.BlockCount = 0}, in).output->bytes;
        const quint32 blockBytes = 8 * korvel::BlockBytes;
        for (int b = 0; b < 4; ++b)
            head[5 + b] = char((blockBytes >> (8 * b)) & 0xFF);
        QFile f(dir.filePath(QString("m%1.dtw").arg(n, 4, 10, QChar('0'))));
        f.open(QIODevice::WriteOnly);
        f.write(head);
        f.seek(head.size() + blockBytes);
        f.write(korvel::ToCp1251(QStringLiteral("Измерение %1\r\nдатчик давления\r\n").arg(n)));
    }
}

void BM_CommentListOf2000Files(benchmark::State& state)
{
    QTemporaryDir dir;
    writeFolder(dir, 2000);
    const QString current = dir.filePath("m0000.dtw");
    korvel::RecordingMessages messages;
    for (auto _ : state) {
        const QStringList lines = korvel::BuildCommentList(
            korvel::FolderOf(current), korvel::CommentListEntries(current), messages);
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = double(
        korvel::BuildCommentList(korvel::FolderOf(current), korvel::CommentListEntries(current),
                                 messages)
            .size());
}
BENCHMARK(BM_CommentListOf2000Files)->Unit(benchmark::kMillisecond);

}  // namespace
