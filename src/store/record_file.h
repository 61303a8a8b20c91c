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

// What came of opening the file. Apart from Created, none changes whatever
// is at the file's name.
enum class Outcome {
    Opened,
    Created,
    NotCreatable, // there was none, and none can be made
    NotOpenable,  // damaged, another program's, or keyed differently
    InUse,        // locked by another program for longer than a save waits
    NotReadable,  // no permission to read it, or reading it failed
    Folder,       // a folder has the file's name
    DanglingLink, // a symbolic link to nothing has the file's name
};

struct OpenResult {
    Outcome outcome;
    db::Error error;
    bool usable() const { return outcome == Outcome::Opened || outcome == Outcome::Created; }
};

// Opens the file in `folder`, creating it with an empty table Haupt when
// nothing is there. Whatever else is there is left as it is and reported,
// never replaced. Temporary copies that a killed restore or first start left
// beside the file are removed first.
OpenResult openOrCreate(db::Connection& connection, const QString& folder);

QString createStatement();
// Whether a table with these columns (letter case aside) holds entries: rows
// without designation or owner would belong to nobody.
bool traegtEintraege(const QStringList& spalten);
// Whether the open database holds table Haupt with the columns this program reads.
db::Error checkTable(db::Connection& connection);

} // namespace recordfile
