#include "store/sicherung.h"

#include "platform/db/connection.h"
#include "platform/db/temporary.h"
#include "platform/files.h"
#include "store/record_file.h"

#include <QFile>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
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

// The rollback journal of the file at `ziel`, left by a copy that died in the
// middle of a write, would be played into whatever bears the name next. A file
// that opens gets it rolled back by the engine and stays locked against other
// writers until it is replaced; one that does not open is replaced for that
// reason, and its journal goes with it.
class AltesJournal {
public:
    ~AltesJournal() { sqlite3_close(alt); }

    db::Error aufloesen(const QString& ziel) {
        const QByteArray datei = QFile::encodeName(ziel);
        const QByteArray journal = datei + "-journal";
        struct stat st;
        if (::lstat(journal.constData(), &st) != 0)
            return {};
        int rc = sqlite3_open_v2(datei.constData(), &alt, SQLITE_OPEN_READWRITE, nullptr);
        if (rc == SQLITE_OK) {
            const QByteArray key = schluessel();
            sqlite3_key(alt, key.constData(), int(key.size()));
            sqlite3_exec(alt, "PRAGMA cipher_log_level = NONE", nullptr, nullptr, nullptr);
            sqlite3_busy_timeout(alt, db::Connection::kBusyTimeoutMs);
            rc = sqlite3_exec(alt, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        }
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
            return db::errorFrom(rc);
        if (rc != SQLITE_OK) {
            sqlite3_close(alt);
            alt = nullptr;
        }
        // What is still there now is no journal of a write that can be finished.
        if (::unlink(journal.constData()) != 0 && errno != ENOENT)
            return db::errorFromSystem(errno);
        return {};
    }

private:
    sqlite3* alt = nullptr;
};

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

db::Error kopieren(const QString& quelle, const QString& zielName) {
    // A link stays where it is and keeps naming the file it named: that file
    // is replaced, by a copy made beside it.
    const QString ziel = files::finalTarget(zielName);
    if (QFileInfo(ziel).isDir())
        return {SQLITE_CANTOPEN,
                QStringLiteral("An der Stelle der Datei steht ein Ordner namens %1.")
                    .arg(QFileInfo(zielName).fileName())};
    // Another copy of the program would go on writing into a file without a
    // name, and be refused every time. Asked before the copy, and held from
    // after it until the file is replaced.
    files::UseMark allein;
    auto inGebrauch = [&] { return allein.take(ziel, true) == files::UseMark::InUse; };
    const db::Error anderesProgramm = {
        SQLITE_BUSY, QStringLiteral("Die Datenbankdatei ist in einem anderen laufenden lumoClavido "
                                    "geöffnet.\r\nBitte beenden Sie dieses zuerst und versuchen "
                                    "Sie es dann noch einmal.")};
    if (inGebrauch())
        return anderesProgramm;
    allein.release();
    qint64 zeilen = -1;
    if (db::Error e = pruefen(quelle, &zeilen))
        return e;
    db::removeLeftovers(ziel);
    // The copy is made beside the target, so that the last step is a rename.
    db::Temporary temp(ziel);
    if (temp.made())
        return temp.made();
    db::Error e = seitenKopieren(quelle, temp.name());
    qint64 kopiert = -1;
    if (!e)
        e = pruefen(temp.path(), &kopiert);
    if (!e && kopiert != zeilen)
        e = db::errorFrom(SQLITE_CORRUPT);
    if (e)
        return e;
    if (inGebrauch())
        return anderesProgramm;
    AltesJournal alt;
    if (db::Error e = alt.aufloesen(ziel))
        return e;
    if (std::rename(temp.name().constData(), QFile::encodeName(ziel).constData()) != 0)
        return db::errorFromSystem(errno);
    temp.placed();
    return {};
}

} // namespace sicherung
