#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <optional>

// The first page of an Access (Jet) database file: which format it is, and
// the database password it keeps.
namespace db::access {

enum class Format {
    None,  // no Jet file
    Jet3,  // Access 97
    Jet4,  // Access 2000 to 2003
    Later, // a Jet signature of a later version: not read
};

// How many bytes of the first page the format and the password are read from.
constexpr int kHeaderSize = 0x18 + 128;

// Decided by the signature alone: bytes 00 01 00 00 "Standard Jet DB" and
// the version at 0x14. `head` may be shorter than kHeaderSize.
Format formatOf(const QByteArray& head);
Format formatOf(const QString& path);
// Whether the file at `path` is an Access file this program reads: Jet 3 or Jet 4.
bool isJet(const QString& path);
QByteArray readHead(const QString& path);

// The character of a code of the file's 8-bit code page.
using CodePage = QChar (*)(int code);

// The database password kept in the header, unmasked: empty when the file
// has none. Nothing when the header is cut short or not of a Jet 3/4 file.
std::optional<QString> passwordOf(const QByteArray& head, CodePage codePage);

} // namespace db::access
