#include "store/sicherung.h"

#include "platform/db/connection.h"
#include "store/record_file.h"

#include <QFile>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace sicherung {

namespace {

QByteArray schluessel() {
    return recordfile::passwordOf(recordfile::kVerbindung);
}

db::Error zeilenZaehlen(db::Connection& c, qint64* zeilen) {
    QString anzahl;
    db::Error e = c.queryColumn(QStringLiteral("SELECT count(*) FROM Haupt"),
                                [&](const QString& wert) { anzahl = wert; });
    if (!e && zeilen)
        *zeilen = anzahl.toLongLong();
    return e;
}

// The engine's own copy from one keyed database into a new, empty file.
db::Error seitenKopieren(const QString& quelle, const QByteArray& ziel) {
    db::Connection von;
    if (db::Error e = von.open(quelle, schluessel(), true))
        return e;
    sqlite3* nach = nullptr;
    int rc = sqlite3_open_v2(ziel.constData(), &nach, SQLITE_OPEN_READWRITE, nullptr);
    db::Error e = db::errorFrom(nach, rc);
    if (!e) {
        const QByteArray key = schluessel();
        e = db::errorFrom(nach, sqlite3_key(nach, key.constData(), int(key.size())));
    }
    if (!e) {
        sqlite3_backup* kopie = sqlite3_backup_init(nach, "main", von.handle(), "main");
        if (!kopie) {
            e = db::errorFrom(nach, sqlite3_errcode(nach));
        } else {
            rc = sqlite3_backup_step(kopie, -1);
            const int ende = sqlite3_backup_finish(kopie);
            e = db::errorFrom(nach, rc == SQLITE_DONE ? ende : rc);
        }
    }
    if (sqlite3_close(nach) != SQLITE_OK && !e)
        e = db::errorFrom(SQLITE_IOERR);
    return e;
}

} // namespace

db::Error pruefen(const QString& path, qint64* zeilen) {
    db::Connection c;
    db::Error e = c.open(path, schluessel(), true);
    if (!e)
        e = recordfile::checkTable(c);
    if (!e) {
        // A sound file gives no row here, and "ok" from the second check.
        QStringList befund;
        e = c.queryColumn(QStringLiteral("PRAGMA cipher_integrity_check"),
                          [&](const QString& zeile) { befund << zeile; });
        if (!e && !befund.isEmpty())
            e = db::errorFrom(SQLITE_CORRUPT);
    }
    if (!e) {
        QStringList befund;
        e = c.queryColumn(QStringLiteral("PRAGMA integrity_check"),
                          [&](const QString& zeile) { befund << zeile; });
        if (!e && befund != QStringList{QStringLiteral("ok")})
            e = db::errorFrom(SQLITE_CORRUPT);
    }
    if (!e)
        e = zeilenZaehlen(c, zeilen);
    return e;
}

db::Error kopieren(const QString& quelle, const QString& ziel) {
    if (QFileInfo(ziel).isDir())
        return {SQLITE_CANTOPEN,
                QStringLiteral("An der Stelle der Datei steht ein Ordner namens %1.")
                    .arg(QFileInfo(ziel).fileName())};
    qint64 zeilen = -1;
    if (db::Error e = pruefen(quelle, &zeilen))
        return e;
    // The copy is made beside the target, so that the last step is a rename.
    QByteArray temp = QFile::encodeName(ziel) + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return db::errorFromSystem(errno);
    ::close(fd);
    db::Error e = seitenKopieren(quelle, temp);
    qint64 kopiert = -1;
    if (!e)
        e = pruefen(QFile::decodeName(temp), &kopiert);
    if (!e && kopiert != zeilen)
        e = db::errorFrom(SQLITE_CORRUPT);
    if (!e && std::rename(temp.constData(), QFile::encodeName(ziel).constData()) != 0)
        e = db::errorFromSystem(errno);
    if (e)
        ::unlink(temp.constData());
    return e;
}

} // namespace sicherung
