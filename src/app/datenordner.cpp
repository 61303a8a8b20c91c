#include "app/datenordner.h"

#include "store/record_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// Whether this user may create and change files in the folder (access(),
// which also knows of read-only mounts).
bool beschreibbar(const QString& ordner) {
    return ::access(QFile::encodeName(ordner).constData(), W_OK | X_OK) == 0;
}

} // namespace

QString datenOrdner(const QString& programmOrdner, const QString& benutzerOrdner) {
    const QFileInfo datei(recordfile::pathIn(programmOrdner));
    // A file that is there is used where it is, even if only it can be written.
    if (datei.exists() || datei.isSymLink() || beschreibbar(programmOrdner))
        return programmOrdner;
    QDir().mkpath(benutzerOrdner);
    return benutzerOrdner;
}

QString datenOrdner() {
    return datenOrdner(QCoreApplication::applicationDirPath(),
                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
