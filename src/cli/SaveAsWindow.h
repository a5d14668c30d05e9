#pragma once
// Saving as the window's save button saves, for the subcommands that take a measurement.

#include "record/Recording.h"
#include "settings/Settings.h"

#include <QString>

namespace korvel::cli {

// What saving needs besides the record, as the run left the window's controls.
struct SaveChoices {
    bool AccelerometerMode = false;
    bool termoHasPoints = false;    // the temperature trace holds points
    QString XUnitName;
    QString comment;
};

// The coefficients a save would write, or the conversion's message. The accelerometer layout
// stores none, so it needs none (as in the window).
QString ScalingError(const SettingsValues& settings, bool AccelerometerMode);

// The save button's work for path: a data file, for the ".txt" extension the text export of
// every point, for ".csv", ".npy" and ".wav" that open format of every point as the chart
// plots it. Scaling and names come from the settings as the window would have them.
// Returns an empty string or the message of the failure.
QString SaveAsSaveButton(const QString& path, const Recording& record, const SaveChoices& choices,
                         const SettingsValues& settings);

}  // namespace korvel::cli
