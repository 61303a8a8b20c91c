#include "platform/db/data_control.h"

#include <sqlcipher/sqlite3.h>

namespace db {

bool RecordSource::isTable() const {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!c.isLetterOrNumber() && c != u'_')
            return false;
    }
    return true;
}

Error ConnectionSource::read(const RecordSource& source, Snapshot& snapshot) {
    const bool table = source.isTable();
    const QString sql =
        table ? QStringLiteral("SELECT rowid, * FROM \"%1\" ORDER BY rowid").arg(source.text)
              : source.text;
    snapshot.stamp = connection_.changeStamp();
    Statement stmt(connection_.handle(), sql);
    if (stmt.prepareResult() != SQLITE_OK)
        return errorFrom(connection_.handle(), stmt.prepareResult());
    for (int i = 0; i < source.parameters.size(); ++i)
        stmt.bind(i + 1, source.parameters[i]);

    const int first = table ? 1 : 0;
    const int count = sqlite3_column_count(stmt.get());
    for (int i = first; i < count; ++i)
        snapshot.columns.push_back(QString::fromUtf8(sqlite3_column_name(stmt.get(), i)));
    if (table)
        snapshot.table = source.text;

    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
        Row row;
        row.rowid = table ? sqlite3_column_int64(stmt.get(), 0) : 0;
        row.values.reserve(count - first);
        for (int i = first; i < count; ++i)
            row.values.push_back(columnText(stmt.get(), i));
        snapshot.rows.push_back(std::move(row));
    }
    return errorFrom(connection_.handle(), rc);
}

DataControl::DataControl(Connection& connection)
    : own_(std::make_unique<ConnectionSource>(connection))
    , source_(own_.get()) {}

DataControl::DataControl(db::Source& source)
    : source_(&source) {}

DataControl::~DataControl() = default;

Error DataControl::Refresh() {
    recordset_ = db::Recordset();
    if (!source_->isOpen())
        return errorFrom(SQLITE_CANTOPEN);
    Connection* connection = source_->connection();

    // Only the program's own file is written, and so only its reads are kept.
    const bool cached = connection && recordSource_.isTable();
    if (cached) {
        if (tableCache_ && tableCache_->table == recordSource_.text &&
            tableCache_->stamp.ownChanges >= 0 && tableCache_->stamp == connection->changeStamp()) {
            recordset_ = db::Recordset(connection, tableCache_);
            return {};
        }
        tableCache_.reset();
    }

    auto snapshot = std::make_shared<Snapshot>();
    if (Error e = source_->read(recordSource_, *snapshot))
        return e;
    if (cached)
        tableCache_ = snapshot;
    recordset_ = db::Recordset(connection, snapshot);
    return {};
}

} // namespace db
