#pragma once

#include "platform/db/db_error.h"
#include "platform/files.h"

#include <QByteArray>
#include <QString>

namespace db {

// A file of its own beside `path` for a database that is built there and then
// put in place. Its name is `path` followed by ".lumoClavido-", a random part
// and a check value that only this program computes from the two, so that no
// file a person or another program names is ever taken for one. While it
// lives it is marked in use, so that removeLeftovers passes it by; it is
// removed with the object unless it was put in place.
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

// The name of the Temporary beside `path` whose random part is `zufall`.
QString temporaryName(const QString& path, quint64 zufall);

// Removes what a create or a copy killed in the middle left in the folder of
// `path`: this program's temporaries and their rollback journals. Only plain
// files whose name carries a valid check go, and none that a copy is still
// writing; a file system that keeps no locks keeps them too.
void removeLeftovers(const QString& path);

} // namespace db
