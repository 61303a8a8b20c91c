#pragma once

#include "platform/db/data_control.h"

// The record sources of the data view on table Haupt.
namespace statements {

db::RecordSource ganzeTabelle();
db::RecordSource kategorienDesBenutzers(const QString& benutzer);
db::RecordSource bezeichnungenDerKategorie(const QString& benutzer, const QString& kategorie);
db::RecordSource bezeichnungenDesBenutzers(const QString& benutzer);
// One row, column izahl: the user's rows whose designation is not NULL.
db::RecordSource anzahlEintraege(const QString& benutzer);

} // namespace statements
