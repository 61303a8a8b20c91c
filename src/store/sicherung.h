#pragma once

#include "platform/db/db_error.h"

#include <QString>

// Backup copies of the database file and bringing one back.
namespace sicherung {

// Whether the file at `path` is a sound database of this program: it opens
// with the database password, holds table Haupt with its columns and passes
// both integrity checks. `zeilen` gets its number of rows.
db::Error pruefen(const QString& path, qint64* zeilen = nullptr);

// Copies the closed database `quelle` to `ziel`, replacing a file there only
// once the copy beside it is whole and checked: a failure leaves `ziel` as it
// was. The copy is taken by the engine, page by page, and gets mode 0600.
// A link at `ziel` stays, and the file it leads to is replaced. A file that
// another copy of the program has open is not replaced; the rollback journal
// a killed writer left beside the old file is dealt with first, so that it is
// never played into the new one. Temporaries of a killed copy go.
db::Error kopieren(const QString& quelle, const QString& ziel);

} // namespace sicherung
