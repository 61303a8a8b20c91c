#include "hostile_file.h"

#include "check.h"
#include "store/record_file.h"

#include <QFile>
#include <QMessageAuthenticationCode>
#include <QSet>
#include <QTemporaryDir>

#include <sqlcipher/sqlite3.h>

namespace hostile {

namespace {

// Bounds for the SQL of an input: its work, its values, its file.
constexpr int kSchritte = 2'000'000;
constexpr int kLaenge = 1 << 20;

const QByteArray kSalz = QByteArrayLiteral("lumoClavido-fuzz");

// What SQLCipher 4 derives from the program's password for a file with salt
// kSalz (PBKDF2-HMAC-SHA512, 256,000 rounds), worked out once per process: it
// is what costs. Given as raw key with that salt, the engine keys a new file
// at once, and the program's own open derives the same key from the file.
QByteArray rohSchluessel() {
    static const QByteArray schluessel = [] {
        QMessageAuthenticationCode hmac(QCryptographicHash::Sha512,
                                        recordfile::passwordOf(recordfile::kVerbindung));
        hmac.addData(kSalz + QByteArray("\0\0\0\1", 4));
        QByteArray u = hmac.result();
        QByteArray t = u;
        for (int i = 1; i < 256'000; ++i) {
            hmac.reset();
            hmac.addData(u);
            u = hmac.result();
            for (qsizetype j = 0; j < t.size(); ++j)
                t[j] = char(t[j] ^ u[j]);
        }
        return "x'" + t.left(32).toHex() + kSalz.toHex() + "'";
    }();
    return schluessel;
}

int abbrechen(void* schritte) {
    return ++*static_cast<int*>(schritte) > kSchritte / 1000;
}

// The input shapes its file however it likes, but reaches no other file
// (attached databases, the engine's log or profile files) and does not lift
// the size bound. No page_size either: SQLCipher 4.6.1 reads past its page
// buffer when it writes a keyed file whose page size is not the cipher's.
int erlauben(void*, int was, const char* name, const char*, const char*, const char*) {
    static const QSet<QByteArray> pragmas = {
        "encoding", "auto_vacuum", "writable_schema", "journal_mode", "user_version",
        "application_id", "schema_version", "secure_delete", "foreign_keys", "rekey",
        "cipher_page_size", "cipher_use_hmac", "cipher_compatibility",
        "cipher_plaintext_header_size",
        // read only, some asked by the engine's own modules
        "data_version", "table_info", "table_xinfo", "index_list", "index_info", "index_xinfo",
        "integrity_check", "quick_check", "page_count", "freelist_count"};
    if (was == SQLITE_ATTACH || was == SQLITE_DETACH)
        return SQLITE_DENY;
    if (was == SQLITE_PRAGMA)
        return pragmas.contains(QByteArray(name).toLower()) ? SQLITE_OK : SQLITE_DENY;
    return SQLITE_OK;
}

void keyedFromSql(const QString& path, const QByteArray& sql) {
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    pruefen(sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) == SQLITE_OK,
            "making the keyed file");
    const QByteArray schluessel = rohSchluessel();
    sqlite3_key(db, schluessel.constData(), int(schluessel.size()));
    sqlite3_exec(db, "PRAGMA max_page_count = 512", nullptr, nullptr, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kLaenge);
    int schritte = 0;
    sqlite3_progress_handler(db, 1000, abbrechen, &schritte);
    sqlite3_set_authorizer(db, erlauben, nullptr);
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
}

} // namespace

QString folder() {
    static QTemporaryDir ordner;
    pruefen(ordner.isValid(), "a temporary folder");
    return ordner.path();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray writeFile(const QString& path, const uint8_t* data, size_t size) {
    for (const char* rest : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(rest));
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (input.startsWith("sql\n")) {
        keyedFromSql(path, input.mid(4));
    } else {
        QFile file(path);
        pruefen(file.open(QIODevice::WriteOnly) && file.write(input) == input.size(),
                "writing the file");
    }
    return readFile(path);
}

} // namespace hostile
