#include "environment.h"
#include "fremdes_programm.h"
#include "login/pwfrage.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_auswahl.h"
#include "maintenance/form_restore.h"
#include "maintenance/form_sichern.h"
#include "platform/db/temporary.h"
#include "platform/files.h"
#include "platform/folder_chooser.h"
#include "store/record_file.h"
#include "store/sicherung.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <sqlcipher/sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString kUeberschreiben =
    QStringLiteral("Achtung!  Eine bestehende Datei wird ohne Rückfrage überschrieben!\r\nMöchten "
                   "Sie fortfahren?");
const QString kZurueck = QStringLiteral(
    "Achtung! Die aktuelle Datenbankdatei wird überschrieben!\r\nMöchten Sie fortfahren?");
const QString kNichtGefunden = QStringLiteral("Datenbankdatei auf diesem Laufwerk nicht gefunden!");
// A write long enough that its pages reach the file before the commit.
const QString kVieleZeilen =
    QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                   "INSERT INTO Haupt (Bezeichnung, Bemerkungen) SELECT i, hex(randomblob(400)) "
                   "FROM n");

void schreibe(const QString& path, const QByteArray& inhalt) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

// Signs in as anna, who wants the backup offer, and ends the program.
void anmeldenUndBeenden(Umgebung& env, std::function<void(FormAuswahl&)> auswahl) {
    env.zeilen({{"anna", "pw", "Bank", "Konto"}, {"bert", "b", "Bank", "Depot"}});
    env.anmelden("anna", "pw");
    env.modal.erwarte<FormAuswahl>(auswahl);
    env.app->formClavido().menu_ende->trigger();
}

bool gelb(QLabel* label) {
    return label->palette().color(QPalette::Window) == QColor(255, 255, 0);
}

} // namespace

class TestSichern : public QObject {
    Q_OBJECT
private slots:
    void chooser();
    void backup_data();
    void backup();
    void notOfferedAgain();
    void restartFromEveryExit_data();
    void restartFromEveryExit();
    void restoreOnlyASoundFile_data();
    void restoreOnlyASoundFile();
    void damagedFileAtStartRepaired_data();
    void damagedFileAtStartRepaired();
    void leftoversOfAKillRemoved();
};

void TestSichern::chooser() {
    Umgebung env;
    QStringList texte;
    anmeldenUndBeenden(env, [&](FormAuswahl& d) {
        texte << d.Label1->text() << d.Label3->text() << d.Option1->text() << d.Option2->text()
              << d.Check1->text() << d.Command1->text() << d.Command2->text()
              << QString::number(d.Option1->isChecked());
        d.Command1->click();
    });
    QCOMPARE(texte,
             (QStringList{"Was möchten Sie tun:",
                          "Sie können jetzt die Datenbank sichern oder eine gesicherte "
                          "Datenbank einlesen.            ",
                          "Datenbank sichern", "gesicherte Datenbank einlesen",
                          "Dieses Fenster nicht mehr einblenden", "&Beenden", "&o.K.", "1"}));
    QVERIFY(env.beendet());
    QVERIFY(env.prozesse.gestartet.isEmpty());
    QVERIFY(env.hilfe.geschlossen > 0);
    // A folder at the root of a drive gets a single separator.
    QCOMPARE(recordfile::pathIn("/"), QStringLiteral("/Clavido61.mdb"));
    QCOMPARE(recordfile::pathIn("/media/stick/"), QStringLiteral("/media/stick/Clavido61.mdb"));
}

void TestSichern::backup_data() {
    QTest::addColumn<QString>("vorher"); // what the target folder holds already
    QTest::addColumn<QString>("fehler"); // the message of a failed backup, else empty
    QTest::newRow("new backup") << ""
                                << "";
    QTest::newRow("older backup overwritten") << "backup"
                                              << "";
    QTest::newRow("a folder in the way")
        << "folder"
        << "Fehler 75:   An der Stelle der Datei steht ein Ordner namens Clavido61.mdb.";
    QTest::newRow("disk full, older backup kept") << "backup full"
                                                  << "Fehler 61:   Der Datenträger ist voll.";
    QTest::newRow("no such folder typed") << "typed"
                                          << "Fehler 76:   Pfad nicht gefunden";
}

void TestSichern::backup() {
    QFETCH(QString, vorher);
    QFETCH(QString, fehler);
    Umgebung env;
    QTemporaryDir ziel;
    const QString kopie = recordfile::pathIn(ziel.path());
    if (vorher.startsWith("backup")) {
        rawdb::schreibe(kopie, {{"alt", "x", "K", "alte Sicherung"}});
    } else if (vorher == "folder") {
        QVERIFY(QDir(ziel.path()).mkdir(recordfile::kDateiName));
    }
    const QByteArray alteSicherung = rawdb::dateiInhalt(kopie);
    bool offen = false;
    QStringList texte;
    env.meldungen.antworte({msg::Yes});
    anmeldenUndBeenden(env, [&](FormAuswahl& d) {
        env.modal.erwarte<FormSichern>([&](FormSichern& s) {
            texte << s.Label3->text() << s.Label1->text() << s.Command2->text()
                  << s.Command1->text();
            if (vorher == "typed") {
                s.Ordner->pathBox()->setText(ziel.filePath("gibt es nicht"));
                QTest::keyClick(s.Ordner->pathBox(), Qt::Key_Return);
                offen = s.isVisible();
                s.Command1->click();
                return;
            }
            QVERIFY(s.Ordner->openFolder(ziel.path()));
            rlimit alt{};
            getrlimit(RLIMIT_FSIZE, &alt);
            if (vorher == "backup full") {
                rlimit eng = alt;
                eng.rlim_cur = 4096;
                setrlimit(RLIMIT_FSIZE, &eng);
            }
            s.Command2->click();
            setrlimit(RLIMIT_FSIZE, &alt);
            offen = s.isVisible();
            if (offen)
                s.Command1->click();
        });
        d.Option1->setChecked(true);
        d.Command2->click();
    });
    QCOMPARE(texte, (QStringList{"Sie können jetzt Ihre Datenbank sichern",
                                 "Bitte wählen Sie Sicherungs-Laufwerk / Ordner aus",
                                 "&Datenbank sichern", "&Beenden"}));
    QStringList erwartet;
    if (vorher != "typed")
        erwartet << kUeberschreiben;
    if (fehler.isEmpty())
        erwartet << "Ihre Datenbankdatei wurde in den Ordner  " +
                        QDir::toNativeSeparators(QFileInfo(ziel.path()).canonicalFilePath()) +
                        "   gesichert.";
    else
        erwartet << fehler;
    QCOMPARE(env.meldungen.texte(), erwartet);
    QCOMPARE(env.meldungen.meldungen.last().style,
             int(fehler.isEmpty() ? msg::Information : msg::Exclamation));
    QCOMPARE(offen, !fehler.isEmpty());
    QVERIFY(env.beendet());
    if (fehler.isEmpty()) {
        // A sound copy of the program's file, for its owner only.
        QVERIFY(!sicherung::pruefen(kopie));
        QCOMPARE(rawdb::lese(kopie), env.lesen());
        struct stat st;
        QCOMPARE(stat(QFile::encodeName(kopie).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
    } else if (vorher.startsWith("backup")) {
        QCOMPARE(rawdb::dateiInhalt(kopie), alteSicherung);
    }
    // No temporary left behind.
    QCOMPARE(QDir(ziel.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
             vorher == "typed" ? 0 : 1);
}

void TestSichern::notOfferedAgain() {
    Umgebung env;
    anmeldenUndBeenden(env, [](FormAuswahl& d) {
        d.Check1->setChecked(true);
        d.Command1->click();
    });
    const auto rows = env.lesen();
    QCOMPARE(rows[0].value("Sichern").toString(), QStringLiteral("0"));
    QCOMPARE(rows[1].value("Sichern").toString(), QStringLiteral("1"));
    // At the next start the chooser is not offered to this user.
    env.app = std::make_unique<Clavido>(env.dienste, env.ordner.path());
    env.prozesse.beendet = 0;
    env.anmelden("anna", "pw");
    env.app->formClavido().menu_ende->trigger();
    QVERIFY(env.beendet());
    QVERIFY(env.modal.ungeplant.isEmpty());
}

void TestSichern::restartFromEveryExit_data() {
    QTest::addColumn<QString>("weg");
    QTest::addColumn<bool>("neueAnmeldung");
    for (const char* weg :
         {"chooser end", "backup end", "backup made", "restore end", "restore made"}) {
        QTest::newRow(qPrintable(QString::fromLatin1(weg) + " at a new sign-in")) << weg << true;
        QTest::newRow(qPrintable(QString::fromLatin1(weg) + " at the end")) << weg << false;
    }
}

void TestSichern::restartFromEveryExit() {
    QFETCH(QString, weg);
    QFETCH(bool, neueAnmeldung);
    Umgebung env;
    QTemporaryDir ziel;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    QVERIFY(!sicherung::kopieren(env.dbPfad(), recordfile::pathIn(ziel.path())));
    env.anmelden("anna", "pw");
    env.meldungen.antworte({msg::Yes, msg::Yes});
    env.modal.erwarte<FormAuswahl>([&](FormAuswahl& d) {
        if (weg == "chooser end") {
            d.Command1->click();
            return;
        }
        if (weg.startsWith("backup")) {
            env.modal.erwarte<FormSichern>([&](FormSichern& s) {
                s.Ordner->openFolder(ziel.path());
                (weg == "backup made" ? s.Command2 : s.Command1)->click();
            });
            d.Option1->setChecked(true);
        } else {
            env.modal.erwarte<FormRestore>([&](FormRestore& r) {
                r.Ordner->openFolder(ziel.path());
                (weg == "restore made" ? r.Command2 : r.Command1)->click();
            });
            d.Option2->setChecked(true);
        }
        d.Command2->click();
    });
    FormClavido& f = env.app->formClavido();
    (neueAnmeldung ? f.menu_anmelden : f.menu_ende)->trigger();
    QVERIFY(env.modal.alleErledigt());
    QVERIFY(env.beendet());
    QCOMPARE(env.prozesse.gestartet.size(), neueAnmeldung ? 1 : 0);
}

void TestSichern::restoreOnlyASoundFile_data() {
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("status");
    const QString vorhanden = QStringLiteral("Datenbankdatei: Clavido61.mdb vorhanden");
    QTest::newRow("sound backup") << "sound" << vorhanden;
    // The journal of the killed copy is not played into the restored file.
    QTest::newRow("sound backup, a killed copy's journal beside the file")
        << "journal" << vorhanden;
    QTest::newRow("sound backup, the program's file a link") << "link" << vorhanden;
    QTest::newRow("sound backup, another copy running") << "running" << vorhanden;
    QTest::newRow("no file") << "none" << kNichtGefunden;
    QTest::newRow("damaged") << "damaged"
                             << "Datenbankdatei Clavido61.mdb ist beschädigt oder keine Datenbank "
                                "von lumoClavido!";
    QTest::newRow("other key")
        << "other key"
        << "Datenbankdatei Clavido61.mdb ist beschädigt oder keine Datenbank "
           "von lumoClavido!";
    QTest::newRow("plain sqlite") << "plain"
                                  << "Datenbankdatei Clavido61.mdb ist beschädigt oder keine "
                                     "Datenbank von lumoClavido!";
    QTest::newRow("the program's own file")
        << "own"
        << "Dies ist die Datenbankdatei Ihres Datenordners. Bitte wählen Sie den Ordner mit der "
           "Sicherung!";
    QTest::newRow("the program's own file, a portable copy")
        << "own portable"
        << "Dies ist die Datenbankdatei des Programmordners. Bitte wählen Sie den Ordner mit der "
           "Sicherung!";
}

void TestSichern::restoreOnlyASoundFile() {
    QFETCH(QString, art);
    QFETCH(QString, status);
    Umgebung env;
    QTemporaryDir ziel, woanders;
    const QString kopie = recordfile::pathIn(ziel.path());
    const bool angeboten = status.endsWith("vorhanden");
    if (art == "link")
        QVERIFY(QFile::link(woanders.filePath("echt.mdb"), env.dbPfad()));
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    if (angeboten) {
        rawdb::schreibe(kopie, {{"anna", "pw", "Bank", "Konto"}, {"anna", "pw", "Web", "Mail"}});
    } else if (art == "damaged") {
        rawdb::schreibe(kopie, {{"anna", "pw", "Bank", "Konto"}});
        QByteArray inhalt = rawdb::dateiInhalt(kopie);
        schreibe(kopie, inhalt.replace(100, 50, QByteArray(50, 'x')));
    } else if (art == "other key" || art == "plain") {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(kopie).constData(), &db);
        if (art == "other key")
            sqlite3_key(db, "anders", 6);
        sqlite3_exec(db, recordfile::createStatement().toUtf8().constData(), nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    const QString ordner = art.startsWith("own") ? env.ordner.path() : ziel.path();
    if (art.endsWith("portable"))
        env.app->ablage = {Aufstellung::Tragbar, env.ordner.path(), true, Abweichung::Keine};
    env.anmelden("anna", "pw");
    if (art == "journal")
        QVERIFY(abgestuerztesProgramm(env.dbPfad(), kVieleZeilen));
    db::Connection andereKopie;
    if (art == "running")
        QVERIFY(!andereKopie.open(env.dbPfad(), recordfile::passwordOf(recordfile::kVerbindung)));
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    env.meldungen.antworte({msg::Yes});
    QString gezeigt;
    bool frei = false, gelbeZeile = false, offen = false;
    env.modal.erwarte<FormAuswahl>([&](FormAuswahl& d) {
        env.modal.erwarte<FormRestore>([&](FormRestore& r) {
            r.Ordner->openFolder(ordner);
            gezeigt = r.Label2->text();
            frei = r.Command2->isEnabled();
            gelbeZeile = gelb(r.Label2);
            if (frei)
                r.Command2->click();
            offen = r.isVisible();
            if (offen)
                r.Command1->click();
        });
        d.Option2->setChecked(true);
        d.Command2->click();
    });
    env.app->formClavido().menu_ende->trigger();
    andereKopie.close();
    QCOMPARE(gezeigt, status);
    QCOMPARE(frei, angeboten);
    QCOMPARE(gelbeZeile, !angeboten);
    if (art == "running") {
        // Nothing replaced under the other copy; the user may end it and try again.
        QVERIFY(offen);
        QCOMPARE(
            env.meldungen.texte(),
            (QStringList{kZurueck, "Fehler 70:   Die Datenbankdatei ist in einem anderen laufenden "
                                   "lumoClavido geöffnet.\r\nBitte beenden Sie dieses zuerst und "
                                   "versuchen Sie es dann noch einmal.\r\n\r\nDie aktuelle "
                                   "Datenbankdatei bleibt unverändert."}));
        QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    } else if (angeboten) {
        QCOMPARE(env.meldungen.texte(),
                 (QStringList{kZurueck, "Die Datenbankdatei wurde in Ihren Datenordner "
                                        "zurückgeschrieben."}));
        QVERIFY(!sicherung::pruefen(env.dbPfad()));
        QCOMPARE(rawdb::lese(env.dbPfad()), rawdb::lese(kopie));
    } else {
        QVERIFY(env.meldungen.texte().isEmpty());
        QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    }
    if (art == "link") {
        // The link stays; the file it names holds the restored rows.
        QVERIFY(QFileInfo(env.dbPfad()).isSymLink());
        QCOMPARE(rawdb::lese(woanders.filePath("echt.mdb")), rawdb::lese(kopie));
        QCOMPARE(QDir(woanders.path()).entryList(QDir::Files), QStringList{"echt.mdb"});
    }
    QCOMPARE(QDir(env.ordner.path()).entryList(QDir::Files), QStringList{recordfile::kDateiName});
}

void TestSichern::damagedFileAtStartRepaired_data() {
    QTest::addColumn<int>("antwort");
    QTest::newRow("restored") << int(msg::Yes);
    QTest::newRow("declined") << int(msg::No);
}

void TestSichern::damagedFileAtStartRepaired() {
    QFETCH(int, antwort);
    Umgebung env;
    QTemporaryDir ziel;
    rawdb::schreibe(recordfile::pathIn(ziel.path()), {{"anna", "pw", "Bank", "Konto"}});
    schreibe(env.dbPfad(), QByteArray(8192, 'j'));
    const QByteArray kaputt = rawdb::dateiInhalt(env.dbPfad());
    env.meldungen.antworte({msg::Answer(antwort), msg::Yes});
    QString status;
    env.modal.erwarte<FormRestore>([&](FormRestore& r) {
        status = r.Label2->text();
        r.Ordner->openFolder(ziel.path());
        r.Command2->click();
    });
    env.app->formClavido().laden();
    const QString frage = env.meldungen.texte().value(0);
    QVERIFY2(frage.endsWith("kann nicht geöffnet werden: Sie ist beschädigt oder keine Datenbank "
                            "von lumoClavido.\r\n\r\nMöchten Sie eine gesicherte Datenbank wieder "
                            "herstellen?\r\nBei \u201ENein\u201C wird das Programm beendet, die "
                            "Datei bleibt unverändert."),
             qPrintable(frage));
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Critical | msg::YesNo));
    QVERIFY(env.beendet());
    if (antwort == msg::Yes) {
        QCOMPARE(status, kNichtGefunden);
        QVERIFY(!sicherung::pruefen(env.dbPfad()));
        QCOMPARE(env.lesen().size(), size_t(1));
        QCOMPARE(env.prozesse.gestartet.size(), 1);
    } else {
        QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), kaputt);
        QVERIFY(env.prozesse.gestartet.isEmpty());
        QVERIFY(env.modal.ungeplant.isEmpty());
        env.modal.schritte.clear();
    }
}

// What a backup or restore killed in the middle left goes at the next start
// (program folder) or the next copy into that folder; nothing else does.
void TestSichern::leftoversOfAKillRemoved() {
    struct Fall {
        QString name;
        const char* art;
        bool entfernt;
    };
    const auto eigen = db::temporaryName;
    const Fall faelle[] = {
        {eigen("Clavido61.mdb", 1), "file", true},
        {eigen("Clavido61.mdb", 2) + "-journal", "file", true},
        {eigen("Clavido61.mdb", 3), "file and journal", true},
        {eigen("Clavido61-Windows.mdb", 4), "file", true},
        {eigen("Clavido61.mdb", 5), "being written", false},
        {eigen("Clavido61.mdb", 6) + "-journal", "being written", false},
        {eigen("Clavido61.mdb", 7), "folder", false},
        {eigen("Clavido61.mdb", 8), "link", false},
        {eigen("Clavido61.mdb", 9).chopped(8) + "00000000", "file", false}, // no valid check
        {eigen("Clavido61.mdb", 10) + ".bak", "file", false},
        {"Clavido61.mdb.backup", "file", false},
        {"Clavido61.mdb.sicher", "file", false},
    };
    Umgebung env;
    QTemporaryDir ziel, woanders;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    schreibe(woanders.filePath("fremd"), "fremd");
    // Another copy of the program makes these right now.
    std::vector<std::unique_ptr<files::UseMark>> inArbeit;
    for (const QString& ordner : {env.ordner.path(), ziel.path()}) {
        for (const Fall& f : faelle) {
            const QString pfad = QDir(ordner).filePath(f.name), art = f.art;
            if (art == "folder")
                QVERIFY(QDir(ordner).mkdir(f.name));
            else if (art == "link")
                QVERIFY(QFile::link(woanders.filePath("fremd"), pfad));
            else
                schreibe(pfad, "halb");
            if (art == "file and journal")
                schreibe(pfad + "-journal", "halb");
            if (art == "being written") {
                const QString kopie = pfad.endsWith("-journal") ? pfad.chopped(8) : pfad;
                schreibe(kopie, "halb");
                inArbeit.push_back(std::make_unique<files::UseMark>());
                QCOMPARE(inArbeit.back()->take(kopie, false), files::UseMark::Held);
            }
        }
    }
    auto uebrig = [&](const QString& ordner) {
        QStringList namen;
        for (const Fall& f : faelle) {
            const QString pfad = QDir(ordner).filePath(f.name);
            if (QFileInfo::exists(pfad) || QFileInfo(pfad).isSymLink())
                namen << f.name;
            if (QString(f.art) == "file and journal" && QFileInfo::exists(pfad + "-journal"))
                namen << QString(f.name) + "-journal";
        }
        return namen;
    };
    QStringList bleiben;
    for (const Fall& f : faelle) {
        if (!f.entfernt)
            bleiben << f.name;
    }
    env.anmelden("anna", "pw");
    QCOMPARE(uebrig(env.ordner.path()), bleiben);
    QVERIFY(!sicherung::kopieren(env.dbPfad(), recordfile::pathIn(ziel.path())));
    QCOMPARE(uebrig(ziel.path()), bleiben);
    QCOMPARE(rawdb::dateiInhalt(woanders.filePath("fremd")), QByteArray("fremd"));
}

CLAVIDO_TEST_MAIN(TestSichern)
#include "test_sichern.moc"
