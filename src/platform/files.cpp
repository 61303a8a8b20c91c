#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

bool exists(const QString& path) {
    return QFileInfo(path).isFile();
}

bool sameFile(const QString& a, const QString& b) {
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(),
                                       QFile::encodeName(b).toStdString(), error) &&
           !error;
}

QString finalTarget(const QString& path) {
    QString target = path;
    // As many steps as the system follows itself.
    for (int step = 0; step < 40 && QFileInfo(target).isSymLink(); ++step)
        target = QFileInfo(target).symLinkTarget();
    return target;
}

bool copyOver(const QString& from, const QString& to, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(from));
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(to));
    // A partly failed write is not always reported at commit: check every block.
    QByteArray block;
    while (!(block = source.read(1 << 20)).isEmpty()) {
        if (target.write(block) != block.size()) {
            target.cancelWriting();
            return fail(QStringLiteral("Beim Schreiben von %1 ist ein Fehler aufgetreten "
                                       "(Datenträger voll?).")
                            .arg(to));
        }
    }
    if (source.error() != QFile::NoError) {
        target.cancelWriting();
        return fail(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(from));
    }
    if (!target.commit())
        return fail(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(to));
    return true;
}

namespace {

PlaceCalls systemCalls() {
    return {
        [](const char* from, const char* to) {
            return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
        },
        [](const char* from, const char* to) { return ::link(from, to); },
        [](int fd, const void* data, size_t size) { return ::write(fd, data, size); },
    };
}

// The file system (or the kernel, or a sandbox) does not offer the call at
// all. Any other error (EEXIST, ENOSPC, EACCES …) is a real failure that a
// second way would only repeat, or worse, get round.
bool notOffered(int error) {
    switch (error) {
    case EINVAL:     // a rename flag the file system does not know
    case ENOSYS:     // a kernel or sandbox without the call
    case EPERM:      // no hard links here (FAT, exFAT)
    case EOPNOTSUPP: // the same as ENOTSUP here; network shares
    case EXDEV:
    case EMLINK:
        return true;
    default:
        return false;
    }
}

// Copies what `in` holds into `out` and flushes it to the disk; returns 0 or the errno.
int copyContents(int in, int out, PlaceCalls& calls) {
    int failure = 0;
    std::vector<char> block(1 << 20);
    while (!failure) {
        const ssize_t got = ::read(in, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            failure = got < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < got && !failure;) {
            const ssize_t put = calls.write(out, block.data() + done, size_t(got - done));
            if (put > 0)
                done += put;
            else if (put < 0 && errno != EINTR)
                failure = errno;
            else if (put == 0)
                failure = EIO;
        }
    }
    if (!failure && ::fsync(out) != 0 && !notOffered(errno))
        failure = errno;
    return failure;
}

// Opens `from` and `target` (with `flags`; a new file gets the mode of
// `from`) and copies the one into the other; returns 0 or the errno.
// `opened` says whether `target` could be opened at all.
int copyFile(const char* from, const char* target, int flags, PlaceCalls& calls, bool& opened) {
    opened = false;
    const int in = ::open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat st;
    int out = -1;
    if (::fstat(in, &st) != 0 || (out = ::open(target, flags | O_CLOEXEC, st.st_mode & 0777)) < 0) {
        const int failure = errno;
        ::close(in);
        return failure;
    }
    opened = true;
    int failure = copyContents(in, out, calls);
    if (::close(out) != 0 && !failure)
        failure = errno;
    ::close(in);
    return failure;
}

// Creates `target` exclusively and copies `temp` into it; returns 0 or the errno.
int copyToNew(const char* temp, const char* target, PlaceCalls& calls) {
    bool made = false;
    const int failure = copyFile(temp, target, O_WRONLY | O_CREAT | O_EXCL, calls, made);
    // The name is ours: it was created exclusively above.
    if (failure && made)
        ::unlink(target);
    return failure;
}

QString placeError(int failure, const QString& target) {
    const QString name = QDir::toNativeSeparators(target);
    switch (failure) {
    case EEXIST:
        return QStringLiteral("Die Datei %1 ist bereits vorhanden.").arg(name);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Die Datei %1 kann nicht angelegt werden: Der Datenträger ist voll.")
            .arg(name);
    case EROFS:
        return QStringLiteral("Die Datei %1 kann nicht angelegt werden: Der Datenträger ist "
                              "schreibgeschützt.")
            .arg(name);
    case EACCES:
    case EPERM:
        return QStringLiteral("Die Datei %1 kann nicht angelegt werden: Der Zugriff wurde "
                              "verweigert.")
            .arg(name);
    default:
        return QStringLiteral("Die Datei %1 kann nicht angelegt werden (Systemfehler %2).")
            .arg(name)
            .arg(failure);
    }
}

} // namespace

PlaceCalls& placeCalls() {
    static PlaceCalls calls = systemCalls();
    return calls;
}

namespace {

// Beyond the engine's lock bytes (0x40000000 to 0x400001FF).
constexpr off_t kMarkByte = 0x40000000 + 0x300;

} // namespace

UseMark::Result UseMark::take(const QString& path, bool alone) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          (alone ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Unknown;
    return adopt(fd, alone);
}

UseMark::Result UseMark::adopt(int fd, bool alone) {
    release();
    struct flock mark = {};
    mark.l_type = alone ? F_WRLCK : F_RDLCK;
    mark.l_whence = SEEK_SET;
    mark.l_start = kMarkByte;
    mark.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &mark) == 0) {
        fd_ = fd;
        return Held;
    }
    const int failure = errno;
    ::close(fd);
    return failure == EAGAIN || failure == EACCES ? InUse : Unknown;
}

void UseMark::release() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool placeNew(const QString& temp, const QString& target, QString* error, int* cause) {
    const QByteArray from = QFile::encodeName(temp);
    const QByteArray to = QFile::encodeName(target);
    PlaceCalls& calls = placeCalls();
    int failure = 0;
    if (calls.renameNoReplace(from.constData(), to.constData()) == 0)
        return true;
    failure = errno;
    if (notOffered(failure)) {
        if (calls.link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return true;
        }
        failure = errno;
    }
    if (notOffered(failure)) {
        failure = copyToNew(from.constData(), to.constData(), calls);
        if (!failure) {
            ::unlink(from.constData());
            return true;
        }
    }
    if (error)
        *error = placeError(failure, target);
    if (cause)
        *cause = failure;
    return false;
}

bool copyInto(const QString& from, const QString& to, QString* error) {
    bool opened = false;
    const int failure =
        copyFile(QFile::encodeName(from).constData(), QFile::encodeName(to).constData(),
                 O_WRONLY | O_TRUNC, placeCalls(), opened);
    if (failure && error)
        *error = placeError(failure, to);
    return !failure;
}

} // namespace files
