#pragma once

#include <QString>

#include <optional>

// The additive character cipher of the secret columns. Its arithmetic, with
// the wrap by 255, is a stored-data format shared with every installation.
inline const QString kFeldSchluessel = QStringLiteral("Velk");

QString verschluesseln(const QString& text, const QString& key);
QString entschluesseln(const QString& text, const QString& key);

// The first character of `text` that would not come back unchanged through the
// cipher: one outside the code page, or "ÿ" (which deciphers to code 0). It is
// given whole, as the user sees it: an emoji, a letter with a combining accent.
std::optional<QString> nichtSpeicherbaresZeichen(const QString& text);
