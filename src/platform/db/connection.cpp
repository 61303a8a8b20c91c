#include "platform/db/connection.h"

#include "platform/db/temporary.h"
#include "platform/files.h"

#include <QFile>

#include <sqlcipher/sqlite3.h>

#include <sys/stat.h>

namespace db {

Connection::~Connection() {
    close();
}

Error Connection::keyAndCheck(sqlite3* handle, const QByteArray& key) {
    int rc = sqlite3_key(handle, key.constData(), int(key.size()));
    if (rc != SQLITE_OK)
        return errorFrom(handle, rc);
    // A wrong key would otherwise be logged on stderr by SQLCipher itself.
    sqlite3_exec(handle, "PRAGMA cipher_log_level = NONE", nullptr, nullptr, nullptr);
    // The key is only checked when the first page is read.
    rc = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    return errorFrom(handle, rc);
}

Error Connection::open(const QString& path, const QByteArray& key, bool readOnly) {
    close();
    // Taken alone, the mark means the file is being replaced right now.
    if (inUse_.take(path, false) == files::UseMark::InUse)
        return errorFrom(SQLITE_BUSY);
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                             readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const Error e = errorFrom(handle, rc);
        sqlite3_close(handle);
        inUse_.release();
        return e;
    }
    // Already the first read waits for a program that holds the file locked.
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    if (Error e = keyAndCheck(handle, key)) {
        sqlite3_close(handle);
        inUse_.release();
        return e;
    }
    // Every list is built by reading the whole table: keep its decrypted pages
    // in memory instead of deciphering them again for each statement.
    sqlite3_exec(handle, "PRAGMA cache_size = -131072", nullptr, nullptr, nullptr);
    handle_ = handle;
    path_ = path;
    return {};
}

Error Connection::create(const QString& path, const QByteArray& key, const QString& schema) {
    const QByteArray target = QFile::encodeName(path);
    struct stat st;
    if (lstat(target.constData(), &st) == 0)
        return errorFrom(SQLITE_CANTOPEN);

    // Build the file under a private name and put it in place, so that the
    // final name never shows a half-made file and never replaces another one.
    Temporary temp(path);
    if (temp.made())
        return temp.made();

    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(temp.name().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    Error e = errorFrom(handle, rc);
    if (!e)
        e = errorFrom(handle, sqlite3_key(handle, key.constData(), int(key.size())));
    if (!e)
        e = errorFrom(handle,
                      sqlite3_exec(handle, schema.toUtf8().constData(), nullptr, nullptr, nullptr));
    if (sqlite3_close(handle) != SQLITE_OK && !e)
        e = errorFrom(SQLITE_IOERR);
    int cause = 0;
    if (!e && files::placeNew(temp.path(), path, nullptr, &cause)) {
        temp.placed();
        return {};
    }
    if (!e)
        e = errorFromSystem(cause);
    return e;
}

void Connection::close() {
    if (handle_) {
        sqlite3_close_v2(handle_);
        handle_ = nullptr;
    }
    inUse_.release();
}

Error Connection::exec(const QString& sql) {
    if (!handle_)
        return errorFrom(SQLITE_MISUSE);
    return errorFrom(handle_,
                     sqlite3_exec(handle_, sql.toUtf8().constData(), nullptr, nullptr, nullptr));
}

Transaction::Transaction(Connection& connection)
    : connection_(connection) {
    // IMMEDIATE: a file another program is writing makes it wait here, before
    // the first row is changed.
    started_ = connection_.exec(QStringLiteral("BEGIN IMMEDIATE"));
    open_ = !started_;
}

Transaction::~Transaction() {
    if (open_)
        connection_.exec(QStringLiteral("ROLLBACK"));
}

Error Transaction::commit() {
    if (!open_)
        return started_ ? started_ : errorFrom(SQLITE_MISUSE);
    Error e = connection_.exec(QStringLiteral("COMMIT"));
    // A commit that failed leaves the transaction open: it is rolled back.
    if (!e)
        open_ = false;
    return e;
}

Error Connection::queryColumn(const QString& sql, const std::function<void(const QString&)>& row) {
    if (!handle_)
        return errorFrom(SQLITE_MISUSE);
    Statement stmt(handle_, sql);
    if (stmt.prepareResult() != SQLITE_OK)
        return errorFrom(handle_, stmt.prepareResult());
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW)
        row(columnText(stmt.get(), 0));
    return errorFrom(handle_, rc);
}

Connection::Stamp Connection::changeStamp() const {
    Stamp stamp;
    if (!handle_)
        return stamp;
    stamp.ownChanges = sqlite3_total_changes64(handle_);
    Statement stmt(handle_, QStringLiteral("PRAGMA data_version"));
    if (stmt.step() == SQLITE_ROW)
        stamp.dataVersion = sqlite3_column_int64(stmt.get(), 0);
    return stamp;
}

Statement::Statement(sqlite3* handle, const QString& sql) {
    prepared_ = sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt_, nullptr);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::bind(int position, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(stmt_, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void Statement::bind(int position, qint64 value) {
    sqlite3_bind_int64(stmt_, position, value);
}

int Statement::step() {
    if (!stmt_)
        return prepared_ != SQLITE_OK ? prepared_ : SQLITE_MISUSE;
    return sqlite3_step(stmt_);
}

QString columnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    if (!text)
        return {};
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

} // namespace db
