#include "app/datenordner.h"

#include "platform/files.h"
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

Aufstellung aufstellungVon(const QString& programmOrdner) {
    const QDir hier(programmOrdner);
    if (QFileInfo::exists(hier.filePath(QStringLiteral("../CMakeCache.txt"))))
        return Aufstellung::Bauordner;
    if (QFileInfo::exists(
            hier.filePath(QStringLiteral("../share/applications/lumoclavido.desktop"))))
        return Aufstellung::Installiert;
    return Aufstellung::Tragbar;
}

QString datenOrdner(const QString& programmOrdner, const QString& benutzerOrdner) {
    if (aufstellungVon(programmOrdner) == Aufstellung::Tragbar) {
        const QFileInfo datei(recordfile::pathIn(programmOrdner));
        // A file that is there is used where it is, even if only it can be written.
        if (datei.exists() || datei.isSymLink() || beschreibbar(programmOrdner))
            return programmOrdner;
    }
    QDir().mkpath(benutzerOrdner);
    return benutzerOrdner;
}

QString datenbankHolen(const QString& programmOrdner, QString& ordner) {
    if (QDir(ordner) == QDir(programmOrdner))
        return {};
    const QString alt = recordfile::pathIn(programmOrdner);
    const QString neu = recordfile::pathIn(ordner);
    const QFileInfo altInfo(alt), neuInfo(neu);
    if (!altInfo.isFile() || neuInfo.exists() || neuInfo.isSymLink())
        return {};
    // A link points where its user wants the file; a journal beside it belongs
    // to a write that was cut off, which only the engine may play back, there.
    if (altInfo.isSymLink() || QFileInfo::exists(alt + QStringLiteral("-journal"))) {
        ordner = programmOrdner;
        return {};
    }
    // Moved, not copied: on one file system a rename; never over another file.
    QString fehler;
    if (!files::placeNew(alt, neu, &fehler)) {
        const QString ziel = ordner;
        ordner = programmOrdner;
        return QStringLiteral("Die Datenbankdatei\r\n%1\r\nkonnte nicht in Ihren Datenordner\r\n"
                              "%2\r\ngebracht werden: %3\r\n\r\nSie wird weiter an ihrem Platz "
                              "benutzt.")
            .arg(QDir::toNativeSeparators(alt), QDir::toNativeSeparators(ziel), fehler);
    }
    return QStringLiteral("Ihre Datenbankdatei lag bisher neben dem Programm in\r\n%1\r\n"
                          "Sie wurde in Ihren Datenordner gebracht:\r\n%2")
        .arg(QDir::toNativeSeparators(programmOrdner), QDir::toNativeSeparators(neu));
}

QString datenOrdner() {
    return datenOrdner(QCoreApplication::applicationDirPath(),
                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
