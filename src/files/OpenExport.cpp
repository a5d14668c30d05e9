#include "files/OpenExport.h"

#include "record/BoardWords.h"
#include "text/NumberFormat.h"

#include <QtEndian>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

constexpr double Missing = std::numeric_limits<double>::quiet_NaN();

std::vector<IndexRange> rangesOf(const PlottedSignal& s, double from, double to)
{
    std::vector<IndexRange> r;
    for (const SignalChannel& c : s.channels)
        r.push_back(PointsWithin(c.points, from, to));
    return r;
}

qsizetype longest(const std::vector<IndexRange>& ranges)
{
    qsizetype n = 0;
    for (const IndexRange& r : ranges)
        n = std::max(n, r.count);
    return n;
}

QByteArray csvField(const QString& text)
{
    QByteArray f = text.toUtf8();
    if (!f.contains(',') && !f.contains('"') && !f.contains('\n') && !f.contains('\r'))
        return f;
    f.replace("\"", "\"\"");
    return '"' + f + '"';
}

template <typename T>
void put(QByteArray& out, T v)
{
    char le[sizeof(T)];
    qToLittleEndian(v, le);
    out.append(le, sizeof(T));
}

}  // namespace

ExportTable BuildExportTable(const PlottedSignal& s, double from, double to,
                             const QString& xName, const QString& yName)
{
    ExportTable t;
    const std::vector<IndexRange> ranges = rangesOf(s, from, to);
    const qsizetype rows = longest(ranges);
    const bool accelerometer = s.kind == PlotKind::AccelerometerOneChannel
                               || s.kind == PlotKind::AccelerometerTwoChannels;
    const auto column = [&] { return std::vector<double>(size_t(rows), Missing); };

    // Time from the channel with the most points: both channels of a record share their X.
    const size_t timeChannel = size_t(std::max_element(ranges.begin(), ranges.end(),
                                                       [](auto a, auto b) { return a.count < b.count; })
                                      - ranges.begin());
    t.names << xName;
    t.columns.push_back(column());
    for (qsizetype i = 0; i < rows; ++i)
        t.columns.back()[i] = s.channels[timeChannel].points.x[ranges[timeChannel].first + i];

    for (size_t c = 0; c < s.channels.size(); ++c) {
        if (s.channels.size() == 1)
            t.names << yName;
        else
            t.names << yName + (c == 0 ? QStringLiteral(" (X)") : QStringLiteral(" (Y)"));
        t.columns.push_back(column());
        for (qsizetype i = 0; i < ranges[c].count; ++i)
            t.columns.back()[i] = s.channels[c].points.y[ranges[c].first + i];
    }
    if (accelerometer || s.channels.empty())
        return t;

    // An accelerometer's bit 15 marks its channel; only other records carry digital lines.
    const SignalChannel& signal = s.channels.front();
    const IndexRange r = ranges.front();
    for (int line = 0; line < 3; ++line) {
        t.names << QStringLiteral("d%1").arg(line + 1);
        t.columns.push_back(column());
        const quint16 bit = quint16(1u << (13 + line));
        for (qsizetype i = 0; i < r.count; ++i)
            t.columns.back()[i] = (signal.words[size_t(r.first + i)] & bit) ? 1.0 : 0.0;
    }
    if (!s.temperature.empty()) {
        t.names << QStringLiteral("T, °C");
        t.columns.push_back(column());
        for (qsizetype i = 0; i < r.count; ++i)
            t.columns.back()[i] = s.temperature[size_t(r.first + i)] / 4.0;
    }
    return t;
}

QByteArray NumberText(double v)
{
    char number[32];
    const auto end = std::to_chars(number, number + sizeof number, v).ptr;
    return QByteArray(number, end - number);
}

QByteArray ToCsv(const ExportTable& t)
{
    QByteArray out;
    for (qsizetype c = 0; c < t.names.size(); ++c) {
        if (c > 0)
            out += ',';
        out += csvField(t.names[c]);
    }
    out += '\n';
    const qsizetype rows = t.rows();
    // About 24 characters a number at most; one reservation for the whole table.
    out.reserve(out.size() + rows * qsizetype(t.columns.size()) * 25);
    char number[32];
    for (qsizetype i = 0; i < rows; ++i) {
        for (size_t c = 0; c < t.columns.size(); ++c) {
            if (c > 0)
                out += ',';
            const double v = t.columns[c][size_t(i)];
            if (std::isnan(v))
                continue;
            // The shortest text that reads back as the same double; never a decimal comma.
            const auto end = std::to_chars(number, number + sizeof number, v).ptr;
            out.append(number, end - number);
        }
        out += '\n';
    }
    return out;
}

QByteArray ToNpy(const ExportTable& t)
{
    QByteArray header = QStringLiteral("{'descr': '<f8', 'fortran_order': False, 'shape': (%1, %2), }")
                            .arg(t.rows())
                            .arg(t.columns.size())
                            .toLatin1();
    // Magic, version and length take 10 bytes; the data starts on a 64-byte boundary.
    const qsizetype total = (10 + header.size() + 1 + 63) / 64 * 64;
    header += QByteArray(total - 10 - header.size() - 1, ' ');
    header += '\n';

    QByteArray out("\x93NUMPY\x01\x00", 8);
    put<quint16>(out, quint16(header.size()));
    out += header;
    const qsizetype rows = t.rows();
    const qsizetype cols = qsizetype(t.columns.size());
    const qsizetype start = out.size();
    out.resize(start + rows * cols * 8);
    char* d = out.data() + start;
    for (qsizetype i = 0; i < rows; ++i)
        for (qsizetype c = 0; c < cols; ++c, d += 8)
            qToLittleEndian(t.columns[size_t(c)][size_t(i)], d);
    return out;
}

QByteArray ToWav(const PlottedSignal& s, double from, double to)
{
    const std::vector<IndexRange> ranges = rangesOf(s, from, to);
    const qsizetype frames = longest(ranges);
    const auto channels = quint16(s.channels.size());
    const long long rate = s.samplePeriodSeconds > 0 ? Round(1.0 / s.samplePeriodSeconds) : 0;
    const auto sampleRate = quint32(std::clamp<long long>(rate, 1, std::numeric_limits<quint32>::max()));
    const quint32 dataBytes = quint32(frames * channels * 2);

    QByteArray out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put<quint32>(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put<quint32>(out, 16);
    put<quint16>(out, 1);   // PCM
    put<quint16>(out, channels);
    put<quint32>(out, sampleRate);
    put<quint32>(out, sampleRate * channels * 2);
    put<quint16>(out, quint16(channels * 2));
    put<quint16>(out, 16);
    out += "data";
    put<quint32>(out, dataBytes);
    const qsizetype start = out.size();
    out.resize(start + dataBytes);
    char* d = out.data() + start;
    for (qsizetype i = 0; i < frames; ++i) {
        for (size_t c = 0; c < s.channels.size(); ++c, d += 2) {
            qint16 v = 0;
            if (i < ranges[c].count)
                v = qint16((Reading(s.channels[c].words[size_t(ranges[c].first + i)]) - 2048) * 16);
            qToLittleEndian(v, d);
        }
    }
    return out;
}

}  // namespace korvel
