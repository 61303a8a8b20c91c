#pragma once

#include <QString>

#include <functional>

#include <sys/types.h>

// File services: existence, a whole copy that never leaves half a file, and
// putting a finished file in place without ever replacing another.
namespace files {

bool exists(const QString& path);
// Copies `from` over `to` through a temporary beside `to` and a rename;
// on failure `to` is unchanged and `error` says why, in German.
bool copyOver(const QString& from, const QString& to, QString* error = nullptr);

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

} // namespace files
