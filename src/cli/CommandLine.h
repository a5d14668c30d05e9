#pragma once
// One subcommand's command line: its options, a Russian help text whose usage line names the
// subcommand, and strict reading of values. A value that is not wholly a number in its range,
// or not one of its words, is a usage error naming the option and what it accepts; the first
// such error is kept and reported by usageError().

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvel::cli {

class CommandLine {
public:
    // synopsis follows "korvel-cli NAME" in the usage line, e.g. "--mode РЕЖИМ -o ФАЙЛ [параметры]".
    CommandLine(QString name, QString synopsis, QString description);

    void addOption(const QCommandLineOption& option);
    void addPositional(const QString& name, const QString& description, const QString& syntax);
    // A line printed as it is after the options (where the settings were looked for).
    void addNote(const QString& text);

    // -1: go on. ExitOk: the help was printed. ExitUsage: the message was printed.
    int parse(const QStringList& arguments);
    QString helpText() const;

    const QString& name() const { return name_; }
    const QCommandLineParser& parser() const { return parser_; }
    bool isSet(const QString& option) const { return parser_.isSet(option); }
    QString value(const QString& option) const { return parser_.value(option); }
    QStringList positional() const { return parser_.positionalArguments(); }

    // Strict readers: an option not given yields fallback; a bad value records the error and
    // also yields fallback, so a subcommand reads everything and then checks failed().
    int integer(const QString& option, int min, int max, int fallback);
    double real(const QString& option, double min, double max, double fallback);
    // The index of the option's value in words.
    int choice(const QString& option, const QStringList& words, int fallback);
    // Records a usage error of the subcommand's own (the first one is kept).
    void reject(const QString& text);

    bool failed() const { return error_.has_value(); }
    // Prints "korvel-cli NAME: text" with a pointer to --help; returns ExitUsage.
    int usageError() const;
    int usageError(const QString& text);

private:
    QString name_;
    QString synopsis_;
    QString description_;
    QStringList notes_;
    QList<QCommandLineOption> options_;
    QStringList positionalHelp_;
    QCommandLineParser parser_;
    std::optional<QString> error_;
};

// The whole text is an integer (an optional sign and digits).
std::optional<long long> WholeNumber(const QString& text);
// The whole text is a decimal number; a point or a comma separates the fraction.
std::optional<double> DecimalNumber(const QString& text);

// Lays out text in lines of at most width characters; lines after the first are indented by
// indent blanks (for a column that starts there). "\n" starts a new paragraph.
QString Wrapped(const QString& text, int width, int indent);

}  // namespace korvel::cli
