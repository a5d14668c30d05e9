#pragma once
// The spectrum window's place and choices, in a section of its own after the main window's
// keys, which it leaves as they are.

#include <QList>

namespace korvel {

class IniFile;
struct UnconvertedValue;

struct SpectrumSettings {
    int height = 520;
    int width = 760;
    int left = -1;         // -1: not placed yet, beside the main window
    int top = -1;
    int window = 0;        // 0 Hann, 1 rectangular, 2 flat-top
    int segment = 0;       // 0 one transform; otherwise the Welch segment length
    bool decibels = false;
    bool logFrequency = false;
};

// A missing or unusable value takes its default; a value that is not a number is also added to
// unconverted, when given.
SpectrumSettings ReadSpectrumSettings(const IniFile& ini,
                                      QList<UnconvertedValue>* unconverted = nullptr);
void WriteSpectrumSettings(const SpectrumSettings& s, IniFile& ini);

}  // namespace korvel
