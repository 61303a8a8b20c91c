#pragma once

#include "platform/db/connection.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace db {

// A row's identity in its table (the rowid); it survives writes and refreshes.
using Mark = std::optional<qint64>;

struct Row {
    qint64 rowid = 0;
    std::vector<QString> values;
};

// The rows a record source delivered, in order, kept in step with the writes
// made through a recordset on them.
struct Snapshot {
    QString table; // empty for the result of a query: such rows cannot be written
    std::vector<QString> columns;
    std::vector<Row> rows;
    Connection::Stamp stamp;
};

class Recordset;

// One column of the current row (or of the pending new or edited row).
class Field {
public:
    Field(Recordset* owner, int index)
        : owner_(owner)
        , index_(index) {}
    QString Value() const;
    bool SetValue(const QString& value);
    bool exists() const { return index_ >= 0; }

private:
    Recordset* owner_;
    int index_;
};

class Recordset {
public:
    enum class EditMode { None, Edit, AddNew };

    // While one lives, the writes through this recordset keep the statements
    // they prepare and use them again for the next rows instead of preparing
    // each anew: for writing many rows in one go. It must go before the
    // connection is closed, which would otherwise stay open until it goes.
    class Batch {
    public:
        explicit Batch(Recordset& recordset);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Recordset& recordset_;
    };

    Recordset() = default;
    // Without a connection the rows are read only: every write is refused.
    Recordset(Connection* connection, std::shared_ptr<Snapshot> snapshot);

    void MoveFirst();
    void MoveNext();
    void MoveLast();
    bool Eof() const;
    int RecordCount() const;

    Mark Bookmark() const;
    bool SetBookmark(const Mark& mark);

    // Writing: AddNew or Edit, set fields, then Update (written to the file at
    // once) or CancelUpdate. Moving to another row drops a pending change.
    void AddNew();
    Error Edit();
    Error Update();
    void CancelUpdate();
    Error Delete();
    // Sets columns in every row of the table, or in every row whose column
    // `wo` holds exactly `wert`, in the file and in this recordset: what a
    // walk with Edit and Update over those rows would do, in one statement.
    Error SetzeAlle(const QList<QPair<QString, QString>>& spalten, const QString& wo = {},
                    const QString& wert = {});
    EditMode editMode() const { return mode_; }

    Field Fields(const QString& name) { return Field(this, fieldIndex(name)); }
    Field Fields(int position) { return Field(this, position < columnCount() ? position : -1); }
    int fieldIndex(const QString& name) const;
    int columnCount() const;
    QString columnName(int position) const;

private:
    friend class Field;
    struct Statements;
    QString value(int index) const;
    bool setValue(int index, const QString& value);
    bool onRow() const;
    Error schreibbar() const;
    Error insertRow();
    Error updateRow();
    Error readRow(qint64 rowid, Row& row);
    Error unveraendert(const Row& row, bool fresh, std::optional<Transaction>& eigene);
    bool snapshotFresh() const;
    void stampAfterWrite(bool wasFresh);
    Statements* keptStatements() const;
    Connection::Stamp currentStamp() const;

    Connection* connection_ = nullptr;
    std::shared_ptr<Snapshot> snapshot_;
    int position_ = 0;
    bool currentDeleted_ = false;
    EditMode mode_ = EditMode::None;
    std::vector<QString> buffer_;
    std::vector<bool> dirty_;
    std::shared_ptr<Statements> statements_; // while a Batch lives
};

} // namespace db
