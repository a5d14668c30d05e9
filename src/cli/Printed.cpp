#include "cli/Printed.h"

#include <QTextStream>

namespace korvel::cli {

void PrintedMessages::print(const QString& text)
{
    QTextStream(stderr) << text << Qt::endl;
}

int Failure(const QString& text)
{
    PrintedMessages::print(text);
    return ExitFailure;
}

}  // namespace korvel::cli
