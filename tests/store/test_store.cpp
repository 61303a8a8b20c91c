#include "environment.h"
#include "platform/db/data_control.h"
#include "platform/files.h"
#include "store/field_cipher.h"
#include "store/record_file.h"
#include "store/statements.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sqlcipher/sqlite3.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList spalte(db::DataControl& daten, const QString& name) {
    QStringList values;
    for (db::Recordset& rs = daten.Recordset(); !rs.Eof(); rs.MoveNext())
        values << rs.Fields(name).Value();
    return values;
}

// A folder's file opened as the program opens it, with a data view on its table.
struct Offen {
    explicit Offen(QTemporaryDir& folder)
        : usable(recordfile::openOrCreate(c, folder.path()).usable()) {
        daten.SetRecordSource(statements::ganzeTabelle());
        daten.Refresh();
    }
    db::Connection c;
    bool usable;
    db::DataControl daten{c};
};

} // namespace

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void createsAMissingFile_data();
    void createsAMissingFile();
    void readsTheTableInStoredOrder();
    void statementsBindNamesAsValues();
    void countSkipsNullDesignations();
    void bookmarksSurviveWrites();
    void addNewAppendsAtTheEnd();
    void editAndDeleteReachTheFile();
    void cancelledRowsNeverReachTheFile();
    void seesWritesOfOtherPrograms_data();
    void seesWritesOfOtherPrograms();
    void leavesUnopenableFilesAsTheyAre_data();
    void leavesUnopenableFilesAsTheyAre();
    void reportsAFullDisk();

private:
    QTemporaryDir dir;
};

void TestStore::createsAMissingFile_data() {
    QTest::addColumn<bool>("ohneLinks");
    QTest::newRow("ordinary drive") << false;
    QTest::newRow("drive without hard links (FAT)") << true;
}

void TestStore::createsAMissingFile() {
    QFETCH(bool, ohneLinks);
    QTemporaryDir folder;
    db::Connection c;
    const files::PlaceCalls echt = files::placeCalls();
    if (ohneLinks) {
        files::placeCalls().renameNoReplace = [](const char*, const char*) {
            return errno = EINVAL, -1;
        };
        files::placeCalls().link = [](const char*, const char*) { return errno = EPERM, -1; };
    }
    const auto result = recordfile::openOrCreate(c, folder.path());
    files::placeCalls() = echt;
    QCOMPARE(result.outcome, recordfile::Outcome::Created);
    const QString path = recordfile::pathIn(folder.path());
    struct stat st;
    QCOMPARE(stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0600));
    // Encrypted: no plain SQLite header.
    QVERIFY(!rawdb::dateiInhalt(path).startsWith("SQLite format 3"));
    // The columns other installations rely on, in their order.
    QStringList columns;
    c.queryColumn(QStringLiteral("SELECT name FROM pragma_table_info('Haupt')"),
                  [&](const QString& n) { columns << n; });
    QCOMPARE(columns, (QStringList{"Bezeichnung", "Konto-Nr", "Pin", "Zusatz", "Bezeichnung1",
                                   "Bezeichnung2", "Bezeichnung3", "Bemerkungen", "Kategorie",
                                   "Benutzer", "Passwort", "Sichern", "fragen", "übernommen"}));
    // Only one temporary next to it while it was made; none left over.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{recordfile::kDateiName});
    // The engine is SQLCipher, not plain SQLite.
    QString version;
    c.queryColumn(QStringLiteral("PRAGMA cipher_version"), [&](const QString& v) { version = v; });
    QVERIFY(version.startsWith(QStringLiteral("4.")));
    c.close();
    QCOMPARE(recordfile::openOrCreate(c, folder.path()).outcome, recordfile::Outcome::Opened);
}

void TestStore::readsTheTableInStoredOrder() {
    QTemporaryDir folder;
    const QString path = recordfile::pathIn(folder.path());
    rawdb::schreibe(
        path,
        {{"zora", "pw", "Bank", "Z1"}, {"anna", "pw", "Bank", "A1"}, {"zora", "pw", "Web", "Z2"}});
    Offen offen(folder);
    QVERIFY(offen.usable);
    db::DataControl& daten = offen.daten;
    daten.SetRecordSource(statements::ganzeTabelle());
    db::Recordset& rs = daten.Recordset();
    QCOMPARE(rs.RecordCount(), 3);
    // Position 0 of the table is the designation; names are found without regard to case.
    QCOMPARE(rs.Fields(0).Value(), QStringLiteral("Z1"));
    QCOMPARE(rs.Fields(QStringLiteral("BENUTZER")).Value(), QStringLiteral("zora"));
    QCOMPARE(rs.Fields(QStringLiteral("Übernommen")).Value(), QString());
    QCOMPARE(rs.Fields(QStringLiteral("Passwort")).Value(), verschluesseln("pw", kFeldSchluessel));
    QCOMPARE(spalte(daten, QStringLiteral("Bezeichnung")), (QStringList{"Z1", "A1", "Z2"}));
    QVERIFY(rs.Eof());
    rs.MoveFirst();
    QCOMPARE(rs.Fields(QStringLiteral("Bezeichnung")).Value(), QStringLiteral("Z1"));
    // Refresh stands on the first row again.
    rs.MoveLast();
    daten.Refresh();
    QCOMPARE(daten.Recordset().Fields(0).Value(), QStringLiteral("Z1"));
}

void TestStore::statementsBindNamesAsValues() {
    QTemporaryDir folder;
    const QString path = recordfile::pathIn(folder.path());
    const QString oHara = QStringLiteral("O'Hara");
    rawdb::schreibe(path, {{oHara, "pw", "Bank", "B1"},
                           {oHara, "pw", "Web", "W1"},
                           {oHara, "pw", "Bank", "B2"},
                           {"O", "pw", "Bank", "X"},
                           {"' OR '1'='1", "pw", "Bank", "Y"},
                           {"o'hara", "pw", "Mail", "M"}});
    Offen offen(folder);
    QVERIFY(offen.usable);
    db::DataControl& daten = offen.daten;

    daten.SetRecordSource(statements::kategorienDesBenutzers(oHara));
    QVERIFY(!daten.Refresh());
    QStringList kategorien = spalte(daten, QStringLiteral("Kategorie"));
    kategorien.sort();
    QCOMPARE(kategorien, (QStringList{"Bank", "Web"}));

    daten.SetRecordSource(statements::bezeichnungenDerKategorie(oHara, QStringLiteral("Bank")));
    QVERIFY(!daten.Refresh());
    QCOMPARE(spalte(daten, QStringLiteral("Bezeichnung")), (QStringList{"B1", "B2"}));

    daten.SetRecordSource(statements::bezeichnungenDesBenutzers(QStringLiteral("' OR '1'='1")));
    QVERIFY(!daten.Refresh());
    QCOMPARE(spalte(daten, QStringLiteral("Bezeichnung")), QStringList{"Y"});

    daten.SetRecordSource(statements::anzahlEintraege(QStringLiteral("niemand")));
    QVERIFY(!daten.Refresh());
    QCOMPARE(daten.Recordset().Fields(QStringLiteral("izahl")).Value(), QStringLiteral("0"));
}

void TestStore::countSkipsNullDesignations() {
    QTemporaryDir folder;
    const QString path = recordfile::pathIn(folder.path());
    rawdb::schreibe(
        path,
        {{"anna", "pw", "Bank", "A1"}, {"anna", "pw", "Bank", ""}, {"anna", "pw", "Bank", "A3"}});
    rawdb::ausfuehren(path, QStringLiteral("UPDATE Haupt SET Bezeichnung = NULL WHERE rowid = 3"));
    Offen offen(folder);
    QVERIFY(offen.usable);
    db::DataControl& daten = offen.daten;
    daten.SetRecordSource(statements::anzahlEintraege(QStringLiteral("anna")));
    QVERIFY(!daten.Refresh());
    // An empty designation counts; a NULL one does not, and reads as empty text.
    QCOMPARE(daten.Recordset().Fields(0).Value(), QStringLiteral("2"));
    daten.SetRecordSource(statements::ganzeTabelle());
    daten.Refresh();
    daten.Recordset().MoveLast();
    QCOMPARE(daten.Recordset().Fields(0).Value(), QString());
}

void TestStore::bookmarksSurviveWrites() {
    QTemporaryDir folder;
    rawdb::schreibe(recordfile::pathIn(folder.path()),
                    {{"a", "p", "K", "1"}, {"a", "p", "K", "2"}, {"a", "p", "K", "3"}});
    Offen offen(folder);
    QVERIFY(offen.usable);
    db::DataControl& daten = offen.daten;
    db::Recordset& rs = daten.Recordset();
    rs.MoveNext();
    rs.MoveNext();
    const db::Mark drei = rs.Bookmark();
    rs.MoveFirst();
    QVERIFY(!rs.Delete());
    rs.AddNew();
    rs.Fields(0).SetValue(QStringLiteral("4"));
    QVERIFY(!rs.Update());
    // A query in between and a refresh of the table keep the bookmark valid.
    daten.SetRecordSource(statements::anzahlEintraege(QStringLiteral("a")));
    daten.Refresh();
    daten.SetRecordSource(statements::ganzeTabelle());
    daten.Refresh();
    QVERIFY(daten.Recordset().SetBookmark(drei));
    QCOMPARE(daten.Recordset().Fields(0).Value(), QStringLiteral("3"));
    QVERIFY(!daten.Recordset().SetBookmark(db::Mark(999)));
}

void TestStore::addNewAppendsAtTheEnd() {
    QTemporaryDir folder;
    rawdb::schreibe(recordfile::pathIn(folder.path()),
                    {{"a", "p", "K", "1"}, {"a", "p", "K", "2"}});
    // A gap in the rowids, as deleting leaves it.
    rawdb::ausfuehren(recordfile::pathIn(folder.path()),
                      QStringLiteral("DELETE FROM Haupt WHERE rowid = 2"));
    Offen offen(folder);
    QVERIFY(offen.usable);
    db::DataControl& daten = offen.daten;
    db::Recordset& rs = daten.Recordset();
    rs.AddNew();
    rs.Fields(QStringLiteral("Bezeichnung")).SetValue(QStringLiteral("neu"));
    rs.Fields(QStringLiteral("Benutzer")).SetValue(QStringLiteral("a"));
    QVERIFY(!rs.Update());
    // Still on the row that was current before AddNew.
    QCOMPARE(rs.Fields(0).Value(), QStringLiteral("1"));
    rs.MoveLast();
    QCOMPARE(rs.Fields(0).Value(), QStringLiteral("neu"));
    QCOMPARE(rs.RecordCount(), 2);
    const auto rows = rawdb::lese(recordfile::pathIn(folder.path()));
    QCOMPARE(rows.back().value("Bezeichnung").toString(), QStringLiteral("neu"));
    // Columns not written keep the table's default.
    QCOMPARE(rows.back().value("übernommen"), QVariant(QString()));
    QVERIFY(rows.back().value("Pin").isNull());
    // The next refresh of the table sees the same rows in the same order.
    daten.Refresh();
    daten.Recordset().MoveLast();
    QCOMPARE(daten.Recordset().Fields(0).Value(), QStringLiteral("neu"));
}

void TestStore::editAndDeleteReachTheFile() {
    QTemporaryDir folder;
    const QString path = recordfile::pathIn(folder.path());
    rawdb::schreibe(path, {{"a", "p", "K", "1"}, {"a", "p", "K", "2"}, {"a", "p", "K", "3"}});
    Offen offen(folder);
    QVERIFY(offen.usable);
    db::DataControl& daten = offen.daten;
    db::Recordset& rs = daten.Recordset();
    rs.MoveNext();
    QVERIFY(!rs.Edit());
    rs.Fields(QStringLiteral("Bemerkungen")).SetValue(QStringLiteral("geändert"));
    QVERIFY(!rs.Update());
    QCOMPARE(rawdb::lese(path)[1].value("Bemerkungen").toString(), QStringLiteral("geändert"));
    QCOMPARE(rawdb::lese(path)[1].value("Pin").toString(), verschluesseln("p", kFeldSchluessel));

    QVERIFY(!rs.Delete());
    rs.MoveNext();
    QCOMPARE(rs.Fields(0).Value(), QStringLiteral("3"));
    QCOMPARE(rawdb::lese(path).size(), size_t(2));
    // Writing a query's rows is refused.
    daten.SetRecordSource(statements::bezeichnungenDesBenutzers(QStringLiteral("a")));
    daten.Refresh();
    QVERIFY(bool(daten.Recordset().Delete()));
    QCOMPARE(rawdb::lese(path).size(), size_t(2));
}

void TestStore::cancelledRowsNeverReachTheFile() {
    QTemporaryDir folder;
    const QString path = recordfile::pathIn(folder.path());
    rawdb::schreibe(path, {{"a", "p", "K", "1"}});
    const QByteArray vorher = rawdb::dateiInhalt(path);
    Offen offen(folder);
    QVERIFY(offen.usable);
    db::DataControl& daten = offen.daten;
    db::Recordset& rs = daten.Recordset();
    rs.AddNew();
    rs.Fields(0).SetValue(QStringLiteral("weg"));
    rs.CancelUpdate();
    rs.Edit();
    rs.Fields(0).SetValue(QStringLiteral("weg"));
    rs.MoveFirst(); // moving drops a pending change
    QVERIFY(bool(rs.Update()));
    QCOMPARE(rs.Fields(0).Value(), QStringLiteral("1"));
    offen.c.close();
    QCOMPARE(rawdb::dateiInhalt(path), vorher);
}

void TestStore::seesWritesOfOtherPrograms_data() {
    QTest::addColumn<bool>("ersetzt");
    QTest::addColumn<QString>("fehler"); // of this copy's next write
    QTest::newRow("another copy adds a row") << false << "";
    // A file manager or a sync tool put another file in its place.
    QTest::newRow("another program replaced the file")
        << true
        << "Die Datenbankdatei wurde inzwischen von einem anderen Programm ersetzt, etwa durch "
           "eine wieder hergestellte Sicherung. Bitte beenden Sie lumoClavido und starten Sie es "
           "neu.";
}

void TestStore::seesWritesOfOtherPrograms() {
    QFETCH(bool, ersetzt);
    QFETCH(QString, fehler);
    QTemporaryDir folder, anderswo;
    const QString path = recordfile::pathIn(folder.path());
    rawdb::schreibe(path, {{"a", "p", "K", "1"}});
    Offen offen(folder);
    QVERIFY(offen.usable);
    db::DataControl& daten = offen.daten;
    if (ersetzt) {
        const QString neu = anderswo.filePath("neu.mdb");
        rawdb::schreibe(neu, {{"b", "p", "K", "2"}, {"b", "p", "K", "3"}});
        QCOMPARE(
            std::rename(QFile::encodeName(neu).constData(), QFile::encodeName(path).constData()),
            0);
    } else {
        rawdb::schreibe(path, {{"b", "p", "K", "2"}});
        daten.Refresh();
        QCOMPARE(daten.Recordset().RecordCount(), 2);
    }
    db::Recordset& rs = daten.Recordset();
    rs.AddNew();
    rs.Fields(0).SetValue(QStringLiteral("neu"));
    QCOMPARE(rs.Update().text, fehler);
}

void TestStore::leavesUnopenableFilesAsTheyAre_data() {
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QString>("art");

    QTemporaryDir folder;
    const QString path = recordfile::pathIn(folder.path());
    std::vector<Eintrag> viele;
    for (int i = 0; i < 400; ++i)
        viele.push_back({"anna", "pw", "Bank", QString::number(i), QString(100, u'x')});
    rawdb::schreibe(path, viele);
    const QByteArray echt = rawdb::dateiInhalt(path);

    QTest::newRow("truncated") << echt.left(echt.size() / 2) << "Haupt";
    QTest::newRow("junk") << QByteArray(8192, 'j') << "open";
    QTest::newRow("short junk") << QByteArray("kein Datenbankinhalt") << "open";
    QTest::newRow("empty") << QByteArray() << "open";
    QTest::newRow("first page damaged")
        << QByteArray(echt).replace(100, 50, QByteArray(50, '\0')) << "open";

    // A plain SQLite file, and one with another key.
    for (const auto& [name, key] :
         {std::pair{"plain sqlite", QByteArray()}, std::pair{"wrong key", QByteArray("anders")}}) {
        QTemporaryDir other;
        const QString p = other.filePath("x.db");
        sqlite3* db = nullptr;
        sqlite3_open(p.toUtf8().constData(), &db);
        if (!key.isEmpty())
            sqlite3_key(db, key.constData(), int(key.size()));
        sqlite3_exec(db, recordfile::createStatement().toUtf8().constData(), nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
        QTest::newRow(name) << rawdb::dateiInhalt(p) << "open";
    }
    // Right key, but not our table.
    QTemporaryDir fremd;
    const QString p = fremd.filePath("y.db");
    rawdb::ausfuehren(p, QStringLiteral("CREATE TABLE Haupt (Name TEXT, Wert TEXT)"));
    QTest::newRow("foreign table") << rawdb::dateiInhalt(p) << "open";
}

void TestStore::leavesUnopenableFilesAsTheyAre() {
    QFETCH(QByteArray, inhalt);
    QFETCH(QString, art);
    QTemporaryDir folder;
    const QString path = recordfile::pathIn(folder.path());
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    db::Connection c;
    const auto result = recordfile::openOrCreate(c, folder.path());
    if (art == QStringLiteral("open")) {
        QCOMPARE(result.outcome, recordfile::Outcome::NotOpenable);
    } else {
        // Damage behind the first pages shows when the table is read.
        QVERIFY(result.outcome == recordfile::Outcome::NotOpenable || [&] {
            db::DataControl daten(c);
            daten.SetRecordSource(statements::ganzeTabelle());
            return bool(daten.Refresh());
        }());
    }
    c.close();
    QCOMPARE(rawdb::dateiInhalt(path), inhalt);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{recordfile::kDateiName});
}

void TestStore::reportsAFullDisk() {
    QTemporaryDir folder;
    const QString path = recordfile::pathIn(folder.path());
    rawdb::schreibe(path, {{"a", "p", "K", "1"}});
    const QByteArray vorher = rawdb::dateiInhalt(path);

    const pid_t child = fork();
    if (child == 0) {
        // No file may grow: the journal and the new page cannot be written.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{0, 0};
        setrlimit(RLIMIT_FSIZE, &limit);
        db::Connection c;
        if (!recordfile::openOrCreate(c, folder.path()).usable())
            _exit(10);
        db::DataControl daten(c);
        daten.SetRecordSource(statements::ganzeTabelle());
        daten.Refresh();
        db::Recordset& rs = daten.Recordset();
        rs.AddNew();
        rs.Fields(0).SetValue(QString(5000, u'x'));
        const db::Error e = rs.Update();
        if (!e)
            _exit(11);
        if (e.text != QStringLiteral("Der Datenträger ist voll."))
            _exit(12);
        // The snapshot did not take the row either.
        _exit(rs.RecordCount() == 1 ? 0 : 13);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(rawdb::dateiInhalt(path), vorher);
    QCOMPARE(rawdb::lese(path).size(), size_t(1));
}

CLAVIDO_TEST_MAIN(TestStore)
#include "test_store.moc"
