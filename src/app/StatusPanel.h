#pragma once
// A panel of the status bar. The panels are a third of the window each and the real-time
// summaries are long: a text that does not fit ends in "…" and is shown whole as the tool tip.

#include <QLabel>

namespace korvel {

class StatusPanel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect textArea() const;
};

}  // namespace korvel
