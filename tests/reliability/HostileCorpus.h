#pragma once

// The hostile text corpus of tests/data/hostile-text.json, each entry as the text it stands for.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

struct Hostile
{
    QString name;
    QString text;
};

inline QList<Hostile> corpus()
{
    QFile file(QStringLiteral(FOLVANE_TEST_DATA_DIR "/hostile-text.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    QList<Hostile> list;
    for (const QJsonValue &value : QJsonDocument::fromJson(file.readAll())
                                       .object()
                                       .value(QLatin1String("entries"))
                                       .toArray()) {
        const QJsonObject entry = value.toObject();
        QString text;
        if (entry.contains(QLatin1String("repeat")))
            text = entry.value(QLatin1String("repeat"))
                       .toString()
                       .repeated(entry.value(QLatin1String("count")).toInt());
        else if (entry.contains(QLatin1String("latin1")))
            text = QString::fromLatin1(entry.value(QLatin1String("latin1")).toString().toLatin1());
        else if (entry.contains(QLatin1String("bytes")))
            text = QString::fromUtf8(
                QByteArray::fromHex(entry.value(QLatin1String("bytes")).toString().toLatin1()));
        else
            text = entry.value(QLatin1String("text")).toString();
        list << Hostile{entry.value(QLatin1String("name")).toString(), text};
    }
    return list;
}
