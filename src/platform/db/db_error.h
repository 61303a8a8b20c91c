#pragma once

#include <QString>

struct sqlite3;

namespace db {

// A failed engine call: the engine's result code and a German text for the user.
struct Error {
    int code = 0;
    QString text;

    bool failed() const { return code != 0; }
    explicit operator bool() const { return failed(); }
};

// The German description of an SQLite/SQLCipher result code.
QString describe(int code);
Error errorFrom(int code);
// The result of a call on `handle`. A failure of the file system below the
// engine is read for what it is: a full disk (or a file-size limit), a refused
// access, a write-protected medium, a file replaced under the open connection.
Error errorFrom(sqlite3* handle, int code);
// A failed system call (its errno) as the engine's code for the same failure.
Error errorFromSystem(int error);

} // namespace db
