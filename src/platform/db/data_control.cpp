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

Error DataControl::Refresh() {
    recordset_ = db::Recordset();
    if (!connection_.isOpen())
        return errorFrom(SQLITE_CANTOPEN);

    if (source_.isTable()) {
        if (tableCache_ && tableCache_->table == source_.text &&
            tableCache_->stamp.ownChanges >= 0 && tableCache_->stamp == connection_.changeStamp()) {
            recordset_ = db::Recordset(&connection_, tableCache_);
            return {};
        }
        tableCache_.reset();
    }

    auto snapshot = std::make_shared<Snapshot>();
    if (Error e = load(*snapshot))
        return e;
    if (source_.isTable())
        tableCache_ = snapshot;
    recordset_ = db::Recordset(&connection_, snapshot);
    return {};
}

Error DataControl::load(Snapshot& snapshot) {
    const bool table = source_.isTable();
    const QString sql =
        table ? QStringLiteral("SELECT rowid, * FROM \"%1\" ORDER BY rowid").arg(source_.text)
              : source_.text;
    snapshot.stamp = connection_.changeStamp();
    Statement stmt(connection_.handle(), sql);
    if (stmt.prepareResult() != SQLITE_OK)
        return errorFrom(connection_.handle(), stmt.prepareResult());
    for (int i = 0; i < source_.parameters.size(); ++i)
        stmt.bind(i + 1, source_.parameters[i]);

    const int first = table ? 1 : 0;
    const int count = sqlite3_column_count(stmt.get());
    for (int i = first; i < count; ++i)
        snapshot.columns.push_back(QString::fromUtf8(sqlite3_column_name(stmt.get(), i)));
    if (table)
        snapshot.table = source_.text;

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

} // namespace db
