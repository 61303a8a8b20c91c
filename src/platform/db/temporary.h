#pragma once

#include "platform/db/db_error.h"
#include "platform/files.h"

#include <QByteArray>
#include <QString>

namespace db {

// A file of its own beside `path` (`path`.XXXXXX, as mkstemp names it) for a
// database that is built there and then put in place. While it lives it is
// marked in use, so that removeLeftovers passes it by; it is removed with the
// object unless it was put in place.
class Temporary {
public:
    explicit Temporary(const QString& path);
    ~Temporary();
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    // Why no file could be made; then there is none.
    const Error& made() const { return made_; }
    const QByteArray& name() const { return name_; }
    QString path() const;
    // It was renamed to its final name: nothing left to remove.
    void placed() { placed_ = true; }

private:
    QByteArray name_;
    Error made_;
    files::UseMark mark_;
    bool placed_ = false;
};

// Removes what a create or a copy killed in the middle left beside `path`:
// its temporaries and their rollback journals. Only plain files of exactly
// that pattern go, and none that another copy is still writing.
void removeLeftovers(const QString& path);

} // namespace db
