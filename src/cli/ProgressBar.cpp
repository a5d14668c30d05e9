#include "cli/ProgressBar.h"

#include <QTextStream>
#include <algorithm>
#include <unistd.h>

namespace korvel::cli {

ProgressBar::ProgressBar(bool wanted) : on_(wanted && StderrIsTerminal()) {}

bool ProgressBar::StderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

void ProgressBar::show(const QString& label, qint64 done, qint64 total)
{
    if (!on_)
        return;
    constexpr int Width = 30;
    QTextStream err(stderr);
    err << '\r' << label.leftJustified(10);
    if (total > 0) {
        const qint64 clamped = std::clamp<qint64>(done, 0, total);
        const int filled = int(clamped * Width / total);
        err << " [" << QString(filled, QLatin1Char('#')) << QString(Width - filled, QLatin1Char(' '))
            << "] " << qSetFieldWidth(3) << int(clamped * 100 / total) << qSetFieldWidth(0) << '%';
    }
    err.flush();
    drawn_ = true;
}

void ProgressBar::finish()
{
    if (drawn_) {
        QTextStream err(stderr);
        err << Qt::endl;
    }
    drawn_ = false;
}

}  // namespace korvel::cli
