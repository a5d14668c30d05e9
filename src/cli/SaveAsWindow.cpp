#include "cli/SaveAsWindow.h"

#include "chart/PlottedSignal.h"
#include "chart/Scaling.h"
#include "cli/FileSignal.h"
#include "cli/Options.h"
#include "files/DataFileIo.h"
#include "files/OpenExport.h"
#include "files/TextExport.h"
#include "record/BoardWords.h"

#include <limits>

namespace korvel::cli {

QString ScalingError(const SettingsValues& settings, bool AccelerometerMode)
{
    if (AccelerometerMode)
        return {};
    try {
        GetScaleParams(ScaleInputsFrom(settings, {}));
    } catch (const ConversionError& e) {
        return e.message();
    }
    return {};
}

namespace {

// Every point as the chart plots it after the run: the settings' display mode and scaling.
QString SaveOpenFormat(const QString& path, SaveFormat format, const Recording& record,
                       const SaveChoices& choices, const SettingsValues& settings)
{
    const XUnit unit = XUnitOfName(TimeAxisName(choices.XUnitName));
    ScaleParams scale;
    try {
        scale = GetScaleParams(ScaleInputsFrom(settings, unit.XUnitName));
    } catch (const ConversionError& e) {
        return e.message();
    }
    const PlottedSignal signal = PlotSignal(
        record, {settings.cbShowK, unit.XUnitFactor, scale.coefficients, choices.termoHasPoints});
    const double all = std::numeric_limits<double>::infinity();
    if (format == SaveFormat::Wav)
        return WriteFileAtomically(path, ToWav(signal, -all, all));
    QString yName = scale.titles.left;
    if (yName.isEmpty())
        yName = choices.AccelerometerMode ? AccelerationAxisName() : SignalAxisName();
    const ExportTable t = BuildExportTable(signal, -all, all, scale.titles.bottom, yName);
    return WriteFileAtomically(path, format == SaveFormat::Csv ? ToCsv(t) : ToNpy(t));
}

}  // namespace

QString SaveAsSaveButton(const QString& path, const Recording& record, const SaveChoices& choices,
                         const SettingsValues& settings)
{
    ScaleCoefficients scale;
    if (!choices.AccelerometerMode) {
        try {
            scale = GetScaleParams(ScaleInputsFrom(settings, choices.XUnitName)).coefficients;
        } catch (const ConversionError& e) {
            return e.message();
        }
    }
    // The window names the X axis when the transfer starts.
    const QString AxisXName = TimeAxisName(choices.XUnitName);

    if (const SaveFormat format = ChooseSaveFormat(path, choices.AccelerometerMode);
        format == SaveFormat::Csv || format == SaveFormat::Npy || format == SaveFormat::Wav)
        return SaveOpenFormat(path, format, record, choices, settings);

    if (ChooseSaveFormat(path, choices.AccelerometerMode) == SaveFormat::TextExport) {
        const bool realTimeData = record.isRealTime();
        TextExportInput in;
        in.ScaleK = scale.ScaleK;
        in.ScaleShift = scale.ScaleShift;
        in.eYTitle = settings.eYTitle;
        in.AxisXName = AxisXName;
        in.cbTxtSaveX = settings.cbTxtSaveX;
        in.cbTxtSaveY = settings.cbTxtSaveY;
        in.cbTermo = realTimeData ? choices.termoHasPoints : settings.cbTermo;
        in.cbDgt1 = settings.cbDgt1;
        in.cbDgt2 = settings.cbDgt2;
        in.cbDgt3 = settings.cbDgt3;
        in.first = 0;
        in.last = (realTimeData ? record.RealTimeCount
                                : static_cast<int>(record.SampleBuffer.size() / 2)) - 1;
        return SaveTextExport(path, record, in).error;
    }

    DataFileSaveInput in;
    in.AccelerometerMode = choices.AccelerometerMode;
    in.termoHasPoints = choices.termoHasPoints;
    in.ScaleK = scale.ScaleK;
    in.ScaleShift = scale.ScaleShift;
    in.AxisXName = AxisXName;
    in.eYTitle = settings.eYTitle;
    in.comment = choices.comment;
    const DataFileSaveResult result = SaveDataFile(path, record, in);
    return result.output ? QString() : result.error;
}

}  // namespace korvel::cli
