#include "platform/files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace files {

bool exists(const QString& path) {
    return QFileInfo(path).isFile();
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

} // namespace files
