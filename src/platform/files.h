#pragma once

#include <QString>

// File services: existence and a whole copy that never leaves half a file.
namespace files {

bool exists(const QString& path);
// Copies `from` over `to` through a temporary beside `to` and a rename;
// on failure `to` is unchanged and `error` says why, in German.
bool copyOver(const QString& from, const QString& to, QString* error = nullptr);

} // namespace files
