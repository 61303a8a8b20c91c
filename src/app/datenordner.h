#pragma once

#include <QString>

// Where the database file lives: beside the program file, as a program kept
// on a stick or in a folder of its own has it, unless the program was
// installed where its user cannot write; then in the user's own data folder.
QString datenOrdner(const QString& programmOrdner, const QString& benutzerOrdner);

// The same for the running program (its folder, and the per-user folder of
// the desktop's standard locations).
QString datenOrdner();
