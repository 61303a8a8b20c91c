// The Access files of the Windows versions, read through the second engine:
// every value as stored, the database password, and the files it refuses.
#include "environment.h"
#include "platform/db/access_file.h"
#include "platform/db/access_reader.h"
#include "platform/db/access_text.h"
#include "platform/db/data_control.h"
#include "store/code_page.h"
#include "windows_dateien.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUuid>
#include <QtEndian>

#include <future>
#include <sqlcipher/sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kKennwort = QStringLiteral("kolm3815");

QByteArray inhalt(const QString& pfad) {
    QFile f(pfad);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void schreiben(const QString& pfad, const QByteArray& bytes) {
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT
private slots:
    void readsEveryValueAsStored_data();
    void readsEveryValueAsStored();
    void password_data();
    void password();
    void text_data();
    void text();
    void refuses_data();
    void refuses();
    void aHangingReaderIsStopped();
};

void TestAccess::readsEveryValueAsStored_data() {
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("werte"); // the file whose values it holds
    QTest::addColumn<db::access::Format>("format");
    for (const QString ordner : {"", "jet3/"}) {
        const auto format = ordner.isEmpty() ? db::access::Format::Jet4 : db::access::Format::Jet3;
        const char* wie = ordner.isEmpty() ? "Access 2000" : "Access 97";
        const auto zeile = [&](const char* fall, const QString& datei, const QString& werte) {
            QTest::addRow("%s, %s", wie, fall) << ordner + datei << ordner + werte << format;
        };
        zeile("5.x/6.x", "Clavido6.mdb", "Clavido6.mdb");
        // In Access 97 laid out as the others, a text starting with FF FE included.
        zeile("unicode compression", "Clavido51.mdb", "Clavido51.mdb");
        zeile("4.1", "Clavido41.mdb", "Clavido41.mdb");
        zeile("Windows 6.1", "Clavido61.mdb", "Clavido61.mdb");
        zeile("no password", "ohne-passwort.mdb", "Clavido61.mdb");
    }
    // Moved rows, deleted slots, Memos over several pages, shortened and NULL.
    QTest::newRow("Access 97, lived in") << "jet3/Clavido61-gelebt.mdb"
                                         << "jet3/Clavido61-gelebt.mdb" << db::access::Format::Jet3;
}

void TestAccess::readsEveryValueAsStored() {
    QFETCH(QString, datei);
    QFETCH(QString, werte);
    QFETCH(db::access::Format, format);
    QTemporaryDir ordner;
    const QString pfad = windowsdateien::kopieren(datei, ordner.path());
    const QByteArray vorher = inhalt(pfad);
    const auto erwartet = windowsdateien::zeilen(werte);

    db::AccessFile file;
    QCOMPARE(file.open(pfad, kKennwort, codepage::character).code, 0);
    QCOMPARE(file.format(), format);
    db::DataControl daten(file);
    daten.SetRecordSource(db::RecordSource::table(QStringLiteral("Haupt")));
    QCOMPARE(daten.Refresh().code, 0);
    db::Recordset& rs = daten.Recordset();
    QCOMPARE(rs.RecordCount(), int(erwartet.size()));
    QStringList spalten;
    for (int i = 0; i < rs.columnCount(); ++i)
        spalten << rs.columnName(i);
    spalten.sort();
    QCOMPARE(spalten, erwartet.front().keys());

    int zeile = 0;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), ++zeile) {
        for (auto it = erwartet[zeile].begin(); it != erwartet[zeile].end(); ++it) {
            const QString wert = rs.Fields(it.key()).Value();
            const QByteArray wo = QStringLiteral("row %1, %2").arg(zeile).arg(it.key()).toUtf8();
            QVERIFY2(wert == it.value(), wo);
            QVERIFY2(wert.isNull() == it.value().isNull(), wo);
        }
    }
    // Read only: nothing is written, and the file stays as it was.
    rs.MoveFirst();
    QCOMPARE(rs.Edit().code, 0);
    rs.Fields(0).SetValue(QStringLiteral("x"));
    QCOMPARE(rs.Update().code, SQLITE_READONLY);
    rs.AddNew();
    QCOMPARE(rs.Update().code, SQLITE_READONLY);
    QCOMPARE(rs.Delete().code, SQLITE_READONLY);
    QCOMPARE(inhalt(pfad), vorher);
}

void TestAccess::password_data() {
    QTest::addColumn<QString>("datei");
    QTest::addColumn<int>("version"); // -1: as it is
    QTest::addColumn<int>("laenge");  // of the header, -1: whole
    QTest::addColumn<QString>("kennwort");
    QTest::addColumn<bool>("gelesen");
    QTest::newRow("the program's") << "Clavido61.mdb" << -1 << -1 << kKennwort << true;
    QTest::newRow("another") << "fremd-passwort.mdb" << -1 << -1 << "anders12" << true;
    QTest::newRow("none") << "ohne-passwort.mdb" << -1 << -1 << "" << true;
    // Jet 3 keeps it unmasked by the date, in the code page.
    QTest::newRow("Access 97, the program's")
        << "jet3/Clavido61.mdb" << -1 << -1 << kKennwort << true;
    QTest::newRow("Access 97, another")
        << "jet3/fremd-passwort.mdb" << -1 << -1 << "anders12" << true;
    QTest::newRow("Access 97, none") << "jet3/ohne-passwort.mdb" << -1 << -1 << "" << true;
    QTest::newRow("header cut short") << "Clavido61.mdb" << -1 << 0x90 << "" << false;
    QTest::newRow("a later version") << "Clavido61.mdb" << 2 << -1 << "" << false;
}

void TestAccess::password() {
    QFETCH(QString, datei);
    QFETCH(int, version);
    QFETCH(int, laenge);
    QFETCH(QString, kennwort);
    QFETCH(bool, gelesen);
    QByteArray kopf = inhalt(windowsdateien::pfad(datei)).left(laenge < 0 ? 4096 : laenge);
    if (version >= 0)
        kopf[0x14] = char(version);
    const auto gefunden = db::access::passwordOf(kopf, codepage::character);
    QCOMPARE(bool(gefunden), gelesen);
    if (gefunden)
        QCOMPARE(*gefunden, kennwort);
}

void TestAccess::text_data() {
    QTest::addColumn<bool>("jet4");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("gueltig");
    QTest::newRow("UTF-16") << true << QByteArray::fromHex("41008100ac209d00") << "A\u0081€\u009d"
                            << true;
    QTest::newRow("compressed") << true << QByteArray::fromHex("fffe41818d8f909d")
                                << "A\u0081\u008d\u008f\u0090\u009d" << true;
    QTest::newRow("compressed, a run of UTF-16")
        << true << QByteArray::fromHex("fffe4100ac200042") << "A€B" << true;
    QTest::newRow("odd UTF-16") << true << QByteArray::fromHex("410042") << "" << false;
    QTest::newRow("compressed, odd run")
        << true << QByteArray::fromHex("fffe4100ac2042") << "" << false;
    // The five bytes Windows-1252 leaves undefined come through as well.
    QTest::newRow("Jet 3") << false << QByteArray::fromHex("818d8f909d80e4ff")
                           << "\u0081\u008d\u008f\u0090\u009d€äÿ" << true;
}

void TestAccess::text() {
    QFETCH(bool, jet4);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, gueltig);
    const std::optional<QString> gelesen =
        jet4 ? db::access::jet4Text(bytes) : db::access::jet3Text(bytes, codepage::character);
    QCOMPARE(bool(gelesen), gueltig);
    if (gelesen)
        QCOMPARE(*gelesen, text);
}

void TestAccess::refuses_data() {
    QTest::addColumn<QString>("fall");
    QTest::addColumn<int>("oeffnen"); // the code of open()
    QTest::addColumn<int>("lesen");   // the code of reading table Haupt after it
    QTest::newRow("another password") << "fremd" << SQLITE_NOTADB << 0;
    QTest::newRow("no file") << "fehlt" << SQLITE_CANTOPEN << 0;
    QTest::newRow("the program's own format") << "sqlcipher" << SQLITE_NOTADB << 0;
    QTest::newRow("a later version") << "ace" << SQLITE_NOTADB << 0;
    QTest::newRow("header cut short") << "kopf" << SQLITE_CORRUPT << 0;
    QTest::newRow("only the first page") << "seite" << 0 << SQLITE_CORRUPT;
    QTest::newRow("cut in the middle") << "mitte" << 0 << SQLITE_CORRUPT;
    QTest::newRow("cut by one byte") << "byte" << SQLITE_CORRUPT << 0;
    QTest::newRow("damaged table pages") << "seiten" << 0 << SQLITE_CORRUPT;
    QTest::newRow("a Memo's page chain that loops") << "schleife" << 0 << SQLITE_CORRUPT;
    QTest::newRow("no table Haupt") << "tabelle" << 0 << SQLITE_ERROR;
}

void TestAccess::refuses() {
    QFETCH(QString, fall);
    QFETCH(int, oeffnen);
    QFETCH(int, lesen);
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("Clavido6.mdb"));
    const QByteArray original = inhalt(windowsdateien::pfad(QStringLiteral("Clavido6.mdb")));
    QByteArray bytes = original;
    if (fall == "fremd") {
        bytes = inhalt(windowsdateien::pfad(QStringLiteral("fremd-passwort.mdb")));
    } else if (fall == "sqlcipher") {
        rawdb::schreibe(pfad, {});
        bytes = inhalt(pfad);
    } else if (fall == "ace") {
        bytes[0x14] = 2;
    } else if (fall == "kopf") {
        bytes.truncate(100);
    } else if (fall == "seite") {
        bytes.truncate(4096);
    } else if (fall == "mitte") {
        bytes.truncate(bytes.size() / 2 / 4096 * 4096);
    } else if (fall == "byte") {
        bytes.chop(1);
    } else if (fall == "seiten") {
        // Every page of the table's rows, scrambled after its header.
        for (qsizetype seite = 0; seite < bytes.size(); seite += 4096) {
            if (bytes[seite] == 1)
                for (int i = 14; i < 4096; i += 3)
                    bytes[seite + i] = char(bytes[seite + i] ^ 0x5a);
        }
    } else if (fall == "schleife") {
        // The long remark, on a page of its own, made the first link of a
        // chain whose next link is that page again.
        const qsizetype kopf = bytes.indexOf(QByteArray::fromHex("66020040001c0000"));
        QVERIFY(kopf > 0);
        bytes[kopf + 3] = 0;
        const qsizetype seite = 0x1c * 4096;
        const int zeile = qFromLittleEndian<quint16>(bytes.constData() + seite + 14) & 0x1fff;
        bytes.replace(seite + zeile, 4, QByteArray::fromHex("001c0000"));
    } else if (fall == "tabelle") {
        // The name in the catalog no longer says Haupt.
        const QByteArray name = QStringLiteral("Haupt").toUtf8();
        QByteArray utf16;
        for (char c : name)
            utf16 += QByteArray(1, c) + QByteArray(1, 0);
        const qsizetype at = bytes.indexOf(utf16);
        QVERIFY(at > 0);
        bytes[at] = 'X';
    }
    if (fall != "fehlt")
        schreiben(pfad, bytes);

    db::AccessFile file;
    QCOMPARE(file.open(pfad, kKennwort, codepage::character).code, oeffnen);
    if (!oeffnen) {
        db::DataControl daten(file);
        daten.SetRecordSource(db::RecordSource::table(QStringLiteral("Haupt")));
        QCOMPARE(daten.Refresh().code, lesen);
        QCOMPARE(daten.Recordset().RecordCount(), 0);
    }
    QCOMPARE(file.isOpen(), !oeffnen);
    if (fall != "fehlt")
        QCOMPARE(inhalt(pfad), bytes);
}

namespace {

// What process `pid` holds at `adresse`: in a fork of this process, what
// this one holds there.
QByteArray speicherVon(pid_t pid, const char* adresse, qint64 laenge) {
    QFile speicher(QStringLiteral("/proc/%1/mem").arg(pid));
    if (!speicher.open(QIODevice::ReadOnly) || !speicher.seek(qint64(quintptr(adresse))))
        return {};
    return speicher.read(laenge);
}

// The reader's child, as soon as it runs a program of its own.
pid_t leserKind() {
    for (const QString& eintrag : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile befehl(QStringLiteral("/proc/%1/cmdline").arg(eintrag));
        QFile stand(QStringLiteral("/proc/%1/stat").arg(eintrag));
        if (eintrag.toInt() <= 0 || !befehl.open(QIODevice::ReadOnly) ||
            !stand.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> felder = stand.readAll().split(')').value(1).split(' ');
        if (felder.value(2).toInt() == getpid() &&
            befehl.readAll().startsWith("clavido-access-reader"))
            return eintrag.toInt();
    }
    return 0;
}

} // namespace

// A reader that waits for ever (here: on a named pipe that nobody writes
// into) is stopped when its time is up. Its child is a program started
// afresh: nothing of the caller's memory, where the secrets are, is in it.
void TestAccess::aHangingReaderIsStopped() {
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("Clavido6.mdb"));
    QCOMPARE(mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
    const QByteArray geheim = QUuid::createUuid().toByteArray().repeated(4);
    QCOMPARE(speicherVon(getpid(), geheim.constData(), geheim.size()), geheim);

    db::access::Limits lang;
    lang.seconds = 120;
    auto gelesen = std::async(std::launch::async, [&] {
        return db::access::readTable(pfad, QStringLiteral("Haupt"), lang);
    });
    pid_t kind = 0;
    QTRY_VERIFY_WITH_TIMEOUT((kind = leserKind()) > 0, 60000);
    QVERIFY(speicherVon(kind, geheim.constData(), geheim.size()) != geheim);
    // A writer that goes at once: the child reads an empty file.
    QFile(pfad).open(QIODevice::WriteOnly);
    QCOMPARE(int(gelesen.get().result), int(db::access::RawTable::Result::NotReadable));

    db::access::Limits kurz;
    kurz.seconds = 1;
    QCOMPARE(int(db::access::readTable(pfad, QStringLiteral("Haupt"), kurz).result),
             int(db::access::RawTable::Result::TimedOut));
    db::AccessFile file;
    QCOMPARE(file.open(pfad, kKennwort, codepage::character).code, SQLITE_NOTADB);
}

CLAVIDO_TEST_MAIN(TestAccess)
#include "test_access.moc"
