#pragma once

#include <QString>

// Where the database file lives. A program kept in a folder of its own (on a
// stick, say) carries its data beside it. A program run from its build tree or
// installed into a prefix (a desktop file in ../share/applications tells) keeps
// it in the user's own data folder, so that no build command and no update of
// the program can take it away.
enum class Aufstellung { Tragbar, Installiert, Bauordner };

Aufstellung aufstellungVon(const QString& programmOrdner);

// Why the file is not where the program's setup puts it.
enum class Abweichung {
    Keine,
    Verknuepfung,     // beside an installed program: a link its user put there
    Journal,          // beside an installed program: a cut-off write to finish there
    NichtVerschoben,  // beside an installed program: the move to the data folder failed
    Schreibgeschuetzt // a portable program's folder cannot be written
};

// Where the program keeps its database file, and why there: what the start,
// the restore and the Info window tell the user.
struct Ablage {
    Aufstellung aufstellung = Aufstellung::Tragbar;
    QString ordner;                // the folder of the database file
    bool imProgrammordner = false; // that is the program's own folder
    Abweichung grund = Abweichung::Keine;
};

// For a program in `programmOrdner`; `benutzerOrdner` is the user's data
// folder, made for its owner alone when it is needed.
Ablage ablageVon(const QString& programmOrdner, const QString& benutzerOrdner);
// The running program's, with its file in `ordner` for a reason not known.
Ablage ablageIn(const QString& ordner);

// What the start tells the user, and with which icon; no text: nothing to tell.
struct Hinweis {
    QString text;
    int stil = 0;
};

// A database left beside an installed program or in the build tree by an
// earlier version is moved to the user's data folder, if there is none yet.
// When it cannot be moved, the file is used where it is, and `ablage` says so.
Hinweis datenbankHolen(const QString& programmOrdner, Ablage& ablage);

// The same for the running program (its folder, and the per-user folder of
// the desktop's standard locations).
Ablage ablageDesProgramms();
