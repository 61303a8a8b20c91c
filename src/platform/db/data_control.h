#pragma once

#include "platform/db/source.h"

#include <memory>

namespace db {

// The program's own file as a source: tables in rowid order, statements as
// they are; its rows are written through the connection.
class ConnectionSource : public Source {
public:
    explicit ConnectionSource(Connection& connection)
        : connection_(connection) {}
    bool isOpen() const override { return connection_.isOpen(); }
    QString path() const override { return connection_.path(); }
    Connection* connection() override { return &connection_; }
    Error read(const RecordSource& source, Snapshot& snapshot) override;

private:
    Connection& connection_;
};

// The data view of a form: one record source at a time on one database.
class DataControl {
public:
    // On the program's own file: its rows can be written.
    explicit DataControl(Connection& connection);
    // On any other source: read only, unless it has a connection.
    explicit DataControl(db::Source& source);
    ~DataControl();
    DataControl(const DataControl&) = delete;
    DataControl& operator=(const DataControl&) = delete;

    void SetRecordSource(const RecordSource& source) { recordSource_ = source; }
    const RecordSource& Source() const { return recordSource_; }
    QString DatabaseName() const { return source_->path(); }

    // Reads the source afresh and stands on its first row. A table whose rows
    // nobody has changed since the last read is not read again.
    Error Refresh();
    // Forgets the last read of the table, e.g. after writes were rolled back:
    // the next Refresh() reads it again.
    void Forget() { tableCache_.reset(); }
    db::Recordset& Recordset() { return recordset_; }
    // The connection of a data control on the program's own file.
    Connection& Database() { return *source_->connection(); }

private:
    std::unique_ptr<db::Source> own_;
    db::Source* source_;
    RecordSource recordSource_;
    db::Recordset recordset_;
    std::shared_ptr<Snapshot> tableCache_;
};

} // namespace db
