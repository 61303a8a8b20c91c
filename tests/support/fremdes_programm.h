#pragma once

#include <QString>

#include <future>
#include <thread>

// Another program on the same database file.

// Holds the file locked from a connection of its own, for `haltMs` or, with
// 0, until it goes away.
class FremdeSperre {
public:
    FremdeSperre(const QString& path, int haltMs);
    ~FremdeSperre();
    bool gehalten = false;

private:
    std::promise<void> loslassen;
    std::thread faden;
};

// Runs statements on the file from another process (the engine's command-line
// tool), as a second copy of the program would write; false if it failed.
bool anderesProgramm(const QString& path, const QString& sql);

// A copy of the program that dies in the middle of a write: a process of its
// own runs `sql` in a transaction, its pages already on the file, and is
// killed before the commit. Its rollback journal stays beside the file; false
// if none was left.
bool abgestuerztesProgramm(const QString& path, const QString& sql);
