#pragma once

#include "platform/db/db_error.h"
#include "platform/files.h"

#include <QByteArray>
#include <QString>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// One keyed connection to an SQLCipher database file. Opening never creates a
// file; creating never touches a file that is already there.
class Connection {
public:
    // How long a call waits for another program that holds the file locked.
    static constexpr int kBusyTimeoutMs = 5000;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file (read-write unless asked otherwise) and checks
    // the key on the first read. While open, the file is marked in use (see
    // files::UseMark), so that no other copy of the program replaces it.
    Error open(const QString& path, const QByteArray& key, bool readOnly = false);
    // Builds a new database at `path` (mode 0600) with `schema` run inside it.
    // Fails if anything is at `path`; a file half made is never left there.
    static Error create(const QString& path, const QByteArray& key, const QString& schema);

    void close();
    bool isOpen() const { return handle_ != nullptr; }
    QString path() const { return path_; }
    sqlite3* handle() const { return handle_; }

    Error exec(const QString& sql);
    // Runs a query and hands each row's first column to `row`.
    Error queryColumn(const QString& sql, const std::function<void(const QString&)>& row);
    // Changes by this connection and commits by others both move the stamp.
    struct Stamp {
        qint64 ownChanges = -1;
        qint64 dataVersion = -1;
        bool operator==(const Stamp&) const = default;
    };
    Stamp changeStamp() const;

private:
    static Error keyAndCheck(sqlite3* handle, const QByteArray& key);

    sqlite3* handle_ = nullptr;
    QString path_;
    files::UseMark inUse_;
};

// Writes between its start and commit() reach the file together or not at
// all: a transaction not committed is rolled back when it goes.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Why the transaction could not start; nothing to commit then.
    const Error& started() const { return started_; }
    Error commit();

private:
    Connection& connection_;
    Error started_;
    bool open_ = false;
};

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3* handle, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int prepareResult() const { return prepared_; }
    void bind(int position, const QString& value);
    void bind(int position, qint64 value);
    int step();
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int prepared_ = 0;
};

QString columnText(sqlite3_stmt* stmt, int column);

} // namespace db
