#include "store/statements.h"

#include "store/record_file.h"

namespace statements {

db::RecordSource ganzeTabelle() {
    return db::RecordSource::table(recordfile::kTabelle);
}

db::RecordSource kategorienDesBenutzers(const QString& benutzer) {
    return {QStringLiteral("Select DISTINCT Kategorie From Haupt WHERE Benutzer = ?1"), {benutzer}};
}

db::RecordSource bezeichnungenDerKategorie(const QString& benutzer, const QString& kategorie) {
    return {QStringLiteral("Select Bezeichnung From Haupt WHERE Benutzer = ?1 and Kategorie = ?2"),
            {benutzer, kategorie}};
}

db::RecordSource bezeichnungenDesBenutzers(const QString& benutzer) {
    return {QStringLiteral("Select Bezeichnung From Haupt WHERE Benutzer = ?1"), {benutzer}};
}

db::RecordSource anzahlEintraege(const QString& benutzer) {
    return {QStringLiteral("Select Count(Bezeichnung) AS izahl From Haupt WHERE Benutzer = ?1"),
            {benutzer}};
}

} // namespace statements
