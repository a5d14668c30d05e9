// The accelerometer panel: opening it, the channel choice and the duration list, and the start.
// The command, the estimates and the list entries come from the mode starts of the core.
#include "app/CaptionColour.h"
#include "app/MainWindow.h"
#include "app/FloatingPanels.h"
#include "app/SwitchCaptions.h"

#include "device/Acquisition.h"
#include "device/ModeStarts.h"
#include "ui_MainWindow.h"

#include <QRadioButton>
#include <algorithm>
#include <array>

namespace korvel {

namespace {

void setCaption(QAbstractButton* b, const QString& text, const QColor& c)
{
    b->setText(text);
    SetCaptionColour(b, c);
}

}  // namespace

void MainWindow::wireAccel()
{
    Ui::MainWindow& f = *ui;
    connect(f.btADXL, &QToolButton::clicked, this, &MainWindow::btADXLClick);
    connect(f.cbX, &QCheckBox::clicked, this, &MainWindow::cbXClick);
    connect(f.cbY, &QCheckBox::clicked, this, &MainWindow::cbYClick);
    connect(f.btAxGo, &QPushButton::clicked, this, &MainWindow::btAxGoClick);
    connect(&acquisition(), &Acquisition::accelPeriodReported, this,
            &MainWindow::FillAccelDurations);
}

namespace {

std::array<QRadioButton*, 8> rgAxItemsOf(const Ui::MainWindow& f)
{
    return {f.rgAxItem0, f.rgAxItem1, f.rgAxItem2, f.rgAxItem3,
            f.rgAxItem4, f.rgAxItem5, f.rgAxItem6, f.rgAxItem7};
}

}  // namespace

int MainWindow::rgAxItemIndex() const
{
    const auto items = rgAxItemsOf(*ui);
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        if (items[i]->isChecked())
            return i;
    return -1;
}

void MainWindow::setRgAxItemIndex(int index)
{
    const auto items = rgAxItemsOf(*ui);
    if (index >= 0 && index < static_cast<int>(items.size()))
        items[index]->setChecked(true);
}

QStringList MainWindow::rgAxItems() const
{
    QStringList out;
    for (const QRadioButton* b : rgAxItemsOf(*ui))
        out.append(b->text());
    return out;
}

namespace {

void setEntries(const Ui::MainWindow& f, const QStringList& entries)
{
    const auto items = rgAxItemsOf(f);
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        items[i]->setText(i < entries.size() ? entries[i] : QString());
}

}  // namespace

void MainWindow::btADXLClick()
{
    Ui::MainWindow& f = *ui;
    if (f.gbAx->isVisible()) {
        f.gbAx->hide();
        AccelerometerMode = false;
        setCaption(f.btADXL, AdxlCaptions.off, Qt::black);
        return;
    }
    AccelerometerMode = true;
    floatingPanels_->show(f.gbAx);
    setCaption(f.btADXL, AdxlCaptions.on, Qt::red);
}

void MainWindow::cbXClick()
{
    Ui::MainWindow& f = *ui;
    if (!f.cbX->isChecked() && !f.cbY->isChecked())
        f.cbY->setChecked(true);
    accel.AccelChannels = AccelChannelsFor(f.cbX->isChecked(), f.cbY->isChecked());
    setEntries(f, AccelDurationEntries(acquisition().recording().AccelPeriod, accel.AccelChannels));
    setRgAxItemIndex(0);
}

void MainWindow::cbYClick()
{
    Ui::MainWindow& f = *ui;
    if (!f.cbX->isChecked() && !f.cbY->isChecked())
        f.cbX->setChecked(true);
    cbXClick();
}

void MainWindow::FillAccelDurations()
{
    const double period = acquisition().recording().AccelPeriod;
    setEntries(*ui, AccelDurationEntries(period, accel.AccelChannels));
    accel.AccelBlockSeconds = AccelBlockSecondsFor(period);
    setRgAxItemIndex(accel.AccelDurationIndex);
}

void MainWindow::btAxGoClick()
{
    Ui::MainWindow& f = *ui;
    f.btRd->setEnabled(true);
    setCaption(f.btADXL, AdxlCaptions.off, Qt::black);
    // The list always holds a choice; should none be checked, the shortest run is the safe one.
    const int k = std::max(rgAxItemIndex(), 0);
    f.gbAx->hide();
    f.gbFT->hide();
    const AccelStart s = StartADXL(TriggerType, k, f.cbX->isChecked(), f.cbY->isChecked(),
                                   accel.AccelBlockSeconds);
    accel.AccelDurationIndex = static_cast<quint16>(s.AccelDurationIndex);
    if (s.start.showMeasureProgress)
        startProgress(s.start.MeasureTimeMs);
    acquisition().applyStart(s.start);
    BeginAcquisition();
}

}  // namespace korvel
