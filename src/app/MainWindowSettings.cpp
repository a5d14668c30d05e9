// Settings in and out of the window's controls.
#include "app/CaptionColour.h"
#include "app/MainWindow.h"

#include "chartview/SpectrogramWindow.h"
#include "chartview/SpectrumWindow.h"

#include "chartview/ChartView.h"
#include "chartview/PlaceOnScreen.h"
#include "settings/WindowGeometry.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <algorithm>
#include <climits>

namespace korvel {

namespace {

// A window never shown keeps the place it was read with.
template <typename Place>
void keepPlaceAsRead(Place& now, const Place& read)
{
    now.left = read.left;
    now.top = read.top;
    now.width = read.width;
    now.height = read.height;
}

// An index outside the list leaves the box without a selection.
void selectItem(QComboBox* box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

}  // namespace

void MainWindow::reportSettingsProblems(const LoadedSettings& loaded)
{
    settingsRefused_ = loaded.refused();
    const QString problem = loaded.problem(settingsPath_);
    if (settingsRefused_)
        messages_.error(problem
                        + QStringLiteral(".\nПрограмма работает с настройками по умолчанию и "
                                         "при закрытии не перезапишет этот файл."));
    else if (!problem.isEmpty())
        messages_.error(problem
                        + QStringLiteral("\nВместо них взяты значения по умолчанию; при закрытии "
                                         "программы они будут записаны в файл."));
    if (loaded.readAsUtf8)
        messages_.information(ReadAsUtf8Message(settingsPath_));
}

void MainWindow::applyGeometry(const SettingsValues& v)
{
    setMinimumSize(MinimumWindowSize);
    PlaceOnScreen(this, v.WindowLeft, v.WindowTop, v.WindowWidth, v.WindowHeight);
    // The frame is known only once the window manager has taken the window.
    frameFitPending = true;
}

void MainWindow::applySettings(const SettingsValues& v)
{
    spectrumPlace_ = v.spectrum;
    spectrum_->applyChoices(v.spectrum);
    legendItem_->setChecked(v.ChartLegend);
    recentFiles_ = v.RecentFiles;
    spectrogramPlace_ = v.spectrogram;
    spectrogram_->applyChoices(v.spectrogram);
    Ui::MainWindow& f = *ui;
    scaling.calibration = v.calibration;

    f.emExtScale->setText(v.emExtScale);
    f.emExtShift->setText(v.emExtShift);
    f.seFExtrn->setValue(v.seFExtrn);
    f.seSamplesFExtrn->setValue(v.seSamplesFExtrn);
    seFExtrnChange();
    f.eYTitle->setText(v.eYTitle);
    selectItem(f.cbExtScale, v.cbExtScale);
    selectItem(f.cbExtShift, v.cbExtShift);
    selectItem(f.cbRgm, v.cbRgm);
    selectItem(f.cbXscale, v.cbXscale);
    selectItem(f.cbShowK, v.cbShowK);
    selectItem(f.cbTxtSaveX, v.cbTxtSaveX);
    selectItem(f.cbTxtSaveY, v.cbTxtSaveY);
    f.cbDgt1->setChecked(v.cbDgt1);
    f.cbDgt2->setChecked(v.cbDgt2);
    f.cbDgt3->setChecked(v.cbDgt3);
    f.cbTermo->setChecked(v.cbTermo);

    ChartView* c = f.Chart1;
    c->setSeriesColor(c->SeriDgt1(), ColorFromRef(v.ColorDgt1));
    c->setSeriesColor(c->SeriDgt2(), ColorFromRef(v.ColorDgt2));
    c->setSeriesColor(c->SeriDgt3(), ColorFromRef(v.ColorDgt3));
    SetCaptionColour(f.cbDgt1, ColorFromRef(v.ColorDgt1));
    SetCaptionColour(f.cbDgt2, ColorFromRef(v.ColorDgt2));
    SetCaptionColour(f.cbDgt3, ColorFromRef(v.ColorDgt3));

    f.eTOn->setText(v.eTOn);
    selectItem(f.cbTCondition1, v.cbTCondition1);
    selectItem(f.cbTCondition2, v.cbTCondition2);
    f.eTOff->setText(v.eTOff);
    selectItem(f.cbTLevel1, v.cbTLevel1);
    selectItem(f.cbTLevel2, v.cbTLevel2);
    f.eAOn->setText(v.eAOn);
    selectItem(f.cbACondition1, v.cbACondition1);
    selectItem(f.cbACondition2, v.cbACondition2);
    f.eAOff->setText(v.eAOff);
    selectItem(f.cbALevel1, v.cbALevel1);
    selectItem(f.cbALevel2, v.cbALevel2);

    // The external edits are usable only when their choice asks for a typed value.
    f.emExtShift->setEnabled(f.cbExtShift->currentIndex() != 0);
    f.emExtScale->setEnabled(f.cbExtScale->currentIndex() != 0);
    // The range alone sets the coefficient at start; the external settings join at the first plot.
    if (const auto range = RangeScaleOf(f.cbRgm->currentIndex(), scaling.calibration)) {
        scaling.ScaleK = range->ScaleK;
        scaling.ScaleShift = range->ScaleShift;
    }
    f.pRgm->setText(RangeCaption({scaling.ScaleK, scaling.ScaleShift}));

    // The trigger button is brought to the saved state by one click from the state before it.
    TriggerType = v.TriggerType - 1 < 0 ? 2 : v.TriggerType - 1;
    btExtrnClick();

    // The calculator takes the saved state first, so the fields set below only repeat it.
    ft = FtCalculator(v.SRAMblocks, v.Time4allSRAM, v.seF);
    f.seSamples->setValue(ft.SRAMblocks() * 30000);
    f.seF->setValue(v.seF);
    // The product is formed wide so a wild Time4allSRAM cannot overflow.
    const long long t = static_cast<long long>(ft.Time4allSRAM()) * ft.SRAMblocks() / 8;
    f.seTime->setValue(static_cast<int>(std::clamp<long long>(t, INT_MIN, INT_MAX)));
}

SettingsValues MainWindow::collectSettings() const
{
    const Ui::MainWindow& f = *ui;
    SettingsValues v;
    v.WindowHeight = height();
    v.WindowWidth = width();
    v.WindowLeft = x();
    v.WindowTop = y();
    v.calibration = scaling.calibration;
    v.emExtScale = f.emExtScale->text();
    v.emExtShift = f.emExtShift->text();
    v.eYTitle = f.eYTitle->text();
    v.cbExtScale = f.cbExtScale->currentIndex();
    v.cbExtShift = f.cbExtShift->currentIndex();
    v.cbRgm = f.cbRgm->currentIndex();
    v.cbXscale = f.cbXscale->currentIndex();
    v.cbShowK = f.cbShowK->currentIndex();
    v.cbTxtSaveX = f.cbTxtSaveX->currentIndex();
    v.cbTxtSaveY = f.cbTxtSaveY->currentIndex();
    v.cbDgt1 = f.cbDgt1->isChecked();
    v.cbDgt2 = f.cbDgt2->isChecked();
    v.cbDgt3 = f.cbDgt3->isChecked();
    v.cbTermo = f.cbTermo->isChecked();
    const ChartView* c = f.Chart1;
    v.ColorDgt1 = RefFromColor(c->seriesColor(c->SeriDgt1()));
    v.ColorDgt2 = RefFromColor(c->seriesColor(c->SeriDgt2()));
    v.ColorDgt3 = RefFromColor(c->seriesColor(c->SeriDgt3()));
    v.eTOn = f.eTOn->text();
    v.eTOff = f.eTOff->text();
    v.eAOn = f.eAOn->text();
    v.eAOff = f.eAOff->text();
    v.cbTCondition1 = f.cbTCondition1->currentIndex();
    v.cbTCondition2 = f.cbTCondition2->currentIndex();
    v.cbTLevel1 = f.cbTLevel1->currentIndex();
    v.cbTLevel2 = f.cbTLevel2->currentIndex();
    v.cbACondition1 = f.cbACondition1->currentIndex();
    v.cbACondition2 = f.cbACondition2->currentIndex();
    v.cbALevel1 = f.cbALevel1->currentIndex();
    v.cbALevel2 = f.cbALevel2->currentIndex();
    v.seFExtrn = f.seFExtrn->value();
    v.seSamplesFExtrn = f.seSamplesFExtrn->value();
    v.TriggerType = TriggerType;
    v.SRAMblocks = ft.SRAMblocks();
    v.Time4allSRAM = ft.Time4allSRAM();
    v.seF = f.seF->value();
    v.ChartLegend = legendItem_->isChecked();
    v.RecentFiles = recentFiles_;
    v.spectrum = spectrum_->settings();
    if (!spectrumPlaced_)
        keepPlaceAsRead(v.spectrum, spectrumPlace_);
    v.spectrogram = spectrogram_->settings();
    if (!spectrogramPlaced_)
        keepPlaceAsRead(v.spectrogram, spectrogramPlace_);
    return v;
}

}  // namespace korvel
