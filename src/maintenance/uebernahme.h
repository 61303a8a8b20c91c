#pragma once

#include "platform/db/recordset.h"

#include <QString>
#include <QStringList>

// Taking over the rows of a database file of an older program version.
namespace uebernahme {

// The old files the import knows, in the order the file list shows them.
inline const QStringList kDateien = {
    QStringLiteral("Clavido41.mdb"), QStringLiteral("Clavido50.mdb"),
    QStringLiteral("Clavido51.mdb"), QStringLiteral("Clavido6.mdb")};

enum class Version { Unbekannt, V41, V5x };

// The version by the exact file name, letter case included.
Version versionVon(const QString& dateiName);

// Why an old file cannot be read.
enum class Befund { Lesbar, DieselbeDatei, NichtLesbar, KeineTabelle };

// Whether both paths name one file, also through a hard or symbolic link.
bool dieselbeDatei(const QString& a, const QString& b);

// Opens the old file read-only with the database password and checks that it
// holds table Haupt with designations and users.
Befund oeffnen(db::Connection& alt, const QString& pfad, db::Error* fehler);

// Appends every row of `alt` to `ziel` (the whole current table), a
// designation already there getting the suffix "  --2", and marks every row
// as taken over. Runs no transaction of its own; stops at the first failure.
db::Error zeilenAnhaengen(db::Recordset& alt, db::Recordset& ziel, Version version);

} // namespace uebernahme
