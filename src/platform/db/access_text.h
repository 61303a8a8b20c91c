#pragma once

#include "platform/db/access_header.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Text values as an Access file stores them, read character for character.
namespace db::access {

// Jet 4: UTF-16LE, or with the "unicode compression" (0xFF 0xFE first, then
// runs of one byte per character, each 0x00 switching between the two).
// Nothing for bytes that are no such text.
std::optional<QString> jet4Text(const QByteArray& bytes);

// Jet 3: one byte per character, of the file's code page.
QString jet3Text(const QByteArray& bytes, CodePage codePage);

} // namespace db::access
