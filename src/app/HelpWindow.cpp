#include "app/HelpWindow.h"

#include <QVariant>

namespace korvel {

int HelpTopicOf(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        const QVariant t = w->property("helpTopic");
        if (t.isValid())
            return t.toInt();
    }
    return WindowHelpTopic;
}

QUrl HelpPageUrl(int topic)
{
    if (topic < FirstHelpTopic || topic > LastHelpTopic)
        topic = WindowHelpTopic;
    return QUrl(QStringLiteral("qrc:/help/topic%1.html").arg(topic));
}

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Справка"));
    setOpenLinks(true);
    resize(560, 420);
}

void HelpWindow::showTopic(int topic)
{
    setSource(HelpPageUrl(topic));
    show();
    raise();
    activateWindow();
}

}  // namespace korvel
