#include "files/TextExport.h"

#include "record/BoardWords.h"
#include "record/DigitalLineNames.h"
#include "text/Cp1251.h"
#include "text/NumberFormat.h"

#include <QStringList>

namespace korvel {

namespace {

struct RowWords {
    quint16 signal = 0;
    qint16 temperature = 0;
};

}  // namespace

TextExportOutput BuildTextExport(const Recording& record, const TextExportInput& in)
{
    TextExportOutput out;
    out.AxisYName = in.eYTitle.isEmpty() ? SignalAxisName() : in.eYTitle;

    const bool realTimeData = record.isRealTime();
    const bool loadedWithTemperature =
        in.CoefficientsFromFile && record.DataKind == DataKindWithTemperature;
    const bool realTimeRows = realTimeData || loadedWithTemperature;
    const bool xColumn = in.cbTxtSaveX >= 1 && in.cbTxtSaveX <= 3;
    const bool tColumn = realTimeRows && (in.cbTermo || loadedWithTemperature);

    QString text;
    const QChar cr('\r');
    text += FloatToStr(in.ScaleK) + "\t;scale for Y" + cr;
    text += QString::number(in.ScaleShift) + "\t;Shift for Y" + cr;
    text += out.AxisYName + "\t;name of Y axis" + cr;
    text += in.AxisXName + "\t;name of X axis" + cr;

    QStringList labels;
    if (xColumn)
        labels << QStringLiteral("X:");
    labels << QStringLiteral("Y:");
    if (tColumn)
        labels << QStringLiteral("T");
    const bool linesShown[3] = {in.cbDgt1, in.cbDgt2, in.cbDgt3};
    for (int line = 0; line < 3; ++line)
        if (linesShown[line])
            labels << DigitalLineName(line);
    text += labels.join('\t') + cr;

    // A loaded recording with temperature keeps signal then temperature words in the buffer;
    // points beyond the real-time tables are taken from there.
    const QByteArray& buffer = record.SampleBuffer;
    const qsizetype loadedPoints = buffer.size() / 4;
    const auto wordsAt = [&](qsizetype i, RowWords* w) -> bool {
        if (realTimeRows) {
            if (i < qsizetype(record.RealTimeSignal.size())) {
                w->signal = record.RealTimeSignal[i];
                w->temperature = i < qsizetype(record.RealTimeTemperature.size())
                                     ? record.RealTimeTemperature[i]
                                     : 0;
                return true;
            }
            if (!realTimeData && loadedWithTemperature && i < loadedPoints) {
                w->signal = SampleWordAt(buffer, i);
                w->temperature = qint16(SampleWordAt(buffer, loadedPoints + i));
                return true;
            }
            return false;
        }
        if (i >= buffer.size() / 2)
            return false;
        w->signal = SampleWordAt(buffer, i);
        return true;
    };

    const bool digital[3] = {in.cbDgt1, in.cbDgt2, in.cbDgt3};
    if (in.first >= 0) {
        QStringList row;
        for (qsizetype i = in.first; i <= in.last; ++i) {
            RowWords w;
            if (!wordsAt(i, &w))
                break;
            const qsizetype n = i - in.first;
            row.clear();
            if (in.cbTxtSaveX == 1)
                row << QString::number(n);
            else if (in.cbTxtSaveX == 2)
                row << QString::number(n + 1);
            else if (in.cbTxtSaveX == 3)
                row << QString::number(i);
            const int v = Reading(w.signal);
            if (in.cbTxtSaveY == 1)
                row << QString::number(v);
            else
                row << Format(u"%f", {double(qint64(v) - in.ScaleShift) * in.ScaleK});
            if (tColumn)
                row << Format(u"%f", {w.temperature / 4.0});
            for (int line = 0; line < 3; ++line)
                if (digital[line])
                    row << QString(QChar(LineHigh(w.signal, line) ? '1' : '0'));
            text += row.join('\t') + cr;
        }
    }
    out.bytes = ToCp1251(text);
    return out;
}

}  // namespace korvel
