#include "fremdes_programm.h"

#include "store/record_file.h"

#include <QFile>
#include <QProcess>

#include <sqlcipher/sqlite3.h>

#include <chrono>
#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

FremdeSperre::FremdeSperre(const QString& path, int haltMs) {
    std::promise<bool> gesperrt;
    std::future<bool> ergebnis = gesperrt.get_future();
    std::future<void> los = loslassen.get_future();
    faden =
        std::thread([path, haltMs, gesperrt = std::move(gesperrt), los = std::move(los)]() mutable {
            sqlite3* db = nullptr;
            const QByteArray key = recordfile::passwordOf(recordfile::kVerbindung);
            sqlite3_open(QFile::encodeName(path).constData(), &db);
            sqlite3_key(db, key.constData(), int(key.size()));
            gesperrt.set_value(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) ==
                               SQLITE_OK);
            if (haltMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(haltMs));
            else
                los.wait();
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        });
    gehalten = ergebnis.get();
}

FremdeSperre::~FremdeSperre() {
    loslassen.set_value();
    faden.join();
}

bool anderesProgramm(const QString& path, const QString& sql) {
    QProcess cli;
    cli.start(QStringLiteral("sqlcipher"), {QStringLiteral("-batch"), path});
    if (!cli.waitForStarted())
        return false;
    const QString key = QString::fromUtf8(recordfile::passwordOf(recordfile::kVerbindung));
    cli.write(QStringLiteral(".bail on\nPRAGMA key = '%1';\n%2;\n").arg(key, sql).toUtf8());
    cli.closeWriteChannel();
    return cli.waitForFinished(30000) && cli.exitStatus() == QProcess::NormalExit &&
           cli.exitCode() == 0;
}

bool abgestuerztesProgramm(const QString& path, const QString& sql) {
    const QByteArray datei = QFile::encodeName(path);
    const QByteArray befehle = sql.toUtf8();
    const pid_t kind = fork();
    if (kind == 0) {
        sqlite3* db = nullptr;
        const QByteArray key = recordfile::passwordOf(recordfile::kVerbindung);
        sqlite3_open_v2(datei.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_key(db, key.constData(), int(key.size()));
        // A small cache: the changed pages go to the file before the commit.
        sqlite3_exec(db, "PRAGMA cache_size = 10", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_exec(db, befehle.constData(), nullptr, nullptr, nullptr);
        raise(SIGKILL);
        _exit(1);
    }
    int status = 0;
    waitpid(kind, &status, 0);
    QFile journal(path + QStringLiteral("-journal"));
    char erstes = 0;
    return WIFSIGNALED(status) && journal.open(QIODevice::ReadOnly) && journal.getChar(&erstes) &&
           erstes != 0;
}
