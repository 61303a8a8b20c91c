#include "store/windows_datei.h"

#include "platform/db/temporary.h"

#include "platform/db/access_file.h"
#include "platform/files.h"
#include "store/code_page.h"
#include "store/record_file.h"
#include "store/sicherung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace windowsdatei {

namespace {

QString kennwort() {
    return QString::fromUtf8(recordfile::passwordOf(recordfile::kVerbindung));
}

QByteArray inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

// The rows in a new file at `ziel`, which exists and is empty; the columns
// the Access table has, by name, the others left at their defaults.
db::Error schreiben(const QString& ziel, const db::Snapshot& zeilen) {
    db::Connection neu;
    db::Error e = neu.open(ziel, recordfile::passwordOf(recordfile::kVerbindung));
    if (!e)
        e = neu.exec(recordfile::createStatement());
    if (e)
        return e;
    // The columns of the program's table that the Access table has; any
    // other is none of the program's and stays behind.
    QStringList eigene;
    e = neu.queryColumn(QStringLiteral("SELECT name FROM pragma_table_info('Haupt')"),
                        [&](const QString& name) { eigene << name.toLower(); });
    if (e)
        return e;
    QStringList namen, marken;
    std::vector<int> genommen;
    for (int i = 0; i < int(zeilen.columns.size()); ++i) {
        const QString& spalte = zeilen.columns[i];
        if (!eigene.contains(spalte.toLower()) ||
            namen.contains(u'"' + spalte + u'"', Qt::CaseInsensitive))
            continue;
        namen << u'"' + spalte + u'"';
        marken << QStringLiteral("?");
        genommen.push_back(i);
    }
    db::Transaction transaktion(neu);
    if (transaktion.started())
        return transaktion.started();
    db::Statement einfuegen(neu.handle(), QStringLiteral("INSERT INTO Haupt (%1) VALUES (%2)")
                                              .arg(namen.join(u','), marken.join(u',')));
    if (einfuegen.prepareResult() != SQLITE_OK)
        return db::errorFrom(neu.handle(), einfuegen.prepareResult());
    for (const db::Row& zeile : zeilen.rows) {
        // What was NULL stays NULL.
        for (int k = 0; k < int(genommen.size()); ++k) {
            const QString& wert = zeile.values[genommen[k]];
            if (wert.isNull())
                sqlite3_bind_null(einfuegen.get(), k + 1);
            else
                einfuegen.bind(k + 1, wert);
        }
        if (const int rc = einfuegen.step(); rc != SQLITE_DONE)
            return db::errorFrom(neu.handle(), rc);
        sqlite3_reset(einfuegen.get());
    }
    return transaktion.commit();
}

// Keeps the Access file as `sicherung` too: a second name for the same file,
// or where the file system has none, a copy compared byte for byte.
db::Error behalten(const QString& pfad, const QString& sicherung, bool* neuAngelegt) {
    *neuAngelegt = false;
    if (files::sameFile(pfad, sicherung))
        return {};
    const QByteArray von = QFile::encodeName(pfad);
    const QByteArray nach = QFile::encodeName(sicherung);
    if (::link(von.constData(), nach.constData()) == 0) {
        *neuAngelegt = true;
        return {};
    }
    if (errno == EEXIST)
        return db::errorFromSystem(EEXIST);
    // The copy is made under a temporary name and given the name only when whole.
    db::Temporary temp(sicherung);
    if (temp.made())
        return temp.made();
    QString grund;
    int ursache = 0;
    // Into the temporary itself: it keeps its mark, which a file saved under a
    // name of its own and renamed would lose.
    if (!files::copyInto(pfad, temp.path(), &grund) || inhalt(temp.path()) != inhalt(pfad))
        return {SQLITE_IOERR, grund.isEmpty() ? db::describe(SQLITE_IOERR) : grund};
    if (!files::placeNew(temp.path(), sicherung, &grund, &ursache))
        return {db::errorFromSystem(ursache).code, grund};
    temp.placed();
    *neuAngelegt = true;
    return {};
}

// The renames in the folder outlast a power cut.
void ordnerSichern(const QString& ordner) {
    const int fd =
        ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

Befund pruefen(const QString& pfad, db::Snapshot* zeilen, db::Error* fehler) {
    db::AccessFile datei;
    db::Snapshot gelesen;
    db::Error e = datei.open(pfad, kennwort(), codepage::character);
    if (!e)
        e = datei.read(db::RecordSource::table(recordfile::kTabelle), gelesen);
    if (!e &&
        !recordfile::traegtEintraege(QStringList(gelesen.columns.begin(), gelesen.columns.end())))
        e = db::errorFrom(SQLITE_NOTADB);
    if (fehler)
        *fehler = e;
    if (e)
        return Befund::NichtLesbar;
    if (zeilen)
        *zeilen = std::move(gelesen);
    return Befund::Uebernehmbar;
}

QString sicherungsName(const QString& ordner) {
    const QDir dir(ordner);
    const QString pfad = recordfile::pathIn(ordner);
    for (int nummer = 1;; ++nummer) {
        const QString name = nummer == 1 ? QStringLiteral("Clavido61-Windows.mdb")
                                         : QStringLiteral("Clavido61-Windows-%1.mdb").arg(nummer);
        const QString kandidat = dir.filePath(name);
        // One left by a take-over that was stopped is this very file.
        const QFileInfo da(kandidat);
        if ((!da.exists() && !da.isSymLink()) || files::sameFile(pfad, kandidat))
            return name;
    }
}

db::Error uebernehmen(const QString& ordner, const QString& sicherung, const db::Snapshot& zeilen) {
    const QString pfad = recordfile::pathIn(ordner);
    db::Error e;

    // The new file is made and checked under a temporary name beside it,
    // marked in use so that another copy starting meanwhile leaves it alone.
    db::Temporary temp(pfad);
    if (temp.made())
        return temp.made();
    const QString neu = temp.path();
    e = schreiben(neu, zeilen);
    qint64 anzahl = -1;
    if (!e)
        e = sicherung::pruefen(neu, &anzahl);
    if (!e && anzahl != qint64(zeilen.rows.size()))
        e = db::errorFrom(SQLITE_CORRUPT);

    const QString behalten = QDir(ordner).filePath(sicherung);
    bool angelegt = false;
    if (!e)
        e = windowsdatei::behalten(pfad, behalten, &angelegt);
    // The kept file holds every user's secrets: for its owner only, before the
    // new file takes the name, so that no kill leaves it open to others. (A
    // file system without modes, FAT, keeps what its mount says.)
    struct stat vorher;
    const bool modusBekannt = ::stat(QFile::encodeName(pfad).constData(), &vorher) == 0;
    if (!e)
        ::chmod(QFile::encodeName(behalten).constData(), 0600);
    if (!e && std::rename(temp.name().constData(), QFile::encodeName(pfad).constData()) != 0)
        e = db::errorFromSystem(errno);
    if (e) {
        if (angelegt)
            QFile::remove(behalten);
        if (modusBekannt)
            ::chmod(QFile::encodeName(pfad).constData(), vorher.st_mode & 07777);
        return e;
    }
    temp.placed();
    ordnerSichern(ordner);
    return {};
}

} // namespace windowsdatei
