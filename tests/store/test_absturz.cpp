// A process killed in the middle of a long write leaves a sound file with all
// of the write or none of it. The write runs in langes_schreiben, killed with
// SIGKILL at points spread over the time one whole write takes.
#include "environment.h"
#include "store/field_cipher.h"
#include "store/record_file.h"
#include "store/windows_datei.h"
#include "windows_dateien.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

namespace {

constexpr int kPunkte = 20;
constexpr int kGleichNachLos = 3;

// `anzahl` rows, the users' rows interleaved, every user's password "pw".
std::vector<Eintrag> tabelle(int anzahl, const QStringList& benutzer,
                             const QString& vorsilbe = {}) {
    std::vector<Eintrag> rows;
    rows.reserve(anzahl);
    for (int i = 0; i < anzahl; ++i)
        rows.push_back({benutzer[i % benutzer.size()], "pw",
                        QStringLiteral("Kategorie %1").arg(i % 10),
                        vorsilbe + QStringLiteral("Eintrag %1").arg(i)});
    return rows;
}

QStringList benutzer(int anzahl) {
    QStringList namen;
    for (int i = 0; i < anzahl; ++i)
        namen << QStringLiteral("Benutzer %1").arg(i);
    return namen;
}

void kopieren(const QTemporaryDir& von, const QTemporaryDir& nach) {
    QDir(nach.path()).mkdir("sicherung");
    for (const QString& name : {recordfile::kDateiName, QStringLiteral("Clavido6.mdb"),
                                QStringLiteral("sicherung/Clavido61.mdb")}) {
        if (QFile::exists(von.filePath(name)))
            QVERIFY(QFile::copy(von.filePath(name), nach.filePath(name)));
    }
}

// A journal SQLite plays back on the next opening: one whose header was
// begun. One left empty by a kill before that is ignored, and stays.
bool heissesJournal(const QString& pfad) {
    QFile journal(pfad + "-journal");
    char erstes = 0;
    return journal.open(QIODevice::ReadOnly) && journal.getChar(&erstes) && erstes != 0;
}

// The file as the program finds it at its next start: opened read-write, which
// rolls a hot journal back and removes what a killed restore left beside it;
// then both integrity checks, the rows of `abfrage` and the temporaries left.
struct Befund {
    QString fehler;
    QStringList integritaet, verschluesselung, zeilen, uebrig;
};

Befund befund(const QString& ordner, const QString& abfrage) {
    Befund b;
    db::Connection datei;
    db::Error e = recordfile::openOrCreate(datei, ordner).error;
    b.uebrig = QDir(ordner).entryList({recordfile::kDateiName + ".*"}, QDir::AllEntries);
    auto sammeln = [&](const QString& sql, QStringList& in) {
        if (!e)
            e = datei.queryColumn(sql, [&](const QString& zeile) { in << zeile; });
    };
    sammeln("PRAGMA integrity_check", b.integritaet);
    sammeln("PRAGMA cipher_integrity_check", b.verschluesselung);
    sammeln(abfrage, b.zeilen);
    b.fehler = e.text;
    return b;
}

// The helper on a program folder, up to the moment it starts writing.
class Lauf {
public:
    Lauf(const QString& modus, const QString& ordner) {
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert("QT_QPA_PLATFORM", "offscreen");
        prozess.setProcessEnvironment(umgebung);
        prozess.start(LANGES_SCHREIBEN, {modus, ordner});
        los = warteAuf("los");
    }
    ~Lauf() {
        prozess.kill();
        prozess.waitForFinished();
    }
    bool warteAuf(const QByteArray& zeile) {
        for (;;) {
            while (prozess.canReadLine()) {
                if (prozess.readLine().trimmed() == zeile)
                    return true;
            }
            if (!prozess.waitForReadyRead(60000) && !prozess.canReadLine())
                return false;
        }
    }
    QString meldung() { return QString::fromLocal8Bit(prozess.readAllStandardError()); }

    QProcess prozess;
    bool los = false;
};

// The write once without a kill: how long it takes, and that it leaves `erwartet`.
void ungestoert(const QString& modus, const QString& ordner, const QString& abfrage,
                const QStringList& erwartet, qint64& dauer) {
    Lauf lauf(modus, ordner);
    QVERIFY(lauf.los);
    QElapsedTimer uhr;
    uhr.start();
    QVERIFY(lauf.warteAuf("fertig"));
    dauer = uhr.elapsed();
    QVERIFY(lauf.prozess.waitForFinished());
    QVERIFY2(lauf.prozess.exitCode() == 0, qPrintable(lauf.meldung()));
    QCOMPARE(befund(ordner, abfrage).zeilen, erwartet);
}

} // namespace

class TestAbsturz : public QObject {
    Q_OBJECT
private slots:
    void aKillLeavesAllOrNothing_data();
    void aKillLeavesAllOrNothing();
    void aKillLeavesTheWindowsFileOrBoth();
};

void TestAbsturz::aKillLeavesAllOrNothing_data() {
    QTest::addColumn<QString>("modus");
    QTest::addColumn<QString>("abfrage");
    QTest::addColumn<QStringList>("vorher");
    QTest::addColumn<QStringList>("nachher");
    // The current table's rows get their mark in the same transaction.
    QTest::newRow("import of 50,000 rows")
        << "uebernahme"
        << "SELECT \"übernommen\" || '/' || count(*) FROM Haupt GROUP BY \"übernommen\""
        << QStringList{"/5000"} << QStringList{"1/55000"};
    const QString pw = verschluesseln("pw", kFeldSchluessel);
    const QString neu = verschluesseln("neu", kFeldSchluessel);
    QTest::newRow("rename of a user with 20,000 rows")
        << "umbenennen"
        << "SELECT Benutzer || '/' || Passwort || '/' || count(*) FROM Haupt "
           "GROUP BY Benutzer, Passwort ORDER BY 1"
        << QStringList{"anna/" + pw + "/20000", "bert/" + pw + "/5000"}
        << QStringList{"anna neu/" + neu + "/20000", "bert/" + pw + "/5000"};
    QTest::newRow("settings over 50,000 rows")
        << "einstellungen"
        << "SELECT Sichern || '/' || fragen || '/' || count(*) FROM Haupt GROUP BY Sichern, fragen"
        << QStringList{"1/1/50000"} << QStringList{"0/0/50000"};
    // Its temporary copy beside the program's file goes at the next start.
    QTest::newRow("restore of 10,000 rows over 2,000")
        << "zurueckschreiben"
        << "SELECT count(*) FROM Haupt" << QStringList{"2000"} << QStringList{"10000"};
}

void TestAbsturz::aKillLeavesAllOrNothing() {
    QFETCH(QString, modus);
    QFETCH(QString, abfrage);
    QFETCH(QStringList, vorher);
    QFETCH(QStringList, nachher);
    QTemporaryDir vorlage;
    const QString datei = recordfile::kDateiName;
    if (modus == "uebernahme") {
        rawdb::schreibe(vorlage.filePath(datei), tabelle(5000, benutzer(10)));
        rawdb::schreibe(vorlage.filePath("Clavido6.mdb"),
                        tabelle(50000, benutzer(100), QStringLiteral("Alt ")));
    } else if (modus == "zurueckschreiben") {
        rawdb::schreibe(vorlage.filePath(datei), tabelle(2000, benutzer(10)));
        QVERIFY(QDir(vorlage.path()).mkdir("sicherung"));
        rawdb::schreibe(vorlage.filePath("sicherung/" + datei), tabelle(10000, benutzer(100)));
    } else if (modus == "umbenennen") {
        rawdb::schreibe(vorlage.filePath(datei),
                        tabelle(25000, {"anna", "anna", "anna", "anna", "bert"}));
    } else {
        rawdb::schreibe(vorlage.filePath(datei), tabelle(50000, benutzer(100)));
    }

    // One whole write: how long it takes, and what it leaves.
    qint64 dauer = 0;
    {
        QTemporaryDir ordner;
        kopieren(vorlage, ordner);
        ungestoert(modus, ordner.path(), abfrage, nachher, dauer);
        if (QTest::currentTestFailed())
            return;
    }

    // A few kills right after "los", the others spread over the whole write.
    QRandomGenerator zufall(20261208);
    int ganz = 0, gar = 0, journal = 0;
    for (int punkt = 0; punkt < kPunkte; ++punkt) {
        const int verteilt = kPunkte - kGleichNachLos;
        const qint64 warten = punkt < kGleichNachLos
                                  ? 0
                                  : qint64(((punkt - kGleichNachLos) + zufall.generateDouble()) *
                                           dauer * 1000 / verteilt);
        QTemporaryDir ordner;
        kopieren(vorlage, ordner);
        const QString pfad = ordner.filePath(datei);
        {
            Lauf lauf(modus, ordner.path());
            QVERIFY(lauf.los);
            QThread::usleep(warten);
            lauf.prozess.kill();
            QVERIFY(lauf.prozess.waitForFinished());
        }
        journal += heissesJournal(pfad);
        const Befund b = befund(ordner.path(), abfrage);
        const QByteArray wo = QStringLiteral("killed %1 µs after \"los\"").arg(warten).toUtf8();
        QVERIFY2(b.fehler.isEmpty(), qPrintable(b.fehler + " " + wo));
        QVERIFY2(b.integritaet == QStringList{"ok"}, qPrintable(b.integritaet.join('\n') + wo));
        QVERIFY2(b.verschluesselung.isEmpty(), qPrintable(b.verschluesselung.join('\n') + wo));
        QVERIFY2(b.zeilen == vorher || b.zeilen == nachher, qPrintable(b.zeilen.join('\n') + wo));
        QVERIFY2(!heissesJournal(pfad), wo);
        QVERIFY2(b.uebrig.isEmpty(), qPrintable(b.uebrig.join(' ') + " " + wo));
        (b.zeilen == nachher ? ganz : gar)++;
    }
    qInfo("%d kills: %d found the write done, %d not done, %d left a hot journal; one write "
          "takes %lld ms",
          kPunkte, ganz, gar, journal, dauer);
}

// The first start's take-over of a Windows file, killed at points spread over
// it: the Windows file is still at the database's name, or the new file is
// there whole and the Windows file whole beside it; never neither. A start
// after a kill takes it over as if nothing had been.
void TestAbsturz::aKillLeavesTheWindowsFileOrBoth() {
    const QByteArray windows = rawdb::dateiInhalt(windowsdateien::pfad("Clavido61.mdb"));
    const QString abfrage = "SELECT count(*) || '/' || count(DISTINCT Benutzer) FROM Haupt";
    const QStringList ganz{"3/2"};
    auto vorbereiten = [](const QTemporaryDir& ordner) {
        windowsdateien::kopieren("Clavido61.mdb", ordner.path(), recordfile::kDateiName);
    };
    qint64 dauer = 0;
    {
        QTemporaryDir ordner;
        vorbereiten(ordner);
        ungestoert("windows", ordner.path(), abfrage, ganz, dauer);
        if (QTest::currentTestFailed())
            return;
    }
    QRandomGenerator zufall(20261209);
    int uebernommen = 0, nicht = 0;
    for (int punkt = 0; punkt < kPunkte; ++punkt) {
        const qint64 warten = qint64((punkt + zufall.generateDouble()) * dauer * 1000 / kPunkte);
        QTemporaryDir ordner;
        vorbereiten(ordner);
        const QString pfad = recordfile::pathIn(ordner.path());
        const QString behalten = ordner.filePath("Clavido61-Windows.mdb");
        {
            Lauf lauf("windows", ordner.path());
            QVERIFY(lauf.los);
            QThread::usleep(warten);
            lauf.prozess.kill();
            QVERIFY(lauf.prozess.waitForFinished());
        }
        const QByteArray wo = QStringLiteral(" killed %1 µs after \"los\"").arg(warten).toUtf8();
        if (rawdb::dateiInhalt(pfad) == windows) {
            // Not yet: a kept name is the Windows file itself; a start takes it over.
            QVERIFY2(!QFile::exists(behalten) || rawdb::dateiInhalt(behalten) == windows, wo);
            QCOMPARE(windowsdatei::sicherungsName(ordner.path()), "Clavido61-Windows.mdb");
            db::Snapshot zeilen;
            QCOMPARE(int(windowsdatei::pruefen(pfad, &zeilen)),
                     int(windowsdatei::Befund::Uebernehmbar));
            QCOMPARE(windowsdatei::uebernehmen(ordner.path(), "Clavido61-Windows.mdb", zeilen).text,
                     QString());
            ++nicht;
        } else {
            ++uebernommen;
        }
        const Befund b = befund(ordner.path(), abfrage);
        QVERIFY2(b.fehler.isEmpty() && b.zeilen == ganz, qPrintable(b.fehler + wo));
        QVERIFY2(b.uebrig.isEmpty(), qPrintable(b.uebrig.join(' ') + wo));
        QVERIFY2(b.integritaet == QStringList{"ok"} && b.verschluesselung.isEmpty(), wo);
        QVERIFY2(rawdb::dateiInhalt(behalten) == windows, wo);
    }
    qInfo("%d kills: %d found the file taken over, %d not; one take-over takes %lld ms", kPunkte,
          uebernommen, nicht, dauer);
}

CLAVIDO_TEST_MAIN(TestAbsturz)
#include "test_absturz.moc"
