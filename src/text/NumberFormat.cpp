#include "text/NumberFormat.h"

#include <QByteArrayView>
#include <QLocale>
#include <QVarLengthArray>
#include <cmath>
#include <limits>

namespace korvel {

long long Round(double v)
{
    return std::llrint(v);  // default rounding mode: to nearest, ties to even
}

QChar DecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.front();
}

ConversionError::ConversionError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

namespace {

QString localised(QString cText)
{
    const QChar sep = DecimalSeparator();
    if (sep != '.')
        cText.replace('.', sep);
    return cText;
}

}  // namespace

QString FormatFixed(double v, int decimals)
{
    return localised(QString::number(v, 'f', decimals));
}

QString FloatToStr(double v)
{
    QString t = QString::number(v, 'g', 15);
    t.replace('e', 'E');
    return localised(t);
}

namespace {

// By hand, without a regular expression or a copy on the heap: digits with one decimal
// separator and an exponent, the shape [+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?, taken to
// ASCII with a point for Qt's C-locale conversion. sep and otherSep are the separators taken.
bool parseFloat(QStringView text, QChar sep, QChar otherSep, double* out)
{
    const QStringView t = text.trimmed();
    QVarLengthArray<char, 64> c(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar ch = t[i];
        if (ch == sep || ch == otherSep)
            c[i] = '.';
        else if (ch == u'.' || ch.unicode() > 0x7F)
            return false;  // a point where the locale has another separator, or no digit
        else
            c[i] = char(ch.unicode());
    }
    const qsizetype n = c.size();
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < n && c[i] >= '0' && c[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < n && (c[i] == '+' || c[i] == '-'))
        ++i;
    const qsizetype whole = digits();
    qsizetype fraction = 0;
    if (i < n && c[i] == '.') {
        ++i;
        fraction = digits();
    }
    if (whole == 0 && fraction == 0)
        return false;
    if (i < n && (c[i] == 'e' || c[i] == 'E')) {
        ++i;
        if (i < n && (c[i] == '+' || c[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    if (i != n)
        return false;
    bool ok = false;
    const double v = QByteArrayView(c.constData(), n).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

}  // namespace

bool TryStrToFloat(QStringView text, double* out)
{
    const QChar sep = DecimalSeparator();
    return parseFloat(text, sep, sep, out);
}

bool TryStrToFloatEitherSeparator(QStringView text, double* out)
{
    return parseFloat(text, u'.', u',', out);
}

QString WithLocaleSeparator(QStringView text)
{
    double ignored = 0;
    QString t = text.toString();
    if (!TryStrToFloatEitherSeparator(text, &ignored))
        return t;
    const QChar sep = DecimalSeparator();
    for (QChar& c : t)
        if (c == u'.' || c == u',')
            c = sep;
    return t;
}

double StrToFloat(const QString& text)
{
    double v = 0;
    if (!TryStrToFloat(text, &v))
        throw ConversionError(QStringLiteral("«%1» не является правильным числом").arg(text));
    return v;
}

bool TryStrToInt(QStringView text, int* out)
{
    // By hand, without a regular expression or a copy: the settings hold dozens of integers.
    const QStringView t = text.trimmed();
    const bool sign = !t.isEmpty() && (t.front() == u'-' || t.front() == u'+');
    const QStringView digits = t.sliced(sign ? 1 : 0);
    if (digits.isEmpty())
        return false;
    long long v = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c.unicode() - u'0');
        if (v > -static_cast<long long>(std::numeric_limits<int>::min()))
            return false;
    }
    if (sign && t.front() == u'-')
        v = -v;
    if (v > std::numeric_limits<int>::max())
        return false;
    *out = static_cast<int>(v);
    return true;
}

int StrToInt(const QString& text)
{
    int v = 0;
    if (!TryStrToInt(text, &v))
        throw ConversionError(QStringLiteral("«%1» не является правильным целым числом").arg(text));
    return v;
}

namespace {

QString pad(const QString& s, int width, bool left)
{
    if (s.size() >= width)
        return s;
    const QString fill(width - s.size(), ' ');
    return left ? s + fill : fill + s;
}

long long asInteger(const FormatArg& a)
{
    if (const auto* i = std::get_if<long long>(&a.value()))
        return *i;
    if (const auto* d = std::get_if<double>(&a.value()))
        return static_cast<long long>(*d);
    return 0;
}

double asDouble(const FormatArg& a)
{
    if (const auto* d = std::get_if<double>(&a.value()))
        return *d;
    if (const auto* i = std::get_if<long long>(&a.value()))
        return static_cast<double>(*i);
    return 0;
}

QString asString(const FormatArg& a)
{
    if (const auto* s = std::get_if<QString>(&a.value()))
        return *s;
    if (const auto* i = std::get_if<long long>(&a.value()))
        return QString::number(*i);
    return FloatToStr(std::get<double>(a.value()));
}

}  // namespace

QString BytesText(long long n)
{
    const long long tens = n % 100;
    const long long ones = n % 10;
    const bool few = ones >= 2 && ones <= 4 && !(tens >= 12 && tens <= 14);
    return QString::number(n) + (few ? QStringLiteral(" байта") : QStringLiteral(" байт"));
}

QString Format(QStringView pattern, std::initializer_list<FormatArg> args)
{
    QString out;
    out.reserve(pattern.size() + 16);
    auto next = args.begin();
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        bool left = false;
        if (j < pattern.size() && pattern[j] == '-') {
            left = true;
            ++j;
        }
        int width = 0;
        while (j < pattern.size() && pattern[j].isDigit())
            width = width * 10 + pattern[j++].digitValue();
        int precision = -1;
        if (j < pattern.size() && pattern[j] == '.') {
            ++j;
            precision = 0;
            while (j < pattern.size() && pattern[j].isDigit())
                precision = precision * 10 + pattern[j++].digitValue();
        }
        if (j >= pattern.size() || next == args.end()) {
            out += pattern.mid(i, j - i);
            i = j - 1;
            continue;
        }
        const QChar type = pattern[j].toLower();
        const FormatArg& arg = *next++;
        QString field;
        if (type == 'd' || type == 'u') {
            const long long v = asInteger(arg);
            field = QString::number(v < 0 ? -v : v);
            if (precision > 0 && field.size() < precision)
                field = QString(precision - field.size(), '0') + field;
            if (v < 0)
                field.prepend('-');
        } else if (type == 'x') {
            field = QString::number(static_cast<unsigned long long>(asInteger(arg)), 16);
            if (pattern[j] == 'X')
                field = field.toUpper();
            if (precision > 0 && field.size() < precision)
                field = QString(precision - field.size(), '0') + field;
        } else if (type == 'f') {
            field = FormatFixed(asDouble(arg), precision < 0 ? 2 : precision);
        } else if (type == 's') {
            field = asString(arg);
            if (precision >= 0)
                field.truncate(precision);
        } else {
            field = pattern.mid(i, j - i + 1).toString();
        }
        out += pad(field, width, left);
        i = j;
    }
    return out;
}

}  // namespace korvel
