#pragma once

#include "platform/db/access_header.h"
#include "platform/db/source.h"

#include <memory>

namespace db {

// An Access (Jet 3 or Jet 4) database file, read only: the second engine
// behind the data controls, for the files of the Windows versions. Its text
// comes character for character as stored: Jet 4 as the Unicode it holds,
// Jet 3 through the code page table it is given. NULL reads as empty text.
class AccessFile : public Source {
public:
    // Opens the file when its signature names Jet 3 or Jet 4 and its header
    // keeps `password` or no password. Reads nothing else yet.
    Error open(const QString& path, const QString& password, access::CodePage codePage);
    void close();
    bool isOpen() const override { return open_; }
    QString path() const override { return path_; }
    access::Format format() const { return format_; }

    // A whole table, in the file's order (a statement is refused). A table
    // is read once per opening. Writes to its rows are refused.
    Error read(const RecordSource& source, Snapshot& snapshot) override;
    // The columns of `table`; none when the file has no table of that name.
    Error columns(const QString& table, QStringList* names);

private:
    Error load(const QString& table);

    bool open_ = false;
    QString path_;
    access::Format format_ = access::Format::None;
    access::CodePage codePage_ = nullptr;
    QString table_;
    bool missing_ = false;
    std::shared_ptr<const Snapshot> rows_;
};

} // namespace db
