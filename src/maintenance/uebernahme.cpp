#include "maintenance/uebernahme.h"

#include "store/code_page.h"
#include "store/record_file.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <sqlcipher/sqlite3.h>

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
    return kDateien.contains(dateiName) || dateiName == kWindows61 ? Version::V5x
                                                                   : Version::Unbekannt;
}

QStringList angeboteneDateien(const QString& ordner) {
    // Only these names, exactly so: the file list matches them letter for letter.
    const QDir dir(ordner);
    const QStringList namen = dir.entryList(QDir::Files);
    QStringList angeboten;
    for (const QString& name : kDateien) {
        if (namen.contains(name))
            angeboten << name;
    }
    // The program's own file is never an Access file.
    if (namen.contains(kWindows61) && db::access::isJet(dir.filePath(kWindows61)))
        angeboten << kWindows61;
    return angeboten;
}

void AlteDatei::close() {
    eigene.close();
    access.close();
    offen_ = &eigeneQuelle_;
}

Befund oeffnen(AlteDatei& alt, const QString& pfad, db::Error* fehler) {
    alt.close();
    const QByteArray kennwort = recordfile::passwordOf(recordfile::kVerbindung);
    QStringList spalten;
    db::Error e;
    // The format is the file's own signature, whatever its name says.
    if (db::access::isJet(pfad)) {
        alt.offen_ = &alt.access;
        e = alt.access.open(pfad, QString::fromUtf8(kennwort), codepage::character);
        if (!e)
            e = alt.access.columns(recordfile::kTabelle, &spalten);
    } else {
        // Read-only: the old file stays as it is, whatever happens here.
        e = alt.eigene.open(pfad, kennwort, true);
        if (!e)
            e = alt.eigene.queryColumn(
                QStringLiteral("SELECT name FROM pragma_table_info('Haupt')"),
                [&](const QString& name) { spalten << name; });
    }
    if (fehler)
        *fehler = e;
    if (e)
        return Befund::NichtLesbar;
    return recordfile::traegtEintraege(spalten) ? Befund::Lesbar : Befund::KeineTabelle;
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
