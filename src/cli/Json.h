#pragma once
// JSON as korvel-cli prints it: values written by QJsonDocument (strings escaped, numbers in
// their shortest exact form, NaN and infinity as null), objects with their fields in the order
// given, since a QJsonObject would sort them and the help and README show this order.

#include <QAnyStringView>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

namespace korvel::cli {

QString JsonText(const QJsonValue& value);

class JsonFields {
public:
    JsonFields& add(QAnyStringView key, const QJsonValue& value);
    JsonFields& add(QAnyStringView key, const JsonFields& object);
    JsonFields& add(QAnyStringView key, const QList<JsonFields>& objects);
    QString text() const;

private:
    JsonFields& addText(QAnyStringView key, const QString& json);
    QStringList fields_;
};

}  // namespace korvel::cli
