#pragma once
// The visible part of a record as a tab-separated Windows-1251 table whose every line ends
// with a single CR.

#include "record/Recording.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace korvel {

struct TextExportInput {
    double ScaleK = 0.0;      // already recomputed from the controls by the caller
    qint32 ScaleShift = 0;
    QString eYTitle;
    QString AxisXName;
    int cbTxtSaveX = 0;       // 0 no X, 1 numbered from 0, 2 numbered from 1, 3 index on the chart
    int cbTxtSaveY = 0;       // 0 scaled value, 1 ADC units
    bool cbTermo = false;
    bool cbDgt1 = false;
    bool cbDgt2 = false;
    bool cbDgt3 = false;
    bool CoefficientsFromFile = false;
    int first = 0;                      // first and last visible point index of Series1
    int last = -1;
};

struct TextExportOutput {
    QByteArray bytes;
    QString AxisYName;  // the name the export set
};

TextExportOutput BuildTextExport(const Recording& record, const TextExportInput& in);

}  // namespace korvel
