#pragma once
// The spectrum and spectrogram windows' places and choices, each in a section of its own after
// the main window's keys, which they leave as they are.

#include <QList>

namespace korvel {

class IniFile;
struct UnconvertedValue;

struct SpectrumSettings {
    int height = 560;
    int width = 820;
    int left = -1;         // -1: not placed yet, beside the main window
    int top = -1;
    int window = 0;        // 0 Hann, 1 rectangular, 2 flat-top
    int segment = 0;       // 0 one transform; otherwise the Welch segment length
    int overlap = 50;      // %: 0, 50 or 75
    int averaging = 0;     // 0 mean, 1 peak hold
    int scale = 0;         // 0 amplitude, 1 RMS, 2 PSD, 3 ASD
    int quantity = 0;      // 0 as recorded (acceleration), 1 velocity, 2 displacement
    double lowCutHz = 10.0;
    bool band = false;
    double bandFromHz = 10.0;
    double bandToHz = 1000.0;
    bool peaks = false;    // the peak list shown
    int peakCount = 5;
    bool decibels = false;
    bool logFrequency = false;
};

struct SpectrogramSettings {
    int height = 520;
    int width = 820;
    int left = -1;
    int top = -1;
    int window = 0;
    int segment = 1024;
    int overlap = 50;
    int scale = 0;
    bool decibels = true;
};

// A missing or unusable value takes its default; a value that is not a number is also added to
// unconverted, when given.
SpectrumSettings ReadSpectrumSettings(const IniFile& ini,
                                      QList<UnconvertedValue>* unconverted = nullptr);
void WriteSpectrumSettings(const SpectrumSettings& s, IniFile& ini);
SpectrogramSettings ReadSpectrogramSettings(const IniFile& ini,
                                            QList<UnconvertedValue>* unconverted = nullptr);
void WriteSpectrogramSettings(const SpectrogramSettings& s, IniFile& ini);

}  // namespace korvel
