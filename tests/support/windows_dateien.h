#pragma once

#include <QMap>
#include <QString>

#include <vector>

// The Access files of the Windows versions in tests/data/access (Access 2000;
// Access 97 in jet3/), each with the exact stored values of its rows beside
// it (NAME.json). Names are relative to that folder.
namespace windowsdateien {

QString pfad(const QString& name);
// A writable copy of the file in `ordner`, named `ziel` (or as it is).
QString kopieren(const QString& name, const QString& ordner, const QString& ziel = {});
// Column -> stored value of each row, in table order; a null text for NULL.
using Zeile = QMap<QString, QString>;
std::vector<Zeile> zeilen(const QString& name);

} // namespace windowsdateien
