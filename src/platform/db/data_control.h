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

// The data view of a form: one record source at a time on one connection.
class DataControl {
public:
    explicit DataControl(Connection& connection)
        : connection_(connection) {}

    void SetRecordSource(const RecordSource& source) { source_ = source; }
    const RecordSource& Source() const { return source_; }
    QString DatabaseName() const { return connection_.path(); }

    // Reads the source afresh and stands on its first row. A table whose rows
    // nobody has changed since the last read is not read again.
    Error Refresh();
    // Forgets the last read of the table, e.g. after writes were rolled back:
    // the next Refresh() reads it again.
    void Forget() { tableCache_.reset(); }
    db::Recordset& Recordset() { return recordset_; }
    Connection& Database() { return connection_; }

private:
    Error load(Snapshot& snapshot);

    Connection& connection_;
    RecordSource source_;
    db::Recordset recordset_;
    std::shared_ptr<Snapshot> tableCache_;
};

} // namespace db
