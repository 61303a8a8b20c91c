#include "platform/db/recordset.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <map>
#include <optional>

namespace db {

namespace {

QString quoted(const QString& identifier) {
    QString copy = identifier;
    return u'"' + copy.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A statement for one call: the one a batch keeps in `slot` (prepared there
// the first time, reset after each use), or without a slot one of its own.
class Prepared {
public:
    template <typename Sql>
    Prepared(sqlite3* handle, sqlite3_stmt** slot, Sql sql)
        : slot_(slot) {
        if (slot && *slot) {
            stmt_ = *slot;
            return;
        }
        prepared_ = sqlite3_prepare_v3(handle, sql().toUtf8().constData(), -1,
                                       slot ? SQLITE_PREPARE_PERSISTENT : 0, &stmt_, nullptr);
        if (slot && prepared_ == SQLITE_OK)
            *slot = stmt_;
    }
    ~Prepared() {
        if (slot_ && *slot_ == stmt_) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        } else {
            sqlite3_finalize(stmt_);
        }
    }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;

    int prepareResult() const { return prepared_; }
    sqlite3_stmt* get() const { return stmt_; }
    void bind(int position, const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(stmt_, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void bind(int position, qint64 value) { sqlite3_bind_int64(stmt_, position, value); }
    int step() {
        if (!stmt_)
            return prepared_ != SQLITE_OK ? prepared_ : SQLITE_MISUSE;
        return sqlite3_step(stmt_);
    }

private:
    sqlite3_stmt** slot_;
    sqlite3_stmt* stmt_ = nullptr;
    int prepared_ = SQLITE_OK;
};

} // namespace

// The statements a batch keeps, by what they write: the columns given.
struct Recordset::Statements {
    sqlite3* handle = nullptr;
    std::map<std::vector<bool>, sqlite3_stmt*> inserts;
    std::map<std::vector<bool>, sqlite3_stmt*> updates;
    sqlite3_stmt* readBack = nullptr;
    sqlite3_stmt* dataVersion = nullptr;

    ~Statements() { clear(); }
    void clear() {
        for (auto* kept : {&inserts, &updates}) {
            for (auto& [columns, stmt] : *kept)
                sqlite3_finalize(stmt);
            kept->clear();
        }
        sqlite3_finalize(readBack);
        sqlite3_finalize(dataVersion);
        readBack = dataVersion = nullptr;
    }
};

Recordset::Batch::Batch(Recordset& recordset)
    : recordset_(recordset) {
    recordset_.statements_ = std::make_shared<Statements>();
}

Recordset::Batch::~Batch() {
    recordset_.statements_.reset();
}

Recordset::Statements* Recordset::keptStatements() const {
    Statements* kept = statements_.get();
    // Those of a connection closed and opened again are of no use.
    if (kept && kept->handle != connection_->handle()) {
        kept->clear();
        kept->handle = connection_->handle();
    }
    return kept;
}

Connection::Stamp Recordset::currentStamp() const {
    Statements* kept = keptStatements();
    if (!kept)
        return connection_->changeStamp();
    Connection::Stamp stamp;
    stamp.ownChanges = sqlite3_total_changes64(connection_->handle());
    Prepared stmt(connection_->handle(), &kept->dataVersion,
                  [] { return QStringLiteral("PRAGMA data_version"); });
    if (stmt.step() == SQLITE_ROW)
        stamp.dataVersion = sqlite3_column_int64(stmt.get(), 0);
    return stamp;
}

QString Field::Value() const {
    return owner_ ? owner_->value(index_) : QString();
}

bool Field::SetValue(const QString& value) {
    return owner_ && owner_->setValue(index_, value);
}

Recordset::Recordset(Connection* connection, std::shared_ptr<Snapshot> snapshot)
    : connection_(connection)
    , snapshot_(std::move(snapshot)) {}

int Recordset::RecordCount() const {
    return snapshot_ ? int(snapshot_->rows.size()) : 0;
}

int Recordset::columnCount() const {
    return snapshot_ ? int(snapshot_->columns.size()) : 0;
}

QString Recordset::columnName(int position) const {
    return position >= 0 && position < columnCount() ? snapshot_->columns[position] : QString();
}

bool Recordset::onRow() const {
    return !currentDeleted_ && position_ < RecordCount();
}

bool Recordset::Eof() const {
    return position_ >= RecordCount();
}

void Recordset::MoveFirst() {
    CancelUpdate();
    position_ = 0;
    currentDeleted_ = false;
}

void Recordset::MoveNext() {
    CancelUpdate();
    // After a delete the position already names the row that followed it.
    if (currentDeleted_)
        currentDeleted_ = false;
    else if (position_ < RecordCount())
        ++position_;
}

void Recordset::MoveLast() {
    CancelUpdate();
    position_ = std::max(0, RecordCount() - 1);
    currentDeleted_ = false;
}

Mark Recordset::Bookmark() const {
    if (!onRow() || snapshot_->table.isEmpty())
        return std::nullopt;
    return snapshot_->rows[position_].rowid;
}

bool Recordset::SetBookmark(const Mark& mark) {
    if (!mark || !snapshot_)
        return false;
    const auto& rows = snapshot_->rows;
    auto it = std::lower_bound(rows.begin(), rows.end(), *mark,
                               [](const Row& row, qint64 id) { return row.rowid < id; });
    if (it == rows.end() || it->rowid != *mark) {
        it = std::find_if(rows.begin(), rows.end(),
                          [&](const Row& row) { return row.rowid == *mark; });
        if (it == rows.end())
            return false;
    }
    CancelUpdate();
    position_ = int(it - rows.begin());
    currentDeleted_ = false;
    return true;
}

int Recordset::fieldIndex(const QString& name) const {
    if (!snapshot_)
        return -1;
    const auto& columns = snapshot_->columns;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == name)
            return int(i);
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QString Recordset::value(int index) const {
    if (index < 0 || index >= columnCount())
        return {};
    if (mode_ != EditMode::None)
        return buffer_[index];
    if (!onRow())
        return {};
    return snapshot_->rows[position_].values[index];
}

bool Recordset::setValue(int index, const QString& value) {
    if (mode_ == EditMode::None || index < 0 || index >= columnCount())
        return false;
    buffer_[index] = value;
    dirty_[index] = true;
    return true;
}

void Recordset::AddNew() {
    if (!snapshot_)
        return;
    CancelUpdate();
    mode_ = EditMode::AddNew;
    buffer_.assign(snapshot_->columns.size(), QString());
    dirty_.assign(snapshot_->columns.size(), false);
}

Error Recordset::Edit() {
    if (!onRow())
        return errorFrom(SQLITE_NOTFOUND);
    CancelUpdate();
    mode_ = EditMode::Edit;
    buffer_ = snapshot_->rows[position_].values;
    dirty_.assign(buffer_.size(), false);
    return {};
}

void Recordset::CancelUpdate() {
    mode_ = EditMode::None;
    buffer_.clear();
    dirty_.clear();
}

bool Recordset::snapshotFresh() const {
    return snapshot_->stamp.ownChanges >= 0 && snapshot_->stamp == currentStamp();
}

void Recordset::stampAfterWrite(bool wasFresh) {
    // A snapshot that already missed someone else's change must not look current.
    snapshot_->stamp = wasFresh ? currentStamp() : Connection::Stamp{};
}

// The rows of a source without a connection, and those of a query, are read only.
Error Recordset::schreibbar() const {
    if (!connection_)
        return errorFrom(snapshot_ ? SQLITE_READONLY : SQLITE_CANTOPEN);
    if (!connection_->isOpen())
        return errorFrom(SQLITE_CANTOPEN);
    if (!snapshot_ || snapshot_->table.isEmpty())
        return errorFrom(SQLITE_READONLY);
    return {};
}

Error Recordset::Update() {
    if (mode_ == EditMode::None)
        return errorFrom(SQLITE_MISUSE);
    if (Error e = schreibbar())
        return e;
    Error e = mode_ == EditMode::AddNew ? insertRow() : updateRow();
    if (!e)
        CancelUpdate();
    return e;
}

Error Recordset::insertRow() {
    const auto sql = [this] {
        QStringList names, marks;
        for (size_t i = 0; i < dirty_.size(); ++i) {
            if (dirty_[i]) {
                names << quoted(snapshot_->columns[i]);
                marks << QStringLiteral("?");
            }
        }
        return names.isEmpty()
                   ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(snapshot_->table))
                   : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(quoted(snapshot_->table), names.join(u','), marks.join(u','));
    };
    const bool fresh = snapshotFresh();
    Statements* kept = keptStatements();
    Prepared stmt(connection_->handle(), kept ? &kept->inserts[dirty_] : nullptr, sql);
    if (stmt.prepareResult() != SQLITE_OK)
        return errorFrom(connection_->handle(), stmt.prepareResult());
    int position = 1;
    for (size_t i = 0; i < dirty_.size(); ++i) {
        if (dirty_[i])
            stmt.bind(position++, buffer_[i]);
    }
    if (int rc = stmt.step(); rc != SQLITE_DONE)
        return errorFrom(connection_->handle(), rc);

    // Read the row back, so that column defaults show as the file holds them.
    Row row;
    row.rowid = sqlite3_last_insert_rowid(connection_->handle());
    if (readRow(row.rowid, row)) {
        row.values = buffer_;
    }
    snapshot_->rows.push_back(std::move(row));
    stampAfterWrite(fresh);
    return {};
}

Error Recordset::updateRow() {
    if (!onRow())
        return errorFrom(SQLITE_NOTFOUND);
    Row& row = snapshot_->rows[position_];
    if (std::find(dirty_.begin(), dirty_.end(), true) == dirty_.end())
        return {};
    const bool fresh = snapshotFresh();
    std::optional<Transaction> eigene;
    if (Error e = unveraendert(row, fresh, eigene))
        return e;
    Statements* kept = keptStatements();
    Prepared stmt(connection_->handle(), kept ? &kept->updates[dirty_] : nullptr, [this] {
        QStringList sets;
        for (size_t i = 0; i < dirty_.size(); ++i) {
            if (dirty_[i])
                sets << quoted(snapshot_->columns[i]) + QStringLiteral(" = ?");
        }
        return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
            .arg(quoted(snapshot_->table), sets.join(u','));
    });
    if (stmt.prepareResult() != SQLITE_OK)
        return errorFrom(connection_->handle(), stmt.prepareResult());
    int position = 1;
    for (size_t i = 0; i < dirty_.size(); ++i) {
        if (dirty_[i])
            stmt.bind(position++, buffer_[i]);
    }
    stmt.bind(position, row.rowid);
    if (int rc = stmt.step(); rc != SQLITE_DONE)
        return errorFrom(connection_->handle(), rc);
    if (sqlite3_changes(connection_->handle()) == 0)
        return errorFrom(SQLITE_NOTFOUND);
    if (eigene) {
        if (Error e = eigene->commit())
            return e;
    }
    for (size_t i = 0; i < dirty_.size(); ++i) {
        if (dirty_[i])
            row.values[i] = buffer_[i];
    }
    stampAfterWrite(fresh);
    return {};
}

// A snapshot that missed someone else's change may hold an old copy of the
// row: it is written only while the file still holds what the snapshot shows,
// checked in the same transaction as the write.
Error Recordset::unveraendert(const Row& row, bool fresh, std::optional<Transaction>& eigene) {
    if (fresh)
        return {};
    if (sqlite3_get_autocommit(connection_->handle())) {
        eigene.emplace(*connection_);
        if (eigene->started())
            return eigene->started();
    }
    Row jetzt;
    if (Error e = readRow(row.rowid, jetzt))
        return e;
    return jetzt.values == row.values ? Error{} : errorFrom(SQLITE_ABORT);
}

Error Recordset::readRow(qint64 rowid, Row& row) {
    Statements* kept = keptStatements();
    Prepared stmt(connection_->handle(), kept ? &kept->readBack : nullptr, [this] {
        QStringList names;
        for (const QString& column : snapshot_->columns)
            names << quoted(column);
        return QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
            .arg(names.join(u','), quoted(snapshot_->table));
    });
    stmt.bind(1, rowid);
    if (int rc = stmt.step(); rc != SQLITE_ROW)
        return errorFrom(rc == SQLITE_DONE ? SQLITE_NOTFOUND : rc);
    row.values.resize(snapshot_->columns.size());
    for (size_t i = 0; i < row.values.size(); ++i)
        row.values[i] = columnText(stmt.get(), int(i));
    return {};
}

Error Recordset::SetzeAlle(const QList<QPair<QString, QString>>& spalten, const QString& wo,
                           const QString& wert) {
    CancelUpdate();
    if (Error e = schreibbar())
        return e;
    QStringList sets;
    std::vector<int> indizes;
    for (const auto& [name, _] : spalten) {
        const int i = fieldIndex(name);
        if (i < 0)
            return errorFrom(SQLITE_ERROR);
        indizes.push_back(i);
        sets << quoted(snapshot_->columns[i]) + QStringLiteral(" = ?");
    }
    const int iWo = wo.isEmpty() ? -1 : fieldIndex(wo);
    if (!wo.isEmpty() && iWo < 0)
        return errorFrom(SQLITE_ERROR);
    const bool fresh = snapshotFresh();
    // "=" on text compares exactly, as the program's walks do; NULL reads as "".
    QString sql = QStringLiteral("UPDATE %1 SET %2").arg(quoted(snapshot_->table), sets.join(u','));
    if (iWo >= 0)
        sql += QStringLiteral(" WHERE coalesce(%1, '') = ?").arg(quoted(snapshot_->columns[iWo]));
    Statement stmt(connection_->handle(), sql);
    if (stmt.prepareResult() != SQLITE_OK)
        return errorFrom(connection_->handle(), stmt.prepareResult());
    int position = 1;
    for (const auto& [_, value] : spalten)
        stmt.bind(position++, value);
    if (iWo >= 0)
        stmt.bind(position, wert);
    if (int rc = stmt.step(); rc != SQLITE_DONE)
        return errorFrom(connection_->handle(), rc);
    for (Row& row : snapshot_->rows) {
        if (iWo >= 0 && row.values[iWo] != wert)
            continue;
        for (int k = 0; k < int(indizes.size()); ++k)
            row.values[indizes[k]] = spalten[k].second;
    }
    stampAfterWrite(fresh);
    return {};
}

Error Recordset::Delete() {
    if (mode_ != EditMode::None)
        CancelUpdate();
    if (!onRow())
        return errorFrom(SQLITE_NOTFOUND);
    if (Error e = schreibbar())
        return e;
    const bool fresh = snapshotFresh();
    std::optional<Transaction> eigene;
    if (Error e = unveraendert(snapshot_->rows[position_], fresh, eigene))
        return e;
    Statement stmt(connection_->handle(),
                   QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(snapshot_->table)));
    stmt.bind(1, snapshot_->rows[position_].rowid);
    if (int rc = stmt.step(); rc != SQLITE_DONE)
        return errorFrom(connection_->handle(), rc);
    // Someone else deleted it since the snapshot was taken.
    if (sqlite3_changes(connection_->handle()) == 0)
        return errorFrom(SQLITE_NOTFOUND);
    if (eigene) {
        if (Error e = eigene->commit())
            return e;
    }
    snapshot_->rows.erase(snapshot_->rows.begin() + position_);
    currentDeleted_ = true;
    stampAfterWrite(fresh);
    return {};
}

} // namespace db
