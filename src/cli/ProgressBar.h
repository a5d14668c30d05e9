#pragma once
// A one-line progress bar on stderr, drawn only when stderr is a terminal.

#include <QString>
#include <QtGlobal>

namespace korvel::cli {

class ProgressBar {
public:
    explicit ProgressBar(bool wanted);
    // Redraws the line; a zero total draws the label alone.
    void show(const QString& label, qint64 done, qint64 total);
    // Ends the line if one was drawn.
    void finish();

    static bool StderrIsTerminal();

private:
    bool on_;
    bool drawn_ = false;
};

}  // namespace korvel::cli
