#pragma once
// The help pages (compiled into the resources) in a simple browser window.

#include <QTextBrowser>

namespace korvel {

// Topics 2 to 8 are the main window's areas; the spectrum window and the file formats follow.
enum HelpTopic : int {
    FirstHelpTopic = 2,
    WindowHelpTopic = 6,
    SpectrumHelpTopic = 9,
    FileFormatsHelpTopic = 10,
    LastHelpTopic = FileFormatsHelpTopic,
};

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
