#include "store/record_file.h"

#include "platform/db/temporary.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <sqlcipher/sqlite3.h>

namespace recordfile {

namespace {

const QStringList kSpalten = {
    QStringLiteral("Bezeichnung"),  QStringLiteral("Konto-Nr"),     QStringLiteral("Pin"),
    QStringLiteral("Zusatz"),       QStringLiteral("Bezeichnung1"), QStringLiteral("Bezeichnung2"),
    QStringLiteral("Bezeichnung3"), QStringLiteral("Bemerkungen"),  QStringLiteral("Kategorie"),
    QStringLiteral("Benutzer"),     QStringLiteral("Passwort"),     QStringLiteral("Sichern"),
    QStringLiteral("fragen"),       QStringLiteral("übernommen")};

} // namespace

// Readers rely on the first eight columns by position. The columns are those
// a reader gets: computed ones included, which table_info leaves out.
db::Error checkTable(db::Connection& connection) {
    QStringList present;
    db::Error e = connection.queryColumn(
        QStringLiteral("SELECT name FROM pragma_table_xinfo('Haupt') WHERE hidden <> 1"),
        [&](const QString& name) { present << name.toLower(); });
    if (e)
        return e;
    for (int i = 0; i < kSpalten.size(); ++i) {
        const QString wanted = kSpalten[i].toLower();
        const bool placed = i < 8 ? present.value(i) == wanted : present.contains(wanted);
        if (!placed)
            return db::errorFrom(SQLITE_NOTADB);
    }
    return {};
}

namespace {

// Only a file that was read and is not ours counts as damaged.
Outcome failureOf(const db::Error& e) {
    switch (e.code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return Outcome::NotOpenable;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Outcome::InUse;
    default:
        return Outcome::NotReadable;
    }
}

} // namespace

bool traegtEintraege(const QStringList& spalten) {
    return spalten.contains(QStringLiteral("Bezeichnung"), Qt::CaseInsensitive) &&
           spalten.contains(QStringLiteral("Benutzer"), Qt::CaseInsensitive);
}

QByteArray passwordOf(const QString& connect) {
    const qsizetype at = connect.indexOf(QStringLiteral("pwd="), 0, Qt::CaseInsensitive);
    return at < 0 ? QByteArray() : connect.mid(at + 4).section(u';', 0, 0).toUtf8();
}

QString pathIn(const QString& folder) {
    return QDir(folder).filePath(kDateiName);
}

QString createStatement() {
    return QStringLiteral(
        "CREATE TABLE Haupt (Bezeichnung TEXT, \"Konto-Nr\" TEXT, Pin TEXT, Zusatz TEXT, "
        "Bezeichnung1 TEXT, Bezeichnung2 TEXT, Bezeichnung3 TEXT, Bemerkungen TEXT, "
        "Kategorie TEXT, Benutzer TEXT, Passwort TEXT, Sichern TEXT, fragen TEXT, "
        "\"übernommen\" TEXT DEFAULT '')");
}

OpenResult openOrCreate(db::Connection& connection, const QString& folder) {
    const QString path = pathIn(folder);
    // What a restore or a first start killed in the middle left beside it.
    db::removeLeftovers(files::finalTarget(path));
    const QFileInfo there(path);
    if (there.isSymLink() && !there.exists())
        return {Outcome::DanglingLink, db::errorFrom(SQLITE_CANTOPEN)};
    if (there.isDir())
        return {Outcome::Folder, db::errorFrom(SQLITE_CANTOPEN)};
    if (there.exists() && !there.isReadable())
        return {Outcome::NotReadable, db::errorFrom(SQLITE_PERM)};
    const QByteArray key = passwordOf(kVerbindung);
    Outcome made = Outcome::Opened;
    if (!there.exists()) {
        if (db::Error e = db::Connection::create(path, key, createStatement()))
            return {Outcome::NotCreatable, e};
        made = Outcome::Created;
    }
    db::Error e = connection.open(path, key);
    if (!e)
        e = checkTable(connection);
    if (e) {
        connection.close();
        return {failureOf(e), e};
    }
    return {made, {}};
}

} // namespace recordfile
