#pragma once

#include "platform/db/connection.h"

#include <QString>

// The database file all users share: its name, its password, table Haupt.
namespace recordfile {

inline const QString kDateiName = QStringLiteral("Clavido61.mdb");
inline const QString kVerbindung = QStringLiteral(";pwd=kolm3815");
inline const QString kTabelle = QStringLiteral("Haupt");

// The database password: what follows ";pwd=" in a connect string.
QByteArray passwordOf(const QString& connect);
QString pathIn(const QString& folder);

enum class Outcome { Opened, Created, NotOpenable, NotCreatable };

struct OpenResult {
    Outcome outcome;
    db::Error error;
    bool usable() const { return outcome == Outcome::Opened || outcome == Outcome::Created; }
};

// Opens the file in `folder`, creating it with an empty table Haupt when no
// file is there. A file that is there but is not such a database is left as
// it is and reported, never replaced.
OpenResult openOrCreate(db::Connection& connection, const QString& folder);

QString createStatement();

} // namespace recordfile
