#include "platform/db/access_file.h"

#include "platform/db/access_reader.h"
#include "platform/db/access_text.h"

#include <QFile>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

namespace db {

Error AccessFile::open(const QString& path, const QString& password, access::CodePage codePage) {
    close();
    const QByteArray head = access::readHead(path);
    if (head.isEmpty() && !QFile::exists(path))
        return errorFrom(SQLITE_CANTOPEN);
    const access::Format format = access::formatOf(head);
    if (format != access::Format::Jet3 && format != access::Format::Jet4)
        return errorFrom(SQLITE_NOTADB);
    const std::optional<QString> kept = access::passwordOf(head, codePage);
    // A file of whole pages, or one cut short.
    const qint64 page = format == access::Format::Jet4 ? 4096 : 2048;
    if (!kept || QFileInfo(path).size() % page != 0)
        return errorFrom(SQLITE_CORRUPT);
    // A file without a password opens with any.
    if (!kept->isEmpty() && *kept != password)
        return errorFrom(SQLITE_NOTADB);
    open_ = true;
    path_ = path;
    format_ = format;
    codePage_ = codePage;
    return {};
}

void AccessFile::close() {
    open_ = false;
    path_.clear();
    format_ = access::Format::None;
    table_.clear();
    missing_ = false;
    rows_.reset();
}

Error AccessFile::load(const QString& table) {
    if (!open_)
        return errorFrom(SQLITE_CANTOPEN);
    if (rows_ && table_.compare(table, Qt::CaseInsensitive) == 0)
        return {};
    if (missing_ && table_.compare(table, Qt::CaseInsensitive) == 0)
        return {};
    const access::RawTable raw = access::readTable(path_, table);
    switch (raw.result) {
    case access::RawTable::Result::Read:
        break;
    case access::RawTable::Result::NoTable:
        table_ = table;
        missing_ = true;
        rows_.reset();
        return {};
    case access::RawTable::Result::NotText:
        return errorFrom(SQLITE_NOTADB);
    default:
        return errorFrom(SQLITE_CORRUPT);
    }

    auto snapshot = std::make_shared<Snapshot>();
    snapshot->table = table;
    snapshot->columns = raw.columns;
    snapshot->rows.reserve(raw.rows.size());
    const bool jet4 = format_ == access::Format::Jet4;
    for (const auto& values : raw.rows) {
        Row row;
        row.rowid = qint64(snapshot->rows.size()) + 1;
        row.values.reserve(values.size());
        for (const std::optional<QByteArray>& bytes : values) {
            if (!bytes) {
                row.values.emplace_back();
                continue;
            }
            std::optional<QString> text =
                jet4 ? access::jet4Text(*bytes) : access::jet3Text(*bytes, codePage_);
            if (!text)
                return errorFrom(SQLITE_CORRUPT);
            // Empty, but not NULL: written back as the empty text it is.
            if (text->isNull())
                text = QStringLiteral("");
            row.values.push_back(std::move(*text));
        }
        snapshot->rows.push_back(std::move(row));
    }
    table_ = table;
    missing_ = false;
    rows_ = std::move(snapshot);
    return {};
}

Error AccessFile::read(const RecordSource& source, Snapshot& snapshot) {
    if (!source.isTable() || !source.parameters.isEmpty())
        return errorFrom(SQLITE_MISUSE);
    if (Error e = load(source.text))
        return e;
    if (!rows_)
        return errorFrom(SQLITE_ERROR);
    snapshot = *rows_;
    return {};
}

Error AccessFile::columns(const QString& table, QStringList* names) {
    if (Error e = load(table))
        return e;
    if (names) {
        names->clear();
        if (rows_)
            *names = QStringList(rows_->columns.begin(), rows_->columns.end());
    }
    return {};
}

} // namespace db
