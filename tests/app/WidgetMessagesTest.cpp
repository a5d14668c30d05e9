// Message boxes asked for at start-up wait for the window and appear over it.
#include "app/WidgetMessages.h"
#include "support/EventLoopWait.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace korvel;

TEST(WidgetMessages, ABoxAskedForBeforeTheWindowIsShownAppearsOverIt)
{
    QWidget window;
    WidgetMessages boxes;
    struct Seen {
        QString text;
        QWidget* parent = nullptr;
        bool windowVisible = false;
    };
    QList<Seen> seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen.append({box->text(), box->parentWidget(), window.isVisible()});
            box->accept();
        }
    });
    poll.start(5);

    boxes.information(QStringLiteral("АЦП не обнаружено"));  // during the window's creation
    boxes.setParent(&window);
    korvel::testing::Settle(50);
    EXPECT_TRUE(seen.isEmpty());

    window.show();
    korvel::testing::WaitUntil([&] { return !seen.isEmpty(); });
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].text, QStringLiteral("АЦП не обнаружено"));
    EXPECT_EQ(seen[0].parent, &window);
    EXPECT_TRUE(seen[0].windowVisible);
}
