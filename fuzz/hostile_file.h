#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// A database file made from fuzz input: "sql\n" followed by SQL that is run on
// an empty file keyed with the program's password, or else the file's bytes
// as they are. Keyed files let hostile tables and values get past the key check.
namespace hostile {

// This process's temporary folder, made on first use.
QString folder();

// Writes the file for `data` at `path` (removing journals of earlier inputs)
// and returns the bytes the file holds.
QByteArray writeFile(const QString& path, const uint8_t* data, size_t size);

QByteArray readFile(const QString& path);

} // namespace hostile
