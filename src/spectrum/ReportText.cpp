#include "spectrum/ReportText.h"

#include "text/NumberFormat.h"

#include <QFileInfo>
#include <QLocale>

namespace korvel {

namespace {

QString orDash(const QString& text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("—") : text.trimmed();
}

QString dateTimeText(const QDateTime& t)
{
    return t.isValid() ? t.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) : QStringLiteral("—");
}

}  // namespace

ReportText BuildReportText(const ReportRecord& record, const SignalAnalysis& a, const QDateTime& now)
{
    ReportText r;
    r.title = QStringLiteral("Протокол измерения");
    r.header = {
        {QStringLiteral("Файл"), record.fileName.isEmpty() ? QStringLiteral("не сохранён")
                                                           : QFileInfo(record.fileName).fileName()},
        {QStringLiteral("Дата и время записи"), dateTimeText(record.recorded)},
        {QStringLiteral("Протокол составлен"), dateTimeText(now)},
        {QStringLiteral("Комментарий"), orDash(record.comment)},
        {QStringLiteral("Масштаб"),
         QStringLiteral("коэффициент %1, смещение %2; ось Y «%3», ось X «%4»")
             .arg(FloatToStr(record.ScaleK))
             .arg(record.ScaleShift)
             .arg(orDash(record.AxisYName), orDash(record.AxisXName))},
    };
    const SpectrumOptions& o = a.options.spectrum;
    const Spectrum* s = a.channels.empty() ? nullptr : &a.channels.front().spectrum;
    QString line = QStringLiteral("Спектр: окно «%1», ").arg(WindowFunctionName(o.window));
    if (s && s->segments > 1)
        line += QStringLiteral("сегмент %1 точек, перекрытие %2 %, %3 по %4 сегментам")
                    .arg(s->transformLength)
                    .arg(o.overlapPercent)
                    .arg(o.averaging == Averaging::PeakHold ? QStringLiteral("пиковое удержание")
                                                            : QStringLiteral("среднее"))
                    .arg(s->segments);
    else
        line += QStringLiteral("одно преобразование по %1 точкам").arg(s ? s->transformLength : 0);
    line += QStringLiteral("; шкала: %1").arg(ScaleName(a.options.scale));
    if (s)
        line += QStringLiteral("; разрешение %1 Гц").arg(QLocale().toString(s->resolutionHz, 'g', 4));
    r.spectrumLine = line;
    r.note = IntegrationNote(a);
    r.valueUnit = ValueUnit(a);
    r.measured = MeasuredQuantity(a).isEmpty() ? QStringLiteral("Измерение") : MeasuredQuantity(a);
    r.measurements = MeasurementRows(a);
    if (const std::optional<MeasurementRow> band = BandRow(a))
        r.measurements.push_back(*band);
    for (size_t c = 0; c < a.channels.size(); ++c) {
        const QString name = ChannelName(a, c);
        r.channels << (name.isEmpty() ? QStringLiteral("Значение") : QStringLiteral("Канал ") + name);
        r.peaks.push_back(PeakRows(a, c));
    }
    return r;
}

}  // namespace korvel
