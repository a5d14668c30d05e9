// Handlers of small controls that the start-up already needs.
#include "app/MainWindow.h"

#include "text/NumberFormat.h"
#include "ui_MainWindow.h"

namespace korvel {

void MainWindow::btExtrnClick()
{
    TriggerType = TriggerType >= 2 ? 0 : TriggerType + 1;
    static const char* const icons[3] = {":/icons/pc.svg", ":/icons/exrise.svg", ":/icons/exfall.svg"};
    static const char16_t* const hints[3] = {u"Запуск от компьютера", u"Внешний запуск по фронту",
                                             u"Внешний запуск по спаду"};
    ui->btExtrn->setIcon(QIcon(QString::fromLatin1(icons[TriggerType])));
    ui->btExtrn->setToolTip(QString::fromUtf16(hints[TriggerType]));
}

void MainWindow::seFExtrnChange()
{
    SpinField* f = ui->seFExtrn;
    if (f->value() < 100)
        f->setValue(100);
    else if (f->value() > 100000)
        f->setValue(100000);
    seSamplesFExtrnChange();
}

void MainWindow::seSamplesFExtrnChange()
{
    const int frequency = ui->seFExtrn->value();
    if (frequency <= 0)
        return;  // only while seFExtrnChange is about to clamp the field and call again
    ui->lbTimeFExtr->setText(
        Format(u"Время измерения: %dc", {ui->seSamplesFExtrn->value() / frequency}));
}

void MainWindow::TimErrColorTimer()
{
    // The calculator keeps the blink phase; the label only shows it.
    ft.TimErrColorTimer();
    QLabel* l = ui->lErrIn;
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, ft.lErrIn().yellow ? QColor(Qt::yellow) : QColor(Qt::red));
    l->setPalette(p);
}

}  // namespace korvel
