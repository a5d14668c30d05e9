// korvel-cli info FILE... [--json]
// What the loader reads from each data file: header, scaling, axis names, blocks, comment.

#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "cli/Printed.h"
#include "cli/Subcommands.h"
#include "files/DataFileIo.h"
#include "text/NumberFormat.h"

#include <QTextStream>

namespace korvel::cli {

namespace {

void PrintText(QTextStream& out, const QString& path, const LoadedDataFile& f)
{
    const bool ordinary = f.Variant == VariantOrdinary;
    out << "file: " << path << "\n"
        << "DataKind: " << f.record.DataKind << "\n"
        << "Variant: " << int(f.Variant) << "\n"
        << "SampleBytes: " << f.record.SampleBuffer.size() << "\n"
        << "SamplePeriod: " << FloatToStr(f.record.SamplePeriod) << "\n";
    if (ordinary)
        out << "ScaleK: " << FloatToStr(f.ScaleK) << "\n"
            << "ScaleShift: " << f.ScaleShift << "\n";
    out << "AxisXName: " << f.AxisXName << "\n"
        << "AxisYName: " << f.AxisYName << "\n"
        << "BlockCount: " << f.record.BlockCount << "\n"
        << "Comment: " << QString(f.comment).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        << "\n\n";
}

void PrintJson(QTextStream& out, const QString& path, const LoadedDataFile& f)
{
    const bool ordinary = f.Variant == VariantOrdinary;
    // The accelerometer variant stores no scaling; null says so rather than a made-up zero.
    const QJsonValue none;
    JsonFields j;
    j.add("file", path)
        .add("DataKind", f.record.DataKind)
        .add("Variant", f.Variant)
        .add("SampleBytes", f.record.SampleBuffer.size())
        .add("SamplePeriod", f.record.SamplePeriod)
        .add("ScaleK", ordinary ? QJsonValue(f.ScaleK) : none)
        .add("ScaleShift", ordinary ? QJsonValue(f.ScaleShift) : none)
        .add("AxisXName", f.AxisXName)
        .add("AxisYName", f.AxisYName)
        .add("BlockCount", f.record.BlockCount)
        .add("Comment", f.comment);
    out << j.text() << "\n";
}

}  // namespace

int RunInfo(const QStringList& arguments)
{
    CommandLine cl(QStringLiteral("info"), QStringLiteral("[--json] ФАЙЛ..."),
                   QStringLiteral("Что читает из файла данных кнопка «Открыть»: заголовок, масштаб, "
                                  "имена осей, число блоков и комментарий."));
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("По объекту JSON на файл, каждый в своей строке; значение, которое "
                                 "не является конечным числом, пишется как null.")});
    cl.addPositional(QStringLiteral("ФАЙЛ"), QStringLiteral("Файлы данных (*.dtw)."),
                     QStringLiteral("ФАЙЛ..."));
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    const QStringList files = cl.positional();
    if (files.isEmpty())
        return cl.usageError(QStringLiteral("назовите хотя бы один файл"));
    const bool json = cl.isSet(QStringLiteral("json"));

    QTextStream out(stdout);
    int rc = ExitOk;
    for (const QString& path : files) {
        const DataFileLoadResult r = LoadDataFile(path);
        if (!r.file) {
            out.flush();
            rc = Failure(r.error->message);
            continue;
        }
        if (json)
            PrintJson(out, path, *r.file);
        else
            PrintText(out, path, *r.file);
    }
    return rc;
}

}  // namespace korvel::cli
