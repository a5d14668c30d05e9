#pragma once
// The help pages (topics 2 to 8, compiled into the resources) in a simple browser window.

#include <QTextBrowser>

namespace korvel {

// The topic of a widget: its "helpTopic" property or the nearest parent's; 6 (the window)
// when none of them carries one.
int HelpTopicOf(const QWidget* w);
// Resource URL of a topic's page.
QUrl HelpPageUrl(int topic);

class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showTopic(int topic);
};

}  // namespace korvel
