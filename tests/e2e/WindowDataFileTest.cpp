// A measurement of the simulated board saved from one window and opened in a new one built on
// the same settings file: the chart and the comment come back as they were.
#include "app/WindowRig.h"
#include "chartview/ChartView.h"
#include "support/EventLoopWait.h"

#include <gtest/gtest.h>
#include <vector>

using namespace korvel;
using namespace korvel::testing;

namespace {

std::vector<std::pair<double, double>> pointsOf(const QCPGraph* g)
{
    std::vector<std::pair<double, double>> out;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it)
        out.emplace_back(it->key, it->value);
    return out;
}

}  // namespace

TEST(WindowDataFile, MeasuredSavedAndReopenedInANewWindow)
{
    WindowRig rig(WithScriptedDialogs(OnQuickSimulatedBoard()));
    QTemporaryDir files;
    const QString file = files.filePath(QStringLiteral("замер.dtw"));

    rig.f().bt1MHz->click();
    ASSERT_TRUE(WaitUntil([&] { return rig.f().Chart1->Series1()->dataCount() == 30000; }));
    const auto measured = pointsOf(rig.f().Chart1->Series1());
    const QByteArray buffer = rig.acq().SampleBuffer();
    rig.f().mComment->setPlainText(QStringLiteral("Вибрация подшипника\nпосле ремонта"));
    rig.dialogs->answers << file;
    rig.f().btSave->click();
    ASSERT_TRUE(rig.messages.said.isEmpty()) << rig.messages.texts().join('|').toStdString();
    rig.window->close();
    rig.window.reset();

    rig.build();
    rig.dialogs->answers << file;
    rig.f().btLoadFile->click();
    ASSERT_TRUE(rig.messages.said.isEmpty()) << rig.messages.texts().join('|').toStdString();
    EXPECT_EQ(rig.acq().SampleBuffer(), buffer);
    EXPECT_EQ(rig.f().mComment->toPlainText(), QStringLiteral("Вибрация подшипника\nпосле ремонта"));
    const auto loaded = pointsOf(rig.f().Chart1->Series1());
    ASSERT_EQ(loaded.size(), measured.size());
    EXPECT_TRUE(loaded == measured);
    rig.window->close();
}
