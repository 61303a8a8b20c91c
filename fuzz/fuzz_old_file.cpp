#include "check.h"
#include "hostile_file.h"
#include "maintenance/uebernahme.h"
#include "platform/db/access_reader.h"
#include "platform/db/data_control.h"
#include "store/record_file.h"
#include "store/statements.h"

#include <QDir>
#include <QSet>

// The import of an older version's file, in the program's own format or an
// Access file of the Windows versions: opened and checked as the import
// dialog does, every row read, then taken over into a current table inside a
// transaction that is rolled back, so that each input starts from the same
// table. The old file's name, and with it the version, follows from the
// input's length, so that the fuzzer reaches both.

namespace {

const QStringList kWieAlt = {QStringLiteral("Konto-Nr"),     QStringLiteral("Pin"),
                             QStringLiteral("Zusatz"),       QStringLiteral("Bezeichnung1"),
                             QStringLiteral("Bezeichnung2"), QStringLiteral("Bezeichnung3"),
                             QStringLiteral("Bemerkungen"),  QStringLiteral("Benutzer"),
                             QStringLiteral("Passwort"),     QStringLiteral("Sichern")};

// The current file, made once: one row whose designation old files also use.
db::Connection& aktuell() {
    static db::Connection verbindung;
    if (!verbindung.isOpen()) {
        const QString ordner = QDir(hostile::folder()).filePath(QStringLiteral("aktuell"));
        QDir().mkpath(ordner);
        pruefen(recordfile::openOrCreate(verbindung, ordner).usable(), "the current file");
        verbindung.exec(QStringLiteral("INSERT INTO Haupt (Bezeichnung, Benutzer, \"übernommen\") "
                                       "VALUES ('Girokonto', 'Max', '')"));
    }
    return verbindung;
}

QString wert(db::Recordset& rs, const QString& spalte) {
    return rs.Fields(spalte).Value();
}

// Every old row once more at the end, as the import maps it; every row marked.
void uebernahmePruefen(db::Recordset& alt, db::Recordset& ziel, int vorher,
                       uebernahme::Version version) {
    pruefen(ziel.RecordCount() == vorher + alt.RecordCount(), "rows lost or added");
    QSet<QString> vergeben;
    ziel.MoveFirst();
    for (int i = 0; i < vorher; ++i, ziel.MoveNext())
        vergeben.insert(wert(ziel, QStringLiteral("Bezeichnung")));
    for (alt.MoveFirst(); !alt.Eof(); alt.MoveNext(), ziel.MoveNext()) {
        for (const QString& spalte : kWieAlt)
            pruefen(wert(ziel, spalte) == wert(alt, spalte), "a value not taken over as stored");
        QString bezeichnung = wert(alt, QStringLiteral("Bezeichnung"));
        if (vergeben.contains(bezeichnung))
            bezeichnung += QStringLiteral("  --2");
        vergeben.insert(bezeichnung);
        pruefen(wert(ziel, QStringLiteral("Bezeichnung")) == bezeichnung, "a wrong designation");
        const QString kategorie = version == uebernahme::Version::V41
                                      ? QStringLiteral("Standard-Kategorie")
                                      : wert(alt, QStringLiteral("Kategorie"));
        pruefen(wert(ziel, QStringLiteral("Kategorie")) == kategorie, "a wrong category");
        pruefen(wert(ziel, QStringLiteral("fragen")) == u'1', "the question setting not set");
    }
    for (ziel.MoveFirst(); !ziel.Eof(); ziel.MoveNext())
        pruefen(wert(ziel, QStringLiteral("übernommen")) == u'1', "a row not marked");
}

QString anzahlIn(db::Connection& verbindung) {
    QString anzahl;
    verbindung.queryColumn(QStringLiteral("SELECT count(*) FROM Haupt"),
                           [&](const QString& n) { anzahl = n; });
    return anzahl;
}

void uebernehmen(db::DataControl& daten2, uebernahme::Version version) {
    db::Connection& verbindung = aktuell();
    db::DataControl daten1(verbindung);
    daten1.SetRecordSource(statements::ganzeTabelle());
    pruefen(!daten1.Refresh(), "reading the current table");
    db::Recordset& ziel = daten1.Recordset();
    const int vorher = ziel.RecordCount();
    const QString anzahlVorher = anzahlIn(verbindung);
    {
        db::Transaction transaktion(verbindung);
        pruefen(!transaktion.started(), "a transaction on the current file");
        db::Recordset& alt = daten2.Recordset();
        pruefen(!uebernahme::zeilenAnhaengen(alt, ziel, version), "the rows could not be written");
        uebernahmePruefen(alt, ziel, vorher, version);
        pruefen(anzahlIn(verbindung).toInt() == ziel.RecordCount(), "rows not in the file");
        befund() = "uebernommen: " + std::to_string(alt.RecordCount());
    }
    pruefen(anzahlIn(verbindung) == anzahlVorher, "the rollback left rows behind");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A reader that hangs costs a few seconds, not twenty, per input.
    db::access::Limits::standard().seconds = 5;
    const QString name =
        size % 2 ? QStringLiteral("Clavido41.mdb") : QStringLiteral("Clavido6.mdb");
    const QString pfad = QDir(hostile::folder()).filePath(name);
    const QByteArray vorher = hostile::writeFile(pfad, data, size);

    uebernahme::AlteDatei alt;
    db::DataControl daten2(alt);
    db::Error fehler;
    const uebernahme::Befund lesbar = uebernahme::oeffnen(alt, pfad, &fehler);
    if (lesbar != uebernahme::Befund::Lesbar) {
        pruefen(lesbar == uebernahme::Befund::KeineTabelle || !fehler.text.isEmpty(),
                "a refusal without a reason");
        befund() = "abgelehnt";
    } else {
        daten2.SetRecordSource(statements::ganzeTabelle());
        if (daten2.Refresh())
            befund() = "unlesbar";
        else
            uebernehmen(daten2, uebernahme::versionVon(name));
    }
    alt.close();
    pruefen(hostile::readFile(pfad) == vorher, "the old file was changed");
    return 0;
}
