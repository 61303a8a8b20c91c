#pragma once

#include <QString>

// Where the database file lives. A program kept in a folder of its own (on a
// stick, say) carries its data beside it. A program run from its build tree or
// installed into a prefix (a desktop file in ../share/applications tells) keeps
// it in the user's own data folder, so that no build command and no update of
// the program can take it away.
enum class Aufstellung { Tragbar, Installiert, Bauordner };

Aufstellung aufstellungVon(const QString& programmOrdner);

// The folder of the database for a program in `programmOrdner`; `benutzerOrdner`
// is the user's data folder, made when it is needed.
QString datenOrdner(const QString& programmOrdner, const QString& benutzerOrdner);

// A database left beside an installed program or in the build tree by an
// earlier version is brought to the user's data folder, if there is none yet.
// Returns what the user is told: empty when there was nothing to bring. When it
// cannot be brought, the folder to use stays where the file is.
QString datenbankHolen(const QString& programmOrdner, QString& ordner);

// The same for the running program (its folder, and the per-user folder of
// the desktop's standard locations).
QString datenOrdner();
