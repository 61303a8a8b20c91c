#pragma once

#include "platform/db/recordset.h"

#include <QString>

// The database file of the Windows version 6.1 found where this program keeps
// its own: an Access file, whose rows are taken over into a new file of this
// program under the same name.
namespace windowsdatei {

enum class Befund {
    Uebernehmbar,
    NichtLesbar, // another password, damaged, or no table Haupt
};

// Whether the Access file keeps the program's database password (or none) and
// holds a table Haupt whose rows can all be read; `zeilen` gets them.
Befund pruefen(const QString& pfad, db::Snapshot* zeilen = nullptr, db::Error* fehler = nullptr);

// The name the Access file is kept under beside the new file:
// "Clavido61-Windows.mdb", or with a number when another file has that name.
QString sicherungsName(const QString& ordner);

// Takes the rows `zeilen` that pruefen() read from the Access file
// "Clavido61.mdb" in `ordner` over into a new database file of this program,
// each column as stored, checked like a backup; the Access file is kept byte
// for byte as `sicherung` beside it, and the new file takes its name. A kill
// at any moment leaves the Access file at its name, or both files whole; a
// failure leaves the folder as it was.
db::Error uebernehmen(const QString& ordner, const QString& sicherung, const db::Snapshot& zeilen);

} // namespace windowsdatei
