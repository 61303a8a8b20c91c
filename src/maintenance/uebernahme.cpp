#include "maintenance/uebernahme.h"

#include "store/record_file.h"

#include <QFile>
#include <QSet>

#include <sqlcipher/sqlite3.h>

#include <filesystem>
#include <system_error>

namespace uebernahme {

namespace {

const QString kZusatz = QStringLiteral("  --2");
const QString kStandardKategorie = QStringLiteral("Standard-Kategorie");

// Taken over as the old file holds them, the secrets and the password enciphered.
const QStringList kKopiert = {
    QStringLiteral("Bezeichnung"),  QStringLiteral("Konto-Nr"),     QStringLiteral("Pin"),
    QStringLiteral("Zusatz"),       QStringLiteral("Bezeichnung1"), QStringLiteral("Bezeichnung2"),
    QStringLiteral("Bezeichnung3"), QStringLiteral("Bemerkungen"),  QStringLiteral("Benutzer"),
    QStringLiteral("Passwort"),     QStringLiteral("Sichern")};

} // namespace

Version versionVon(const QString& dateiName) {
    if (dateiName == kDateien[0])
        return Version::V41;
    return kDateien.contains(dateiName) ? Version::V5x : Version::Unbekannt;
}

bool dieselbeDatei(const QString& a, const QString& b) {
    std::error_code fehler;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(),
                                       QFile::encodeName(b).toStdString(), fehler) &&
           !fehler;
}

Befund oeffnen(db::Connection& alt, const QString& pfad, db::Error* fehler) {
    // Read-only: the old file stays as it is, whatever happens here.
    db::Error e = alt.open(pfad, recordfile::passwordOf(recordfile::kVerbindung), true);
    if (fehler)
        *fehler = e;
    if (e)
        return Befund::NichtLesbar;
    QStringList spalten;
    e = alt.queryColumn(QStringLiteral("SELECT name FROM pragma_table_info('Haupt')"),
                        [&](const QString& name) { spalten << name.toLower(); });
    if (fehler)
        *fehler = e;
    if (e)
        return Befund::NichtLesbar;
    // Rows without designation or owner would belong to nobody.
    if (!spalten.contains(QStringLiteral("bezeichnung")) ||
        !spalten.contains(QStringLiteral("benutzer")))
        return Befund::KeineTabelle;
    return Befund::Lesbar;
}

db::Error zeilenAnhaengen(db::Recordset& alt, db::Recordset& ziel, Version version) {
    // Each write prepares its statement once, not once per row.
    db::Recordset::Batch stapel(ziel);
    const QString eins = QStringLiteral("1");
    const int iBezeichnung = ziel.fieldIndex(kKopiert[0]);
    const int iUebernommen = ziel.fieldIndex(QStringLiteral("übernommen"));

    // The duplicate check looks at every row, of all users, and at the rows
    // taken over so far; the old rows' own marks come with them.
    QSet<QString> vorhanden;
    vorhanden.reserve(ziel.RecordCount() + alt.RecordCount());
    for (ziel.MoveFirst(); !ziel.Eof(); ziel.MoveNext()) {
        vorhanden.insert(ziel.Fields(iBezeichnung).Value());
        if (ziel.Fields(iUebernommen).Value() == eins)
            continue;
        if (db::Error e = ziel.Edit())
            return e;
        ziel.Fields(iUebernommen).SetValue(eins);
        if (db::Error e = ziel.Update())
            return e;
    }

    struct Spalte {
        int von, nach;
    };
    std::vector<Spalte> spalten;
    for (const QString& name : kKopiert)
        spalten.push_back({alt.fieldIndex(name), ziel.fieldIndex(name)});
    const int iAltBezeichnung = alt.fieldIndex(kKopiert[0]);
    const int iAltKategorie = alt.fieldIndex(QStringLiteral("Kategorie"));
    const int iKategorie = ziel.fieldIndex(QStringLiteral("Kategorie"));
    const int iFragen = ziel.fieldIndex(QStringLiteral("Fragen"));

    for (alt.MoveFirst(); !alt.Eof(); alt.MoveNext()) {
        ziel.AddNew();
        // A column the old table lacks stays empty.
        for (const Spalte& s : spalten) {
            if (s.von >= 0)
                ziel.Fields(s.nach).SetValue(alt.Fields(s.von).Value());
        }
        QString bezeichnung = alt.Fields(iAltBezeichnung).Value();
        if (vorhanden.contains(bezeichnung))
            bezeichnung += kZusatz;
        vorhanden.insert(bezeichnung);
        ziel.Fields(iBezeichnung).SetValue(bezeichnung);
        if (version == Version::V41)
            ziel.Fields(iKategorie).SetValue(kStandardKategorie);
        else if (iAltKategorie >= 0)
            ziel.Fields(iKategorie).SetValue(alt.Fields(iAltKategorie).Value());
        ziel.Fields(iFragen).SetValue(eins);
        ziel.Fields(iUebernommen).SetValue(eins);
        if (db::Error e = ziel.Update())
            return e;
    }
    return {};
}

} // namespace uebernahme
