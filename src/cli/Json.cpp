#include "cli/Json.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace korvel::cli {

QString JsonText(const QJsonValue& value)
{
    // The document holds arrays and objects only: the value is written as an array's element.
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.sliced(1, array.size() - 2));
}

JsonFields& JsonFields::add(QAnyStringView key, const QJsonValue& value)
{
    return addText(key, JsonText(value));
}

JsonFields& JsonFields::add(QAnyStringView key, const JsonFields& object)
{
    return addText(key, object.text());
}

JsonFields& JsonFields::add(QAnyStringView key, const QList<JsonFields>& objects)
{
    QStringList texts;
    for (const JsonFields& o : objects)
        texts << o.text();
    return addText(key, QLatin1Char('[') + texts.join(QLatin1Char(',')) + QLatin1Char(']'));
}

JsonFields& JsonFields::addText(QAnyStringView key, const QString& json)
{
    fields_ << JsonText(key.toString()) + QLatin1Char(':') + json;
    return *this;
}

QString JsonFields::text() const
{
    return QLatin1Char('{') + fields_.join(QLatin1Char(',')) + QLatin1Char('}');
}

}  // namespace korvel::cli
