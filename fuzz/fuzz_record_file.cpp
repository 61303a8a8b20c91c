#include "check.h"
#include "hostile_file.h"
#include "platform/db/access_header.h"
#include "platform/db/access_reader.h"
#include "platform/db/data_control.h"
#include "store/field_cipher.h"
#include "store/record_file.h"
#include "store/statements.h"
#include "store/windows_datei.h"

#include <QDir>

#include <algorithm>

// The program's start on whatever lies at the database file's name: opened
// as at start, then every row's name and password read as the sign-in does.
// An Access file there is taken over as at a first start on the Windows
// version's file, when it can be.

namespace {

// Read by position: the search, the plain-text display, the printed list.
const QStringList kErsteAcht = {QStringLiteral("Bezeichnung"),  QStringLiteral("Konto-Nr"),
                                QStringLiteral("Pin"),          QStringLiteral("Zusatz"),
                                QStringLiteral("Bezeichnung1"), QStringLiteral("Bezeichnung2"),
                                QStringLiteral("Bezeichnung3"), QStringLiteral("Bemerkungen")};

bool alsText(const QString& wert) {
    return QString::fromUtf8(wert.toUtf8()) == wert;
}

void anmeldungLesen(db::Connection& verbindung) {
    db::DataControl daten(verbindung);
    daten.SetRecordSource(statements::ganzeTabelle());
    if (daten.Refresh()) {
        befund() = "unlesbar";
        return;
    }
    db::Recordset& rs = daten.Recordset();
    for (int i = 0; i < kErsteAcht.size(); ++i)
        pruefen(rs.columnName(i).compare(kErsteAcht[i], Qt::CaseInsensitive) == 0,
                "an accepted table holds another column where one is read by position");
    const int benutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    pruefen(benutzer >= 0 && rs.fieldIndex(QStringLiteral("Passwort")) >= 0,
            "an accepted table lacks the name or the password");
    QStringList namen;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const QString name = rs.Fields(benutzer).Value();
        const QString gespeichert = rs.Fields(QStringLiteral("Passwort")).Value();
        pruefen(alsText(name) && alsText(gespeichert), "a value that is no text");
        pruefen(entschluesseln(gespeichert, kFeldSchluessel).size() == gespeichert.size(),
                "a deciphered password of another length");
        namen << name;
    }
    pruefen(namen.size() == rs.RecordCount(), "the walk and the count disagree");
    QStringList direkt;
    const db::Error e = verbindung.queryColumn(QStringLiteral("SELECT Benutzer FROM Haupt"),
                                               [&](const QString& name) { direkt << name; });
    if (!e) {
        std::sort(namen.begin(), namen.end());
        std::sort(direkt.begin(), direkt.end());
        pruefen(namen == direkt, "the names read are not the table's");
    }
    befund() = "gelesen: " + std::to_string(namen.size());
}

// What the take-over leaves: the new file with every row read, the Windows
// file whole under the name given; or, when it cannot be taken over, nothing
// changed. The folder is emptied for the next input.
void windowsDatei(const QString& ordner, const QByteArray& vorher) {
    const QString pfad = recordfile::pathIn(ordner);
    db::Snapshot zeilen;
    if (windowsdatei::pruefen(pfad, &zeilen) != windowsdatei::Befund::Uebernehmbar) {
        pruefen(hostile::readFile(pfad) == vorher, "a refused Windows file was changed");
        befund() = "abgelehnt";
    } else {
        const QString sicherung = windowsdatei::sicherungsName(ordner);
        pruefen(sicherung == QStringLiteral("Clavido61-Windows.mdb"), "another name to keep it");
        const db::Error e = windowsdatei::uebernehmen(ordner, sicherung, zeilen);
        const QString behalten = QDir(ordner).filePath(sicherung);
        if (e) {
            pruefen(hostile::readFile(pfad) == vorher && !QFile::exists(behalten),
                    "a failed take-over changed the folder");
            befund() = "abgelehnt";
        } else {
            pruefen(hostile::readFile(behalten) == vorher, "the Windows file not kept whole");
            db::Connection neu;
            pruefen(recordfile::openOrCreate(neu, ordner).outcome == recordfile::Outcome::Opened,
                    "the new file does not open");
            QString anzahl;
            neu.queryColumn(QStringLiteral("SELECT count(*) FROM Haupt"),
                            [&](const QString& n) { anzahl = n; });
            pruefen(anzahl.toULongLong() == zeilen.rows.size(), "rows lost in the take-over");
            befund() = "uebernommen: " + std::to_string(zeilen.rows.size());
        }
    }
    QDir dir(ordner);
    for (const QString& name : dir.entryList(QDir::Files | QDir::System | QDir::Hidden))
        dir.remove(name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A reader that hangs costs a few seconds, not twenty, per input.
    db::access::Limits::standard().seconds = 5;
    const QString ordner = hostile::folder();
    const QString pfad = recordfile::pathIn(ordner);
    const QByteArray vorher = hostile::writeFile(pfad, data, size);
    if (db::access::isJet(pfad)) {
        windowsDatei(ordner, vorher);
        return 0;
    }

    db::Connection verbindung;
    const recordfile::OpenResult offen = recordfile::openOrCreate(verbindung, ordner);
    if (offen.usable()) {
        pruefen(offen.outcome == recordfile::Outcome::Opened, "a file that is there counts as new");
        anmeldungLesen(verbindung);
        verbindung.close();
    } else {
        pruefen(!verbindung.isOpen(), "a refused file is held open");
        pruefen(offen.error.failed() && !offen.error.text.isEmpty(), "a refusal without a reason");
        befund() = "abgelehnt";
    }
    pruefen(hostile::readFile(pfad) == vorher, "the file was changed");
    return 0;
}
