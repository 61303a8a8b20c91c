#include "app/datenordner.h"

#include "platform/files.h"
#include "platform/message_box.h"
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

// Its file holds every user's secrets: a folder the program makes is its
// owner's alone. The folders above it are the desktop's, made as usual.
void anlegen(const QString& ordner) {
    const QFileInfo info(ordner);
    if (info.exists())
        return;
    QDir().mkpath(info.absolutePath());
    QDir().mkdir(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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

Ablage ablageVon(const QString& programmOrdner, const QString& benutzerOrdner) {
    Ablage ablage{aufstellungVon(programmOrdner), programmOrdner, true, Abweichung::Keine};
    if (ablage.aufstellung == Aufstellung::Tragbar) {
        const QFileInfo datei(recordfile::pathIn(programmOrdner));
        // A file that is there is used where it is, even if only it can be written.
        if (datei.exists() || datei.isSymLink() || beschreibbar(programmOrdner))
            return ablage;
        ablage.grund = Abweichung::Schreibgeschuetzt;
    }
    anlegen(benutzerOrdner);
    ablage.ordner = benutzerOrdner;
    ablage.imProgrammordner = false;
    return ablage;
}

Ablage ablageIn(const QString& ordner) {
    const QString programm = QCoreApplication::applicationDirPath();
    return {aufstellungVon(programm), ordner, QDir(ordner) == QDir(programm), Abweichung::Keine};
}

Hinweis datenbankHolen(const QString& programmOrdner, Ablage& ablage) {
    if (ablage.imProgrammordner)
        return {};
    const QString alt = recordfile::pathIn(programmOrdner);
    const QString neu = recordfile::pathIn(ablage.ordner);
    const QFileInfo altInfo(alt), neuInfo(neu);
    if (!altInfo.isFile() || neuInfo.exists() || neuInfo.isSymLink())
        return {};
    auto bleibt = [&](Abweichung grund) {
        ablage.ordner = programmOrdner;
        ablage.imProgrammordner = true;
        ablage.grund = grund;
    };
    // A link points where its user wants the file; a journal beside it belongs
    // to a write that was cut off, which only the engine may play back, there.
    if (altInfo.isSymLink()) {
        bleibt(Abweichung::Verknuepfung);
        return {};
    }
    if (QFileInfo::exists(alt + QStringLiteral("-journal"))) {
        bleibt(Abweichung::Journal);
        return {};
    }
    // Moved, not copied: on one file system a rename; never over another file.
    QString fehler;
    if (!files::placeNew(alt, neu, &fehler)) {
        const QString ziel = ablage.ordner;
        bleibt(Abweichung::NichtVerschoben);
        return {QStringLiteral("Die Datenbankdatei\r\n%1\r\nkonnte nicht in Ihren Datenordner\r\n"
                               "%2\r\nverschoben werden:\r\n%3\r\n\r\nSie wird weiter am "
                               "bisherigen Ort benutzt.")
                    .arg(QDir::toNativeSeparators(alt), QDir::toNativeSeparators(ziel), fehler),
                msg::Exclamation};
    }
    return {QStringLiteral("Ihre Datenbankdatei lag bisher neben dem Programm in\r\n%1\r\n"
                           "Sie wurde in Ihren Datenordner verschoben:\r\n%2")
                .arg(QDir::toNativeSeparators(programmOrdner), QDir::toNativeSeparators(neu)),
            msg::Information};
}

Ablage ablageDesProgramms() {
    return ablageVon(QCoreApplication::applicationDirPath(),
                     QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
