#pragma once
// The spectrum's options shared by spectrum and report: window function, segment, overlap,
// averaging, scale, dB, integration, band and peak list; and the analysis as JSON.

#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "spectrum/SignalAnalysis.h"

#include <optional>

namespace korvel::cli {

void AddSpectrumOptions(CommandLine& cl);
// After cl.parse(); a bad value is recorded in cl (check cl.failed()).
AnalysisOptions ReadSpectrumOptions(CommandLine& cl);

// --window, --scale and --overlap alone, for the spectrogram; a bad value is recorded in cl.
WindowFunction ReadWindowOption(CommandLine& cl);
SpectrumScale ReadScaleOption(CommandLine& cl);
int ReadOverlapOption(CommandLine& cl);

// The option word of each choice, as the JSON names it too.
QString WindowWord(WindowFunction f);
QString ScaleWord(SpectrumScale s);
QString QuantityWord(Quantity q);

// How the spectrum was taken, its peak, peak list and band, per channel for two.
JsonFields AnalysisJson(const SignalAnalysis& a);

// The sample rate the analysis needs: nothing, with the message printed, when the file's
// period cannot give one.
bool CheckSampleRate(const SignalAnalysis& a, const QString& path);
// Says on stderr what an integration of a signal that is no acceleration did; a band past the
// Nyquist frequency is a failure: false then, with the message printed.
bool ReportVibrationLimits(const SignalAnalysis& a);

}  // namespace korvel::cli
