#include "environment.h"
#include "platform/files.h"

#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void schreibe(const QString& path, const QByteArray& inhalt) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void copiesOverTheTarget();
    void aFailedCopyLeavesTheTarget_data();
    void aFailedCopyLeavesTheTarget();
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

CLAVIDO_TEST_MAIN(TestFiles)
#include "test_files.moc"
