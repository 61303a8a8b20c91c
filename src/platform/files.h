#pragma once

#include <QString>

#include <functional>

#include <sys/types.h>

// File services: existence, a whole copy that never leaves half a file, and
// putting a finished file in place without ever replacing another.
namespace files {

bool exists(const QString& path);
// Whether both paths name one file, also through a hard or symbolic link.
bool sameFile(const QString& a, const QString& b);
// The file `path` names: itself, or the end of its chain of symbolic links
// (which need not exist).
QString finalTarget(const QString& path);
// Copies `from` over `to` through a temporary beside `to` and a rename;
// on failure `to` is unchanged and `error` says why, in German.
bool copyOver(const QString& from, const QString& to, QString* error = nullptr);
// Copies `from` into the file `to` itself, which must exist: it keeps its name,
// its descriptors and their locks. On failure `to` holds part of it, and
// `error` says why in German.
bool copyInto(const QString& from, const QString& to, QString* error = nullptr);

// Gives the finished file `temp` the name `target`, which must be free: an
// existing file is never replaced. Tries a rename that refuses to replace, then
// a hard link, and where the file system offers neither (FAT, many network
// shares) creates `target` exclusively and copies `temp` into it. On success
// `temp` is gone; on failure nothing new is at `target`, `temp` is still there,
// `error` says why in German and `cause` holds the errno of the failed step.
bool placeNew(const QString& temp, const QString& target, QString* error = nullptr,
              int* cause = nullptr);

// The system calls placeNew makes, replaceable so that a test can play a file
// system that refuses some of them. Each returns as the system call does.
struct PlaceCalls {
    std::function<int(const char* from, const char* to)> renameNoReplace;
    std::function<int(const char* from, const char* to)> link;
    std::function<ssize_t(int fd, const void* data, size_t size)> write;
};
PlaceCalls& placeCalls();

// Marks a file as in use by this program: an open-file-description lock on one
// byte that the database engine never locks. Whoever has the file open holds
// the mark shared; whoever replaces or removes it needs the mark alone. The
// mark goes with the object, or with the process.
class UseMark {
public:
    enum Result {
        Held,
        InUse,   // another holds it in a way that excludes this one
        Unknown, // the file system keeps no locks, or the file cannot be opened
    };

    UseMark() = default;
    ~UseMark() { release(); }
    UseMark(const UseMark&) = delete;
    UseMark& operator=(const UseMark&) = delete;

    // Takes the mark on the file at `path` without waiting.
    Result take(const QString& path, bool alone);
    // The same on a file already open (read-write for `alone`); the mark owns
    // `fd` from now on and closes it.
    Result adopt(int fd, bool alone);
    // Closing the descriptor also drops every lock this process holds on the
    // file by other means: let go only when the engine has closed it too.
    void release();

private:
    int fd_ = -1;
};

} // namespace files
