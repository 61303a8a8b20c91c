#pragma once

#include <QString>

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

} // namespace db
