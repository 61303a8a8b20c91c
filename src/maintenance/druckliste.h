#pragma once

#include "platform/db/recordset.h"

#include <QString>
#include <QStringList>

// The printed list of one user's entries: fixed columns for a monospaced font.
namespace druckliste {

// One line per entry of `benutzer`, grouped in sections in the order of
// `kategorien`; the secrets deciphered. Walks `zeilen` once and leaves it
// wherever the walk ends. In a column, a line break (CR LF, CR or LF), a tab
// or another control character shows as one blank; a value longer than a
// column's 30 characters goes on in its column on the following lines.
QString dokument(const QStringList& kategorien, const QString& benutzer, const QString& datum,
                 db::Recordset& zeilen);

} // namespace druckliste
