#include "windows_dateien.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace windowsdateien {

QString pfad(const QString& name) {
    return QDir(QStringLiteral(CLAVIDO_TESTDATEN "/access")).filePath(name);
}

QString kopieren(const QString& name, const QString& ordner, const QString& ziel) {
    const QString nach = QDir(ordner).filePath(ziel.isEmpty() ? QFileInfo(name).fileName() : ziel);
    QFile::remove(nach);
    if (!QFile::copy(pfad(name), nach))
        qFatal("cannot copy %s", qPrintable(name));
    QFile::setPermissions(nach, QFile::ReadOwner | QFile::WriteOwner);
    return nach;
}

std::vector<Zeile> zeilen(const QString& name) {
    QFile datei(pfad(name + QStringLiteral(".json")));
    if (!datei.open(QIODevice::ReadOnly))
        qFatal("no values for %s", qPrintable(name));
    std::vector<Zeile> ergebnis;
    for (const QJsonValue zeile : QJsonDocument::fromJson(datei.readAll()).array()) {
        Zeile z;
        const QJsonObject spalten = zeile.toObject();
        for (auto it = spalten.begin(); it != spalten.end(); ++it)
            z.insert(it.key(), it.value().isNull() ? QString() : it.value().toString());
        ergebnis.push_back(z);
    }
    return ergebnis;
}

} // namespace windowsdateien
