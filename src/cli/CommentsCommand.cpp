// korvel-cli comments DIR [--find TEXT] [--case]
// The folder's comment list as the window builds it, or the lines a search finds in it.

#include "cli/CliSupport.h"
#include "cli/Subcommands.h"
#include "files/FolderBrowse.h"

#include <QDir>
#include <QSet>
#include <QTextStream>
#include <algorithm>

namespace korvel::cli {

int RunComments(const QStringList& arguments)
{
    const QString name = QStringLiteral("comments");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("List the comments of the data files of a folder."));
    parser.addOption({QStringLiteral("find"), QStringLiteral("Print only the lines holding TEXT."),
                      QStringLiteral("TEXT")});
    parser.addOption({QStringLiteral("case"), QStringLiteral("Letter case must match.")});
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("Folder of data files."));
    if (const int rc = ParseArguments(parser, arguments, name); rc >= 0)
        return rc;
    if (parser.positionalArguments().size() != 1)
        return UsageError(name, QStringLiteral("name one folder"));
    const QDir dir(parser.positionalArguments().front());
    if (!dir.exists())
        return Failure(QStringLiteral("Cannot open file ") + dir.path());

    const QString folder = dir.absolutePath() + QLatin1Char('/');
    PrintedMessages messages;
    const QStringList lines =
        BuildCommentList(folder, ListFolder(folder, QStringLiteral("*.dtw")), messages);

    QTextStream out(stdout);
    if (!parser.isSet(QStringLiteral("find"))) {
        for (const QString& line : lines)
            out << line << "\n";
        return ExitOk;
    }
    // The window's search steps from hit to hit and wraps round; one round finds them all.
    int SearchLine = 0;
    QSet<int> seen;
    QList<int> hits;
    while (const std::optional<SearchHit> hit =
               FindInCommentList(lines, parser.value(QStringLiteral("find")),
                                 parser.isSet(QStringLiteral("case")), SearchLine)) {
        if (seen.contains(hit->line))
            break;
        seen.insert(hit->line);
        hits.append(hit->line);
    }
    std::sort(hits.begin(), hits.end());
    for (int i : hits)
        out << lines.at(i) << "\n";
    return ExitOk;
}

}  // namespace korvel::cli
