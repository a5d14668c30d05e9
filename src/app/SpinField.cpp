#include "app/SpinField.h"

#include "text/NumberFormat.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <climits>

namespace korvel {

SpinField::SpinField(QWidget* parent) : QAbstractSpinBox(parent)
{
    setKeyboardTracking(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinField::changed);
}

int SpinField::value() const
{
    int v = 0;
    return TryStrToInt(lineEdit()->text(), &v) ? v : min_;
}

int SpinField::clamped(int v) const
{
    if (min_ == max_)
        return v;
    return std::clamp(v, std::min(min_, max_), std::max(min_, max_));
}

void SpinField::setValue(int v)
{
    lineEdit()->setText(QString::number(clamped(v)));
}

void SpinField::stepBy(int steps)
{
    const long long next = static_cast<long long>(value()) + static_cast<long long>(steps) * step_;
    setValue(static_cast<int>(std::clamp<long long>(next, INT_MIN, INT_MAX)));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State SpinField::validate(QString&, int&) const
{
    return QValidator::Acceptable;  // keys are filtered as they are typed; the text is read leniently
}

void SpinField::fixup(QString&) const {}

bool SpinField::accepts(QChar c) const
{
    const bool control = c.unicode() < 0x20 || c.unicode() == 0x7f;
    if (c == QChar('\r') || c == QChar('\n'))
        return false;  // Enter in a field must not act on the field's text
    switch (keys_) {
    case NumberKeys:
        return control || c.isDigit() || c == QChar('+') || c == QChar('-') || c == DecimalSeparator();
    case DigitKeys:
        return (c >= QChar('0') && c <= QChar('9')) || c == QChar('\b');
    case NoKeys:
        return false;
    }
    return false;
}

void SpinField::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Delete edits like Backspace wherever typing is allowed at all.
    const bool del = event->key() == Qt::Key_Delete && keys_ != NoKeys;
    if (enter || (!del && !text.isEmpty() && !accepts(text.front()))) {
        QApplication::beep();
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void SpinField::focusOutEvent(QFocusEvent* event)
{
    emit exited();
    const int v = value();
    if (clamped(v) != v)
        setValue(v);
    QAbstractSpinBox::focusOutEvent(event);
}

}  // namespace korvel
