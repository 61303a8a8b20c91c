#include "raw_db.h"

#include "store/field_cipher.h"
#include "store/record_file.h"

#include <QFile>
#include <QTest>

#include <sqlcipher/sqlite3.h>

namespace rawdb {

namespace {

sqlite3* oeffne(const QString& path) {
    sqlite3* db = nullptr;
    const QByteArray key = recordfile::passwordOf(recordfile::kVerbindung);
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        qFatal("cannot open %s", qPrintable(path));
    sqlite3_key(db, key.constData(), int(key.size()));
    return db;
}

void exec(sqlite3* db, const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("sql failed: %s (%s)", error, qPrintable(sql));
}

} // namespace

void ausfuehren(const QString& path, const QString& sql) {
    sqlite3* db = oeffne(path);
    exec(db, sql);
    sqlite3_close(db);
}

void schreibe(const QString& path, const std::vector<Eintrag>& rows) {
    sqlite3* db = oeffne(path);
    exec(db, QStringLiteral("BEGIN"));
    int tables = 0;
    sqlite3_exec(
        db, "SELECT count(*) FROM sqlite_master WHERE name='Haupt'",
        [](void* n, int, char** v, char**) {
            *static_cast<int*>(n) = atoi(v[0]);
            return 0;
        },
        &tables, nullptr);
    if (tables == 0)
        exec(db, recordfile::createStatement());
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Haupt (Bezeichnung, \"Konto-Nr\", Pin, Zusatz, Bezeichnung1, "
                       "Bezeichnung2, Bezeichnung3, Bemerkungen, Kategorie, Benutzer, Passwort, "
                       "Sichern, fragen) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &stmt, nullptr);
    for (const Eintrag& e : rows) {
        const QStringList values = {e.bezeichnung,
                                    verschluesseln(e.konto, kFeldSchluessel),
                                    verschluesseln(e.pin, kFeldSchluessel),
                                    verschluesseln(e.zusatz, kFeldSchluessel),
                                    e.bezeichnung1,
                                    e.bezeichnung2,
                                    e.bezeichnung3,
                                    e.bemerkungen,
                                    e.kategorie,
                                    e.benutzer,
                                    verschluesseln(e.passwort, kFeldSchluessel),
                                    e.sichern,
                                    e.fragen};
        for (int i = 0; i < values.size(); ++i) {
            const QByteArray utf8 = values[i].toUtf8();
            sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        if (sqlite3_step(stmt) != SQLITE_DONE)
            qFatal("insert failed: %s", sqlite3_errmsg(db));
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    exec(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
}

std::vector<RohZeile> lese(const QString& path) {
    std::vector<RohZeile> rows;
    sqlite3* db = oeffne(path);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT rowid, * FROM Haupt ORDER BY rowid", -1, &stmt, nullptr) !=
        SQLITE_OK)
        qFatal("read failed: %s", sqlite3_errmsg(db));
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        RohZeile row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
            if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
                row.insert(name, QVariant());
            else if (i == 0)
                row.insert(name, qint64(sqlite3_column_int64(stmt, i)));
            else
                row.insert(name, QString::fromUtf8(
                                     reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

QByteArray bytes(const QString& path, const QString& column, qint64 rowid) {
    sqlite3* db = oeffne(path);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql =
        QStringLiteral("SELECT \"%1\" FROM Haupt WHERE rowid = ?").arg(column).toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    sqlite3_bind_int64(stmt, 1, rowid);
    QByteArray result;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        result = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                            sqlite3_column_bytes(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

QByteArray dateiInhalt(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QStringList spalte(const std::vector<RohZeile>& rows, const char* name) {
    QStringList result;
    for (const RohZeile& r : rows)
        result << r.value(name).toString();
    return result;
}

} // namespace rawdb
