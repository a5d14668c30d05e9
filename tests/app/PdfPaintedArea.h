#pragma once
// Where a one-page PDF paints: the bounding box, in PDF points (origin at the lower left), of
// every stroked or filled path and every image of the first page's content stream. Only what
// Qt's PDF writer produces is read: q/Q, cm, path building and painting, Do. Texts are skipped;
// a chart's texts lie inside its own background anyway.

#include <QByteArray>
#include <QFile>
#include <QRectF>
#include <QRegularExpression>
#include <QTransform>
#include <QVector>
#include <QtEndian>
#include <algorithm>
#include <optional>

namespace korvel::testing {

namespace pdf {

// The decoded stream of object number obj, or nothing.
inline std::optional<QByteArray> objectStream(const QByteArray& file, int obj)
{
    const QRegularExpression head(QStringLiteral("(?:^|\\s)%1 0 obj").arg(obj));
    const QRegularExpressionMatch m = head.match(QString::fromLatin1(file));
    if (!m.hasMatch())
        return std::nullopt;
    const qsizetype dictAt = m.capturedEnd();
    const qsizetype streamAt = file.indexOf("stream", dictAt);
    if (streamAt < 0)
        return std::nullopt;
    const QByteArray dict = file.mid(dictAt, streamAt - dictAt);
    qsizetype begin = streamAt + 6;
    if (file.at(begin) == '\r')
        ++begin;
    if (file.at(begin) == '\n')
        ++begin;
    const qsizetype end = file.indexOf("endstream", begin);
    if (end < 0)
        return std::nullopt;
    QByteArray raw = file.mid(begin, end - begin);
    if (!dict.contains("/FlateDecode"))
        return raw;
    // qUncompress wants the expected size in front; it grows its buffer when that is short.
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(raw.size() * 4 + 1024), sized.data());
    return qUncompress(sized + raw);
}

struct PaintedArea {
    QRectF box;          // empty when nothing was painted
    QRectF mediaBox;     // the page
    int paintOps = 0;
};

inline PaintedArea paintedArea(const QByteArray& file)
{
    PaintedArea out;
    const QString text = QString::fromLatin1(file);
    const QRegularExpressionMatch media = QRegularExpression(
        QStringLiteral("/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)"))
                                              .match(text);
    if (media.hasMatch())
        out.mediaBox = QRectF(QPointF(media.captured(1).toDouble(), media.captured(2).toDouble()),
                              QPointF(media.captured(3).toDouble(), media.captured(4).toDouble()));
    const QRegularExpressionMatch contents =
        QRegularExpression(QStringLiteral("/Contents\\s+(\\d+)\\s+0\\s+R")).match(text);
    if (!contents.hasMatch())
        return out;
    const std::optional<QByteArray> stream = objectStream(file, contents.captured(1).toInt());
    if (!stream)
        return out;

    QTransform ctm;
    QVector<QTransform> saved;
    QVector<double> operands;
    QVector<QPointF> path;
    auto addPoint = [&](double x, double y) { path.append(ctm.map(QPointF(x, y))); };
    auto paint = [&] {
        if (path.isEmpty())
            return;
        // By hand: QRectF::united drops rectangles of no size, and a point has none.
        double left = out.paintOps ? out.box.left() : path[0].x();
        double top = out.paintOps ? out.box.top() : path[0].y();
        double right = out.paintOps ? out.box.right() : path[0].x();
        double bottom = out.paintOps ? out.box.bottom() : path[0].y();
        for (const QPointF& p : path) {
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
        out.box = QRectF(QPointF(left, top), QPointF(right, bottom));
        ++out.paintOps;
        path.clear();
    };

    // Text objects are dropped first: their strings may hold anything. What is left splits
    // on white space; names, arrays and dictionaries only carry state this reading ignores.
    QByteArray body = *stream;
    for (qsizetype bt = body.indexOf("BT\n"); bt >= 0; bt = body.indexOf("BT\n", bt)) {
        const qsizetype et = body.indexOf("ET\n", bt);
        body.remove(bt, (et < 0 ? body.size() : et + 3) - bt);
    }
    const QList<QByteArray> tokens = body.simplified().split(' ');
    for (const QByteArray& token : tokens) {
        bool number = false;
        const double v = token.toDouble(&number);
        if (number) {
            operands.append(v);
            continue;
        }
        const QVector<double>& a = operands;
        const qsizetype n = a.size();
        if (token == "q") {
            saved.append(ctm);
        } else if (token == "Q") {
            if (!saved.isEmpty())
                ctm = saved.takeLast();
        } else if (token == "cm" && n >= 6) {
            ctm = QTransform(a[n - 6], a[n - 5], a[n - 4], a[n - 3], a[n - 2], a[n - 1]) * ctm;
        } else if ((token == "m" || token == "l" || token == "c" || token == "v" || token == "y")
                   && n >= 2 && n % 2 == 0) {
            for (qsizetype k = 0; k < n; k += 2)
                addPoint(a[k], a[k + 1]);
        } else if (token == "re" && n >= 4) {
            addPoint(a[n - 4], a[n - 3]);
            addPoint(a[n - 4] + a[n - 2], a[n - 3] + a[n - 1]);
            addPoint(a[n - 4] + a[n - 2], a[n - 3]);
            addPoint(a[n - 4], a[n - 3] + a[n - 1]);
        } else if (QList<QByteArray>{"S", "s", "f", "F", "f*", "B", "B*", "b", "b*"}.contains(token)) {
            paint();
        } else if (token == "n") {
            path.clear();  // a clipping path only: nothing painted
        } else if (token == "Do") {
            // An image fills the unit square of its matrix.
            for (QPointF corner : {QPointF(0, 0), QPointF(1, 1), QPointF(1, 0), QPointF(0, 1)})
                addPoint(corner.x(), corner.y());
            paint();
        }
        operands.clear();
    }
    return out;
}

inline PaintedArea paintedAreaOfFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return paintedArea(f.readAll());
}

}  // namespace pdf

}  // namespace korvel::testing
