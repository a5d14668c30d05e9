// korvel-cli info FILE... [--json]
// What the loader reads from each data file: header, scaling, axis names, blocks, comment.

#include "cli/CliSupport.h"
#include "cli/Subcommands.h"
#include "files/DataFileIo.h"
#include "text/NumberFormat.h"

#include <QTextStream>

namespace korvel::cli {

namespace {

// JSON numbers carry a point whatever the locale, and enough digits to give the double back.
QString JsonNumber(double v)
{
    return QString::number(v, 'g', 17);
}

void PrintText(QTextStream& out, const QString& path, const LoadedDataFile& f)
{
    const bool ordinary = f.header.Variant == VariantOrdinary;
    out << "file: " << path << "\n"
        << "DataKind: " << f.header.DataKind << "\n"
        << "Variant: " << int(f.header.Variant) << "\n"
        << "SampleBytes: " << f.header.SampleBytes << "\n"
        << "SamplePeriod: " << FloatToStr(f.header.SamplePeriod) << "\n";
    if (ordinary)
        out << "ScaleK: " << FloatToStr(f.ScaleK) << "\n"
            << "ScaleShift: " << f.ScaleShift << "\n";
    out << "AxisXName: " << f.AxisXName << "\n"
        << "AxisYName: " << f.AxisYName << "\n"
        << "BlockCount: " << f.BlockCount << "\n"
        << "Comment: " << QString(f.comment).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        << "\n\n";
}

void PrintJson(QTextStream& out, const QString& path, const LoadedDataFile& f)
{
    const bool ordinary = f.header.Variant == VariantOrdinary;
    // The accelerometer variant stores no scaling; null says so rather than a made-up zero.
    out << "{\"file\":" << JsonString(path) << ",\"DataKind\":" << f.header.DataKind
        << ",\"Variant\":" << int(f.header.Variant) << ",\"SampleBytes\":" << f.header.SampleBytes
        << ",\"SamplePeriod\":" << JsonNumber(f.header.SamplePeriod)
        << ",\"ScaleK\":" << (ordinary ? JsonNumber(f.ScaleK) : QStringLiteral("null"))
        << ",\"ScaleShift\":" << (ordinary ? QString::number(f.ScaleShift) : QStringLiteral("null"))
        << ",\"AxisXName\":" << JsonString(f.AxisXName)
        << ",\"AxisYName\":" << JsonString(f.AxisYName) << ",\"BlockCount\":" << f.BlockCount
        << ",\"Comment\":" << JsonString(f.comment) << "}\n";
}

}  // namespace

int RunInfo(const QStringList& arguments)
{
    const QString name = QStringLiteral("info");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Show the header, scaling and comment of data files."));
    parser.addOption({QStringLiteral("json"), QStringLiteral("One JSON object per file.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Data files."),
                                 QStringLiteral("FILE..."));
    if (const int rc = ParseArguments(parser, arguments, name); rc >= 0)
        return rc;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return UsageError(name, QStringLiteral("name at least one file"));

    QTextStream out(stdout);
    int rc = ExitOk;
    for (const QString& path : files) {
        const DataFileLoadResult r = LoadDataFile(path);
        if (!r.file) {
            out.flush();
            rc = Failure(r.error->message);
            continue;
        }
        if (parser.isSet(QStringLiteral("json")))
            PrintJson(out, path, *r.file);
        else
            PrintText(out, path, *r.file);
    }
    return rc;
}

}  // namespace korvel::cli
