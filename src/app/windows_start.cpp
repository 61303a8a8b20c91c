// A first start on the database file of the Windows version 6.1.
#include "app/clavido.h"
#include "platform/db/access_header.h"
#include "platform/wait_cursor.h"
#include "store/record_file.h"
#include "store/windows_datei.h"

#include <QDir>

bool Clavido::windowsDateiUebernehmen() {
    const QString pfad = recordfile::pathIn(programmOrdner);
    if (!db::access::isJet(pfad))
        return true;
    db::Snapshot zeilen;
    const windowsdatei::Befund befund = [&] {
        WaitCursor warten;
        return windowsdatei::pruefen(pfad, &zeilen);
    }();
    // Another password, damaged, no table Haupt: said as for any file that
    // is not a database of this program.
    if (befund != windowsdatei::Befund::Uebernehmbar)
        return true;

    const QString sicherung = windowsdatei::sicherungsName(programmOrdner);
    const QString kopf =
        QStringLiteral("Die Datenbankdatei\r\n%1\r\n").arg(QDir::toNativeSeparators(pfad));
    const auto antwort = meldung(
        kopf + QStringLiteral("stammt aus der Windows-Version von lumoClavido.\r\n\r\n"
                              "Möchten Sie die Daten jetzt übernehmen?\r\n"
                              "Die Windows-Datei bleibt dabei unverändert als\r\n%1\r\n"
                              "neben der neuen Datenbankdatei erhalten. Haben Sie die\r\n"
                              "übernommenen Daten geprüft, können Sie diese Kopie löschen.\r\n"
                              "\r\n"
                              "Bei \u201ENein\u201C wird das Programm beendet, die Datei bleibt "
                              "unverändert.")
                   .arg(sicherung),
        msg::Question | msg::YesNo);
    if (antwort != msg::Yes) {
        beenden();
        return false;
    }
    const db::Error fehler = [&] {
        WaitCursor warten; // two key derivations and the rows
        return windowsdatei::uebernehmen(programmOrdner, sicherung, zeilen);
    }();
    if (!fehler)
        return true;
    meldung(kopf + QStringLiteral("konnte nicht übernommen werden.\r\n%1\r\n\r\n"
                                  "Das Programm wird beendet. Die Datei bleibt unverändert.")
                       .arg(fehler.text),
            msg::Critical);
    beenden();
    return false;
}
