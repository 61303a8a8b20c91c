#pragma once

#include "platform/db/recordset.h"

#include <QString>
#include <QStringList>

namespace db {

// What a data control reads: a whole table, or a statement with its values
// bound as parameters (never spliced into the text).
struct RecordSource {
    QString text;
    QStringList parameters;

    static RecordSource table(const QString& name) { return {name, {}}; }
    bool isTable() const;
};

// An open database file that a data control reads, of whichever engine: the
// program's own SQLCipher file, or a read-only file of another format.
class Source {
public:
    virtual ~Source() = default;
    virtual bool isOpen() const = 0;
    virtual QString path() const = 0;
    // Reads the rows of `source` whole into `snapshot`.
    virtual Error read(const RecordSource& source, Snapshot& snapshot) = 0;
    // The connection rows are written through; none where they are read only.
    virtual Connection* connection() { return nullptr; }
};

} // namespace db
