#include "platform/db/db_error.h"

#include <sqlcipher/sqlite3.h>

#include <cerrno>

namespace db {

QString describe(int code) {
    // A write into a file that another program has replaced meanwhile.
    if (code == SQLITE_READONLY_DBMOVED)
        return QStringLiteral("Die Datenbankdatei wurde inzwischen von einem anderen Programm "
                              "ersetzt, etwa durch eine wieder hergestellte Sicherung. Bitte "
                              "beenden Sie lumoClavido und starten Sie es neu.");
    switch (code & 0xff) {
    case SQLITE_OK:
        return {};
    case SQLITE_FULL:
        return QStringLiteral("Der Datenträger ist voll.");
    case SQLITE_READONLY:
        return QStringLiteral("Die Datenbankdatei ist schreibgeschützt.");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Der Zugriff auf die Datenbankdatei wurde verweigert.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Datenbankdatei wird gerade von einem anderen Programm benutzt.");
    case SQLITE_IOERR:
        return QStringLiteral("Beim Lesen oder Schreiben der Datenbankdatei ist ein Fehler "
                              "aufgetreten.");
    case SQLITE_CORRUPT:
        return QStringLiteral("Die Datenbankdatei ist beschädigt.");
    case SQLITE_NOTADB:
        return QStringLiteral("Die Datei ist beschädigt oder keine Datenbank von lumoClavido.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Datenbankdatei kann nicht geöffnet werden.");
    case SQLITE_NOTFOUND:
        return QStringLiteral("Der Datensatz ist nicht mehr vorhanden.");
    case SQLITE_ABORT:
        return QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Programm "
                              "geändert.");
    case SQLITE_MISUSE:
        return QStringLiteral("Es ist kein Datensatz zum Bearbeiten ausgewählt.");
    case SQLITE_TOOBIG:
        return QStringLiteral("Der Text ist zu lang.");
    default:
        return QStringLiteral("Datenbankfehler %1.").arg(code);
    }
}

Error errorFrom(int code) {
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE)
        return {};
    return {code, describe(code)};
}

Error errorFromSystem(int error) {
    switch (error) {
    case 0:
        return {};
    case ENOSPC:
    case EDQUOT:
    case EFBIG: // a file-size limit
        return errorFrom(SQLITE_FULL);
    case EACCES:
    case EPERM:
        return errorFrom(SQLITE_PERM);
    case EROFS:
        return errorFrom(SQLITE_READONLY);
    case EEXIST:
        return errorFrom(SQLITE_CANTOPEN);
    default:
        return errorFrom(SQLITE_IOERR);
    }
}

Error errorFrom(sqlite3* handle, int code) {
    const int primary = code & 0xff;
    if (handle && primary == SQLITE_READONLY &&
        sqlite3_extended_errcode(handle) == SQLITE_READONLY_DBMOVED)
        return errorFrom(SQLITE_READONLY_DBMOVED);
    // The engine reports only a full disk as such; EFBIG and the rest come as
    // a plain read/write or open error, with the system's errno beside it.
    if (handle && (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN)) {
        const Error system = errorFromSystem(sqlite3_system_errno(handle));
        if (system && system.code != SQLITE_IOERR && system.code != SQLITE_CANTOPEN)
            return system;
    }
    return errorFrom(code);
}

} // namespace db
