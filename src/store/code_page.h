#pragma once

#include <QChar>
#include <QString>

#include <optional>

// The Windows-1252 code page that stored secrets are written in.
namespace codepage {

// The character with the given code (0..255). The five codes the code page
// leaves undefined map to the control characters of the same number.
QChar character(int code);

// The code of a character, or nothing when the code page cannot carry it.
std::optional<int> code(QChar c);

} // namespace codepage
