#include "platform/db/temporary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db {

Temporary::Temporary(const QString& path)
    : name_(QFile::encodeName(path) + ".XXXXXX") {
    const int fd = mkostemp(name_.data(), O_CLOEXEC);
    if (fd < 0) {
        made_ = errorFromSystem(errno);
        name_.clear();
        return;
    }
    mark_.adopt(fd, false);
}

Temporary::~Temporary() {
    if (!name_.isEmpty() && !placed_)
        ::unlink(name_.constData());
}

QString Temporary::path() const {
    return QFile::decodeName(name_);
}

namespace {

bool plainFile(const QByteArray& name) {
    struct stat st;
    return ::lstat(name.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

void removeLeftovers(const QString& path) {
    const QFileInfo file(path);
    const QDir folder = file.absoluteDir();
    // mkstemp's six letters and digits, and the journal the engine keeps beside.
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(file.fileName()) +
                                            QStringLiteral("\\.[A-Za-z0-9]{6}(-journal)?")));
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QRegularExpressionMatch found = pattern.match(name);
        if (!found.hasMatch())
            continue;
        const QByteArray leftover = QFile::encodeName(folder.filePath(name));
        const QByteArray temporary =
            found.hasCaptured(1) ? leftover.chopped(int(qstrlen("-journal"))) : leftover;
        // A journal goes with its temporary, or alone once that is gone.
        files::UseMark alone;
        if (plainFile(temporary)) {
            const int fd =
                ::open(temporary.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0 || alone.adopt(fd, true) != files::UseMark::Held)
                continue;
        } else if (QFileInfo::exists(QFile::decodeName(temporary)) ||
                   QFileInfo(QFile::decodeName(temporary)).isSymLink()) {
            continue;
        }
        if (plainFile(leftover))
            ::unlink(leftover.constData());
    }
}

} // namespace db
