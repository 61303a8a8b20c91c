#include "environment.h"
#include "platform/files.h"

#include <QFile>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void schreibe(const QString& path, const QByteArray& inhalt) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

// Plays a file system that refuses some of the calls, and records which were made.
struct Dateisystem {
    Dateisystem(int renameFehler, int linkFehler, qint64 vollAb) {
        files::PlaceCalls& calls = files::placeCalls();
        calls.renameNoReplace = [=, this](const char* from, const char* to) {
            aufrufe << "rename";
            return renameFehler ? (errno = renameFehler, -1) : echt.renameNoReplace(from, to);
        };
        calls.link = [=, this](const char* from, const char* to) {
            aufrufe << "link";
            return linkFehler ? (errno = linkFehler, -1) : echt.link(from, to);
        };
        calls.write = [=, this](int fd, const void* data, size_t size) -> ssize_t {
            if (aufrufe.last() != "write")
                aufrufe << "write";
            if (vollAb >= 0 && geschrieben + qint64(size) > vollAb) {
                size = size_t(vollAb - geschrieben); // what still fits, then the disk is full
                if (size == 0)
                    return errno = ENOSPC, -1;
            }
            const ssize_t put = echt.write(fd, data, size);
            geschrieben += put;
            return put;
        };
    }
    ~Dateisystem() { files::placeCalls() = echt; }

    const files::PlaceCalls echt = files::placeCalls();
    QStringList aufrufe;
    qint64 geschrieben = 0;
};

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void copiesOverTheTarget();
    void aFailedCopyLeavesTheTarget_data();
    void aFailedCopyLeavesTheTarget();
    void placesANewFileWithoutReplacing_data();
    void placesANewFileWithoutReplacing();
};

void TestFiles::copiesOverTheTarget() {
    QTemporaryDir dir;
    const QByteArray inhalt(3 << 20, 'q');
    schreibe(dir.filePath("quelle"), inhalt);
    schreibe(dir.filePath("ziel"), "alt");
    QVERIFY(files::exists(dir.filePath("quelle")));
    QVERIFY(!files::exists(dir.filePath("fehlt")));
    QVERIFY(!files::exists(dir.path()));
    QString fehler;
    QVERIFY(files::copyOver(dir.filePath("quelle"), dir.filePath("ziel"), &fehler));
    QCOMPARE(rawdb::dateiInhalt(dir.filePath("ziel")), inhalt);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"quelle", "ziel"}));
}

void TestFiles::aFailedCopyLeavesTheTarget_data() {
    QTest::addColumn<bool>("platteVoll");
    QTest::newRow("missing source") << false;
    QTest::newRow("disk full") << true;
}

void TestFiles::aFailedCopyLeavesTheTarget() {
    QFETCH(bool, platteVoll);
    QTemporaryDir dir;
    schreibe(dir.filePath("ziel"), "alt");
    if (platteVoll)
        schreibe(dir.filePath("quelle"), QByteArray(1 << 20, 'q'));
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString fehler;
        const bool ok = files::copyOver(dir.filePath("quelle"), dir.filePath("ziel"), &fehler);
        _exit(!ok && !fehler.isEmpty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(rawdb::dateiInhalt(dir.filePath("ziel")), QByteArray("alt"));
    // No temporary left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), platteVoll ? 2 : 1);
}

void TestFiles::placesANewFileWithoutReplacing_data() {
    QTest::addColumn<int>("renameFehler"); // the errno the call fails with; 0: it works
    QTest::addColumn<int>("linkFehler");
    QTest::addColumn<qint64>("vollAb"); // bytes after which the disk is full; -1: never
    QTest::addColumn<bool>("zielDa");
    QTest::addColumn<QString>("aufrufe");
    QTest::addColumn<bool>("gelingt");
    QTest::newRow("rename") << 0 << 0 << -1ll << false << "rename" << true;
    QTest::newRow("no rename flag: link") << EINVAL << 0 << -1ll << false << "rename link" << true;
    QTest::newRow("no renameat2: link") << ENOSYS << 0 << -1ll << false << "rename link" << true;
    QTest::newRow("FAT: copy") << EINVAL << EPERM << -1ll << false << "rename link write" << true;
    QTest::newRow("network share: copy")
        << EOPNOTSUPP << EOPNOTSUPP << -1ll << false << "rename link write" << true;
    QTest::newRow("existing, rename") << 0 << 0 << -1ll << true << "rename" << false;
    QTest::newRow("existing, link") << ENOSYS << 0 << -1ll << true << "rename link" << false;
    QTest::newRow("existing, copy") << EINVAL << EPERM << -1ll << true << "rename link" << false;
    QTest::newRow("disk full while copying")
        << EINVAL << EPERM << qint64(3 << 19) << false << "rename link write" << false;
    QTest::newRow("refused access tries no other way")
        << EACCES << 0 << -1ll << false << "rename" << false;
}

void TestFiles::placesANewFileWithoutReplacing() {
    QFETCH(int, renameFehler);
    QFETCH(int, linkFehler);
    QFETCH(qint64, vollAb);
    QFETCH(bool, zielDa);
    QFETCH(QString, aufrufe);
    QFETCH(bool, gelingt);
    QTemporaryDir dir;
    const QString neu = dir.filePath("neu.tmp"), ziel = dir.filePath("ziel");
    QByteArray inhalt(3 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < inhalt.size(); ++i)
        inhalt[i] = char(i % 251);
    schreibe(neu, inhalt);
    QVERIFY(QFile::setPermissions(neu, QFile::ReadOwner | QFile::WriteOwner));
    if (zielDa)
        schreibe(ziel, "alt");

    Dateisystem fs(renameFehler, linkFehler, vollAb);
    QString fehler;
    QCOMPARE(files::placeNew(neu, ziel, &fehler), gelingt);
    QCOMPARE(fs.aufrufe.join(u' '), aufrufe);
    if (gelingt) {
        QCOMPARE(rawdb::dateiInhalt(ziel), inhalt);
        struct stat st;
        QCOMPARE(stat(QFile::encodeName(ziel).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ziel"});
    } else {
        QVERIFY(!fehler.isEmpty());
        QCOMPARE(rawdb::dateiInhalt(neu), inhalt);
        QCOMPARE(QFileInfo::exists(ziel), zielDa);
        if (zielDa)
            QCOMPARE(rawdb::dateiInhalt(ziel), QByteArray("alt"));
    }
}

CLAVIDO_TEST_MAIN(TestFiles)
#include "test_files.moc"
