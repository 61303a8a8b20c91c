#include "platform/db/temporary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db {

namespace {

// Not a secret: only what makes a check value that no one computes by chance.
const QByteArray kSchluessel = QByteArrayLiteral("lumoClavido 6.1: eine eigene Zwischendatei");
constexpr char kZeichen[] = ".lumoClavido-";

// Hexadecimal in lower case: names that differ in case alone are one name on FAT.
QByteArray pruefwert(const QByteArray& stamm, const QByteArray& zufall) {
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, kSchluessel);
    mac.addData(stamm);
    mac.addData(zufall);
    return mac.result().left(4).toHex();
}

const QRegularExpression& namensMuster() {
    static const QRegularExpression muster(QRegularExpression::anchoredPattern(
        QStringLiteral("(.+)%1([0-9a-f]{16})-([0-9a-f]{8})(-journal)?")
            .arg(QRegularExpression::escape(QLatin1String(kZeichen)))));
    return muster;
}

bool plainFile(const QByteArray& name) {
    struct stat st;
    return ::lstat(name.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// Whether `name` (without folder) is one that Temporary makes, or the
// engine's journal beside one.
bool eigenerName(const QString& name) {
    const QRegularExpressionMatch teile = namensMuster().match(name);
    return teile.hasMatch() &&
           pruefwert(QFile::encodeName(teile.captured(1)), teile.captured(2).toLatin1()) ==
               teile.captured(3).toLatin1();
}

} // namespace

QString temporaryName(const QString& path, quint64 zufall) {
    const QByteArray teil = QByteArray::number(zufall, 16).rightJustified(16, '0');
    return path + QLatin1String(kZeichen) + QLatin1String(teil) + u'-' +
           QLatin1String(pruefwert(QFile::encodeName(QFileInfo(path).fileName()), teil));
}

Temporary::Temporary(const QString& path) {
    int fd = -1;
    for (int versuch = 0; fd < 0 && versuch < 100; ++versuch) {
        name_ = QFile::encodeName(temporaryName(path, QRandomGenerator::system()->generate64()));
        fd = ::open(name_.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
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

void removeLeftovers(const QString& path) {
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (!eigenerName(name))
            continue;
        const QByteArray leftover = QFile::encodeName(folder.filePath(name));
        const bool journal = name.endsWith(QLatin1String("-journal"));
        const QByteArray temporary =
            journal ? leftover.chopped(int(qstrlen("-journal"))) : leftover;
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
