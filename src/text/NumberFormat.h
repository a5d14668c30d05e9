#pragma once
// Number texts as the user sees them: the locale's decimal separator, round half to even,
// and a small Format() for the program's printf-like patterns ("%4.1f", "%.2d", "%f", "%s").

#include <QString>
#include <QStringView>
#include <initializer_list>
#include <stdexcept>
#include <variant>

namespace korvel {

// Round to the nearest integer, a tie going to the even neighbour.
long long Round(double v);

// The decimal separator of the default locale (QLocale::setDefault pins it in tests).
QChar DecimalSeparator();

// A text that was to be a number and is not. Thrown inside an operation and caught at the
// handler's edge, where its Russian message is shown.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& message);
    QString message() const { return message_; }

private:
    QString message_;
};

// Fixed notation with the locale's separator and no digit grouping.
QString FormatFixed(double v, int decimals);
// Up to 15 significant digits, the locale's separator: 1.0 gives "1", 0.61 gives "0,61".
QString FloatToStr(double v);
// A number typed with the locale's separator; surrounding blanks are allowed.
double StrToFloat(const QString& text);          // throws ConversionError
bool TryStrToFloat(QStringView text, double* out);
inline bool TryStrToFloat(const QString& text, double* out)
{
    return TryStrToFloat(QStringView(text), out);
}
// A number the program wrote in some locale: a point or a comma as the decimal separator. Such
// texts never carry digit grouping, so a comma is never a thousands separator.
bool TryStrToFloatEitherSeparator(QStringView text, double* out);
// A number so written, retold with the locale's separator ("155,0" is "155.0" in a point
// locale); any other text stays as it is.
QString WithLocaleSeparator(QStringView text);
// A decimal integer with an optional sign, 32 bits; surrounding blanks are allowed.
int StrToInt(const QString& text);               // throws ConversionError
bool TryStrToInt(QStringView text, int* out);
inline bool TryStrToInt(const QString& text, int* out)
{
    return TryStrToInt(QStringView(text), out);
}

class FormatArg {
public:
    FormatArg(int v) : v_(static_cast<long long>(v)) {}
    FormatArg(unsigned v) : v_(static_cast<long long>(v)) {}
    FormatArg(long v) : v_(static_cast<long long>(v)) {}
    FormatArg(long long v) : v_(v) {}
    FormatArg(unsigned long v) : v_(static_cast<long long>(v)) {}
    FormatArg(unsigned long long v) : v_(static_cast<long long>(v)) {}
    FormatArg(double v) : v_(v) {}
    FormatArg(const QString& v) : v_(v) {}
    FormatArg(const char* v) : v_(QString::fromUtf8(v)) {}

    const std::variant<long long, double, QString>& value() const { return v_; }

private:
    std::variant<long long, double, QString> v_;
};

// A count of bytes with the word in its Russian form: "1 байт", "502 байта", "530 байт".
QString BytesText(long long n);

// Patterns: %[-][width][.precision](d|u|f|s|x|X) and %%. "%f" without precision prints two
// decimals; "%.2d" pads an integer with zeros to two digits; width pads with blanks.
QString Format(QStringView pattern, std::initializer_list<FormatArg> args);

}  // namespace korvel
