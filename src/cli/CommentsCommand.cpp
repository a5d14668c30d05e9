// korvel-cli comments DIR [--find TEXT] [--case] [--json]
// The folder's comment list as the window builds it, or the lines a search finds in it, each
// with its file.

#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "cli/Printed.h"
#include "cli/Subcommands.h"
#include "files/FolderBrowse.h"

#include <QDir>
#include <QJsonArray>
#include <QSet>
#include <QTextStream>
#include <algorithm>

namespace korvel::cli {

int RunComments(const QStringList& arguments)
{
    CommandLine cl(QStringLiteral("comments"), QStringLiteral("ПАПКА [--find ТЕКСТ [--case]] [--json]"),
                   QStringLiteral("Список комментариев ко всем файлам данных папки, как его "
                                  "показывает окно (строка =v=ИМЯ=v= перед комментарием каждого "
                                  "файла), или строки, содержащие ТЕКСТ, в виде «файл: строка». "
                                  "Файл, который не открылся, прерывает список: напечатанное "
                                  "остаётся, код 1."));
    cl.addOption({QStringLiteral("find"), QStringLiteral("Печатать только строки, содержащие ТЕКСТ."),
                  QStringLiteral("ТЕКСТ")});
    cl.addOption({QStringLiteral("case"), QStringLiteral("Учитывать регистр букв при поиске.")});
    cl.addOption({QStringLiteral("json"),
                  QStringLiteral("Объект JSON в строке: с --find на каждую найденную строку "
                                 "{file, line}, без него на каждый файл {file, lines}.")});
    cl.addPositional(QStringLiteral("ПАПКА"), QStringLiteral("Папка с файлами данных."), QString());
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    if (cl.positional().size() != 1)
        return cl.usageError(QStringLiteral("назовите одну папку"));
    const QString given = cl.positional().front();
    const QDir dir(given);
    if (!dir.exists())
        return Failure(QStringLiteral("Нет папки %1").arg(given));

    const QString folder = dir.absolutePath() + QLatin1Char('/');
    const QStringList names = ListFolder(folder, QStringLiteral("*.dtw"));
    if (names.isEmpty())
        PrintedMessages::print(QStringLiteral("В папке %1 нет файлов *.dtw").arg(given));
    PrintedMessages messages;
    const QStringList lines = BuildCommentList(folder, names, messages);
    // A file that would not open ended the list early: what is printed is not the whole folder.
    const int rc = messages.errors > 0 ? ExitFailure : ExitOk;
    const bool json = cl.isSet(QStringLiteral("json"));
    const auto fileOf = [&](int line) { return dir.filePath(FileNameForLine(lines, line).value_or(QString())); };

    QTextStream out(stdout);
    if (!cl.isSet(QStringLiteral("find"))) {
        if (!json) {
            for (const QString& line : lines)
                out << line << "\n";
            return rc;
        }
        // Each file's block runs from its marker line to the next one, as the window reads it.
        const auto isMarker = [&](int i) { return lines[i].startsWith(QStringLiteral("=v=")); };
        for (int i = 0; i < lines.size(); ++i) {
            if (!isMarker(i))
                continue;
            QStringList comment;
            for (int k = i + 1; k < lines.size() && !isMarker(k); ++k)
                comment << lines[k];
            out << JsonFields()
                       .add("file", fileOf(i))
                       .add("lines", QJsonArray::fromStringList(comment))
                       .text()
                << "\n";
        }
        return rc;
    }
    // The window's search steps from hit to hit and wraps round; one round finds them all.
    int SearchLine = 0;
    QSet<int> seen;
    QList<int> hits;
    while (const std::optional<SearchHit> hit = FindInCommentList(
               lines, cl.value(QStringLiteral("find")), cl.isSet(QStringLiteral("case")), SearchLine)) {
        if (seen.contains(hit->line))
            break;
        seen.insert(hit->line);
        hits.append(hit->line);
    }
    std::sort(hits.begin(), hits.end());
    for (int i : hits) {
        if (json)
            out << JsonFields().add("file", fileOf(i)).add("line", lines.at(i)).text() << "\n";
        else
            out << fileOf(i) << ": " << lines.at(i) << "\n";
    }
    return rc;
}

}  // namespace korvel::cli
