#pragma once
// The integer spin field of every se… control. It behaves like the classic spin edit the window's
// logic was written against, not like QSpinBox: the text is read without clamping, the exit
// signal comes before the field clamps itself, and Enter is refused.

#include <QAbstractSpinBox>

namespace korvel {

class SpinField : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int singleStep READ singleStep WRITE setSingleStep)
    Q_PROPERTY(int value READ value WRITE setValue)
    Q_PROPERTY(TypedKeys typedKeys READ typedKeys WRITE setTypedKeys)

public:
    // Which typed characters the field takes.
    enum TypedKeys {
        NumberKeys,  // digits, '+', '-', the decimal separator and control characters
        DigitKeys,   // digits and Backspace
        NoKeys,      // none: the value changes by the arrows and spin buttons only
    };
    Q_ENUM(TypedKeys)

    explicit SpinField(QWidget* parent = nullptr);

    int minimum() const { return min_; }
    int maximum() const { return max_; }
    int singleStep() const { return step_; }
    TypedKeys typedKeys() const { return keys_; }
    void setMinimum(int v) { min_ = v; }
    void setMaximum(int v) { max_ = v; }
    void setSingleStep(int v) { step_ = v; }
    void setTypedKeys(TypedKeys k) { keys_ = k; }

    // The text read as an integer, out of range or not; the minimum when it is no integer.
    int value() const;
    // Clamps into range (unless minimum equals maximum) and shows the value; a changed text
    // emits changed().
    void setValue(int v);
    // Clamps a value the way setValue does.
    int clamped(int v) const;

    void stepBy(int steps) override;

signals:
    // Every change of the text, typing included.
    void changed();
    // The field is losing the focus; emitted before the field clamps its own text.
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    bool accepts(QChar c) const;

    int min_ = 0;
    int max_ = 0;
    int step_ = 1;
    TypedKeys keys_ = NumberKeys;
};

}  // namespace korvel
