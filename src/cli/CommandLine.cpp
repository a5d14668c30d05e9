#include "cli/CommandLine.h"

#include "cli/ExitCodes.h"

#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace korvel::cli {

namespace {

constexpr int HelpWidth = 79;

QString OptionLabel(const QCommandLineOption& o)
{
    QStringList names;
    // A one-letter option without a long name (export's --x and --y) is shown the long way.
    const bool alone = o.names().size() == 1;
    for (const QString& n : o.names())
        names << (n.size() == 1 && !alone ? QStringLiteral("-") : QStringLiteral("--")) + n;
    QString label = names.join(QStringLiteral(", "));
    if (!o.valueName().isEmpty())
        label += QLatin1Char(' ') + o.valueName();
    return label;
}

// Whole numbers print without a fraction, others with the point.
QString NumberText(double v)
{
    return QString::number(v, 'g', 15);
}

}  // namespace

QString Wrapped(const QString& text, int width, int indent)
{
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
                lines << line;
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n') + QString(indent, QLatin1Char(' ')));
}

std::optional<long long> WholeNumber(const QString& text)
{
    static const QRegularExpression shape(QStringLiteral(R"(^[+-]?\d{1,18}$)"));
    if (!shape.match(text).hasMatch())
        return std::nullopt;
    return text.toLongLong();
}

std::optional<double> DecimalNumber(const QString& text)
{
    static const QRegularExpression shape(QStringLiteral(R"(^[+-]?(\d+([.,]\d*)?|[.,]\d+)$)"));
    if (!shape.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

CommandLine::CommandLine(QString name, QString synopsis, QString description)
    : name_(std::move(name)), synopsis_(std::move(synopsis)), description_(std::move(description))
{
}

void CommandLine::addOption(const QCommandLineOption& option)
{
    options_.append(option);
    parser_.addOption(option);
}

void CommandLine::addPositional(const QString& name, const QString& description,
                                const QString& syntax)
{
    parser_.addPositionalArgument(name, description, syntax);
    positionalHelp_ << name << description;
}

void CommandLine::addNote(const QString& text)
{
    notes_ << text;
}

QString CommandLine::helpText() const
{
    QString out = QStringLiteral("Использование: korvel-cli %1 %2\n\n").arg(name_, synopsis_);
    out += Wrapped(description_, HelpWidth, 0) + QStringLiteral("\n");
    QList<QPair<QString, QString>> rows;
    for (qsizetype i = 0; i + 1 < positionalHelp_.size(); i += 2)
        rows.append({positionalHelp_[i], positionalHelp_[i + 1]});
    for (const QCommandLineOption& o : options_)
        rows.append({OptionLabel(o), o.description()});
    rows.append({QStringLiteral("-h, --help"), QStringLiteral("Показать эту справку.")});
    int column = 0;
    for (const auto& row : rows)
        column = std::max(column, int(row.first.size()));
    column = std::min(column, 26) + 4;
    out += QStringLiteral("\nПараметры:\n");
    for (const auto& row : rows) {
        QString label = QStringLiteral("  ") + row.first;
        // A long label gets its description on the next line.
        label = label.size() + 2 > column ? label + QLatin1Char('\n') + QString(column, QLatin1Char(' '))
                                          : label.leftJustified(column);
        out += label + Wrapped(row.second, HelpWidth - column, column) + QLatin1Char('\n');
    }
    for (const QString& note : notes_)
        out += QLatin1Char('\n') + note + QLatin1Char('\n');
    return out;
}

int CommandLine::parse(const QStringList& arguments)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Показать эту справку."));
    parser_.addOption(help);
    if (!parser_.parse(arguments)) {
        // Qt words its errors in English; the option's name is what matters.
        const QStringList unknown = parser_.unknownOptionNames();
        if (!unknown.isEmpty())
            return usageError(QStringLiteral("нет такого параметра: %1")
                                  .arg((unknown.front().size() == 1 ? QStringLiteral("-")
                                                                    : QStringLiteral("--"))
                                       + unknown.front()));
        return usageError(QStringLiteral("неверный вызов: %1").arg(parser_.errorText()));
    }
    if (parser_.isSet(help)) {
        QTextStream(stdout) << helpText();
        return ExitOk;
    }
    return -1;
}

void CommandLine::reject(const QString& text)
{
    if (!error_)
        error_ = text;
}

int CommandLine::integer(const QString& option, int min, int max, int fallback)
{
    if (!parser_.isSet(option))
        return fallback;
    const QString text = parser_.value(option);
    const std::optional<long long> v = WholeNumber(text);
    if (!v || *v < min || *v > max) {
        reject(QStringLiteral("--%1 «%2»: нужно целое число от %3 до %4")
                   .arg(option, text).arg(min).arg(max));
        return fallback;
    }
    return int(*v);
}

double CommandLine::real(const QString& option, double min, double max, double fallback)
{
    if (!parser_.isSet(option))
        return fallback;
    const QString text = parser_.value(option);
    const std::optional<double> v = DecimalNumber(text);
    if (!v || *v < min || *v > max) {
        reject(std::isinf(min) && std::isinf(max)
                   ? QStringLiteral("--%1 «%2»: нужно число").arg(option, text)
                   : QStringLiteral("--%1 «%2»: нужно число от %3 до %4")
                         .arg(option, text, NumberText(min), NumberText(max)));
        return fallback;
    }
    return *v;
}

int CommandLine::choice(const QString& option, const QStringList& words, int fallback)
{
    if (!parser_.isSet(option))
        return fallback;
    const QString text = parser_.value(option);
    const qsizetype i = words.indexOf(text);
    if (i < 0) {
        reject(QStringLiteral("--%1 «%2»: нужно одно из: %3")
                   .arg(option, text, words.join(QStringLiteral(", "))));
        return fallback;
    }
    return int(i);
}

int CommandLine::usageError() const
{
    QTextStream(stderr) << "korvel-cli " << name_ << ": " << error_.value_or(QString()) << "\n"
                        << "Справка: korvel-cli " << name_ << " --help" << Qt::endl;
    return ExitUsage;
}

int CommandLine::usageError(const QString& text)
{
    error_ = text;
    return usageError();
}

}  // namespace korvel::cli
