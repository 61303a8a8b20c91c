#include "maintenance/sicherung_ende.h"

#include "app/clavido.h"

#include <sqlcipher/sqlite3.h>

void endeNachSicherung(Clavido& app) {
    app.dienste.help.close();
    if (app.sitzung.endeModus == 1) {
        app.verbindung.close();
        app.dienste.processes.start(Clavido::programmDatei());
    }
    app.beenden();
}

QString fehlerText(int nummer, const QString& beschreibung) {
    return QStringLiteral("Fehler %1:   %2").arg(nummer).arg(beschreibung);
}

QString fehlerText(const db::Error& fehler) {
    int nummer = 75; // access to path or file
    switch (fehler.code & 0xff) {
    case SQLITE_FULL:
        nummer = 61;
        break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_READONLY:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        nummer = 70;
        break;
    default:
        break;
    }
    return fehlerText(nummer, fehler.text);
}
