#pragma once
// The logic of the F/T window without its widgets: three integer spin fields, the divisor pair,
// the true-value labels and the blinking error label. The window mirrors its widgets into this
// object (typed text, focus moves, spin steps) and shows back what it holds.

#include "timing/Divisors.h"

#include <QString>
#include <optional>

namespace korvel {

// An integer spin field as the window relies on it: it holds text, reads a non-integer text as
// its minimum, and clamps a value set into its range.
class FieldModel {
public:
    FieldModel(int minValue, int maxValue, int step, int value);

    int value() const;
    int clamp(int v) const;
    const QString& text() const { return text_; }
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int step() const { return step_; }

private:
    friend class FtCalculator;
    int min_;
    int max_;
    int step_;
    QString text_;
};

enum class FtField { seF, seTime, seSamples };
// Where the keyboard focus is; Other stands for any control outside the three fields.
enum class FtFocus { Other, seF, seTime, seSamples };

struct ErrorLabel {
    QString text;
    bool visible = false;
    bool blinking = true;  // TimErrColor runs from start-up until the first calculator step
    bool yellow = false;   // the label is red otherwise
};

class FtCalculator {
public:
    // The start-up state: seSamples = 30000·SRAMblocks, seF = F, seTime from Time4allSRAM.
    // No handler runs and no divisor pair exists until the window is first opened.
    FtCalculator(int SRAMblocks = 8, int Time4allSRAM = 10000, int F = 2400);

    // What the user does.
    void typeText(FtField field, const QString& text);  // seSamples takes no typed characters
    void setValue(FtField field, int value);            // clamps; a changed text runs OnChange
    void stepBy(FtField field, int steps);              // arrow keys and spin buttons
    void setFocus(FtFocus to);  // the field left runs its exit handler, then clamps its text
    void open();                // btChooseFClick when it shows the window
    void TimErrColorTimer();
    // The external-clock start records its own block count here; the sample field keeps its
    // text until the user changes it.
    void setSRAMblocks(int blocks);

    // Handlers, callable directly like the window's own.
    void seFChange();
    void seTimeChange();
    void seFExit();
    void seTimeExit();
    void seSamplesChange();

    int SRAMblocks() const { return SRAMblocks_; }
    int Time4allSRAM() const { return Time4allSRAM_; }
    std::optional<DivisorPair> divisors() const { return divisors_; }
    const TrueValues& trueValues() const { return trueValues_; }
    const ErrorLabel& lErrIn() const { return lErrIn_; }
    FtFocus focus() const { return focus_; }
    const FieldModel& seF() const { return seF_; }
    const FieldModel& seTime() const { return seTime_; }
    const FieldModel& seSamples() const { return seSamples_; }

private:
    FieldModel& field(FtField f);
    void setText(FtField f, const QString& text);
    void clampOnExit(FtField f);
    void hideError();
    void showError(const QString& text);
    void recompute();
    void durationFromFrequency();

    int SRAMblocks_;
    int Time4allSRAM_;
    std::optional<DivisorPair> divisors_;
    TrueValues trueValues_;
    ErrorLabel lErrIn_;
    FtFocus focus_ = FtFocus::Other;
    FieldModel seF_;
    FieldModel seTime_;
    FieldModel seSamples_;
};

}  // namespace korvel
