#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Reads one table of an Access file with mdbtools' libmdb. libmdb trusts the
// file, so it runs in a child process of its own, a fresh start of this
// program's file that holds nothing of this process's memory, within limits of
// time, memory and output: a damaged file that makes it crash, loop or swell
// costs that child, never this program.
namespace db::access {

struct Limits {
    int seconds = 20;
    qint64 bytes = qint64(256) << 20; // what the child may hand over
    qint64 memory = qint64(1) << 30;  // what it may allocate besides
    static Limits& standard();        // changed by the fuzz programs only
};

struct RawTable {
    enum class Result {
        Read,
        NoTable,     // the file holds no table of that name
        NotText,     // a column is neither Text nor Memo
        NotReadable, // libmdb refused the file, or a value is damaged
        Failed,      // the child crashed or could not be started
        TimedOut,    // it ran past its time
        TooBig,      // it handed over more than allowed
    };
    Result result = Result::Failed;
    std::vector<QString> columns;
    // Each value's stored bytes; nothing for NULL.
    std::vector<std::vector<std::optional<QByteArray>>> rows;
};

// Reads every row of `table` (its name compared without case) in the file's
// order, Text and Memo columns as the bytes they hold.
RawTable readTable(const QString& path, const QString& table,
                   const Limits& limits = Limits::standard());

} // namespace db::access
