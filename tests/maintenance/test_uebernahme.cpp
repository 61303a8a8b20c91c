#include "dateigrenze.h"
#include "environment.h"
#include "form_helpers.h"
#include "fremdes_programm.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_uebernahme.h"
#include "platform/folder_chooser.h"
#include "store/record_file.h"
#include "windows_dateien.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <sqlcipher/sqlite3.h>
#include <unistd.h>

#include <future>

namespace {

const QString kTitel = QStringLiteral("Datenübernahme lumoClavido 6.1");
const QString kFrage = QStringLiteral("Möchten Sie jetzt die Datenübernahme starten?");

// anna (signed in, two categories) and bert share the current table; `sql`
// runs on it before the sign-in.
void anmelden(Umgebung& env, const QString& sql = {}) {
    env.zeilen({{"anna", "pw", "Bank", "Konto"},
                {"bert", "b", "Bank", "Mail"},
                {"anna", "pw", "Web", "Post"}});
    if (!sql.isEmpty())
        rawdb::ausfuehren(env.dbPfad(), sql);
    env.anmelden("anna", "pw");
}

// Old rows "benutzer/bezeichnung", with secrets the cipher turns into high bytes.
std::vector<Eintrag> alteEintraege(const QStringList& zeilen) {
    std::vector<Eintrag> rows;
    for (const QString& zeile : zeilen) {
        Eintrag e{zeile.section(u'/', 0, 0), "alt-" + zeile.section(u'/', 0, 0), "Alt",
                  zeile.section(u'/', 1)};
        e.konto = QStringLiteral("Kto äöü € 0815");
        e.pin = QStringLiteral("4711 \"'");
        e.zusatz = QStringLiteral("https://bank.example/ß");
        e.sichern = QStringLiteral("0");
        e.fragen = QStringLiteral("0");
        rows.push_back(e);
    }
    return rows;
}

// A file of version 4.1: no categories and neither of the two settings.
void altDatei41(const QString& pfad, const std::vector<Eintrag>& rows) {
    rawdb::schreibe(pfad, rows);
    rawdb::ausfuehren(pfad, QStringLiteral("ALTER TABLE Haupt DROP COLUMN Kategorie; "
                                           "ALTER TABLE Haupt DROP COLUMN fragen; "
                                           "ALTER TABLE Haupt DROP COLUMN Sichern; "
                                           "ALTER TABLE Haupt DROP COLUMN \"übernommen\""));
}

// Opens the import, chooses `datei` in `ordner` and starts it, with the
// files limited to `grenze` bytes meanwhile if it is given.
void importieren(Umgebung& env, const QString& ordner, const QString& datei,
                 bool doppelklick = false, qint64 grenze = -1) {
    env.modal.erwarte<FormÜbernahme>([=](FormÜbernahme& d) {
        QVERIFY(d.Ordner->openFolder(ordner));
        const auto treffer = d.File1->findItems(datei, Qt::MatchExactly);
        QCOMPARE(treffer.size(), 1);
        treffer.first()->setSelected(true);
        Dateigrenze voll(grenze >= 0, grenze);
        if (doppelklick)
            emit d.File1->itemDoubleClicked(treffer.first());
        else
            d.Command2->click();
        if (d.isVisible())
            d.Command1->click();
    });
    env.app->formClavido().menu_datenübernehmen->trigger();
    QVERIFY(env.modal.alleErledigt());
}

} // namespace

class TestUebernahme : public QObject {
    Q_OBJECT
private slots:
    void dialog();
    void takesOverEveryRow_data();
    void takesOverEveryRow();
    void takesOverTheWindowsFiles_data();
    void takesOverTheWindowsFiles();
    void leavesTheTableAsItWas_data();
    void leavesTheTableAsItWas();
    void anotherCopySavesMeanwhile();
};

void TestUebernahme::dialog() {
    Umgebung env;
    anmelden(env);
    QTemporaryDir alt;
    for (const char* name : {"Clavido41.mdb", "Clavido6.mdb", "clavido6.mdb", "CLAVIDO50.MDB",
                             "Clavido61.mdb", "Clavido7.mdb", "alt.mdb"})
        rawdb::schreibe(alt.filePath(name), {});
    QVERIFY(QDir(alt.path()).mkdir("Clavido51.mdb"));
    QStringList texte, liste;
    QList<bool> frei;
    env.modal.erwarte<FormÜbernahme>([&](FormÜbernahme& d) {
        texte << d.Label1->text() << d.Frame1->title() << d.Command2->text() << d.Command3->text()
              << d.Command1->text();
        QVERIFY(d.Frame1->isAncestorOf(d.Drive1) && d.Frame1->isAncestorOf(d.Dir1) &&
                d.Frame1->isAncestorOf(d.File1));
        frei << d.Command2->isEnabled();
        QVERIFY(d.Ordner->openFolder(alt.path()));
        for (int i = 0; i < d.File1->count(); ++i)
            liste << d.File1->item(i)->text();
        d.File1->item(1)->setSelected(true);
        texte << d.Text1->text() << env.app->sitzung.sicherungsPfad;
        frei << d.Command2->isEnabled();
        d.Command3->click();
        d.Ordner->pathBox()->setText(alt.filePath("fehlt"));
        QTest::keyClick(d.Ordner->pathBox(), Qt::Key_Return);
        d.Command1->click();
    });
    env.app->formClavido().menu_datenübernehmen->trigger();
    // Opened again, nothing is chosen.
    env.modal.erwarte<FormÜbernahme>([&](FormÜbernahme& d) {
        texte << d.Text1->text();
        frei << d.Command2->isEnabled();
        d.Command1->click();
    });
    env.app->formClavido().menu_datenübernehmen->trigger();
    QVERIFY(env.modal.alleErledigt());

    QCOMPARE(texte, (QStringList{"Datenübernahme",
                                 " Bitte Datenbankdatei mit den zu übernehmenden Daten auswählen ",
                                 "Starten...", "?", "&Schließen", "Clavido6.mdb",
                                 alt.filePath("Clavido6.mdb"), ""}));
    QCOMPARE(liste, (QStringList{"Clavido41.mdb", "Clavido6.mdb"}));
    QCOMPARE(frei, (QList<bool>{false, true, false}));
    QCOMPARE(env.meldungen.texte(),
             (QStringList{
                 "Hinweis:\r\n\r\nSie können hier das Laufwerk und den Ordner mit der "
                 "Datenbankdatei       \r\nauswählen. Ist in dem Ordner eine zugelassene "
                 "Datenbankdatei vorhanden,\r\nwird diese im rechten Dateilistenfeld angezeigt."
                 "\r\nWählen Sie diese Datei durch anklicken aus und betätigen Sie dann den\r\n"
                 "Schalter \"Starten...\"\r\nDer Übernahmevorgang wird nach einer Rückfrage "
                 "gestartet und nach einer\r\n kurzen Zeit steht Ihnen der alte Datenbestand "
                 "wieder zur Verfügung.\r\nEs werden sämtliche Daten aller Benutzer übernommen!"
                 "\r\n\r\nWenn einer der Benutzer noch einmal versucht, die alten Daten zu "
                 "übernehmen,     \r\nwird eine entsprechende Meldung angezeigt und die Funktion "
                 "abgebrochen.\r\n",
                 "Fehler 76:   Pfad nicht gefunden"}));
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Information));
    QCOMPARE(env.meldungen.meldungen[1].style, int(msg::Exclamation));
    for (const Meldung& m : env.meldungen.meldungen)
        QCOMPARE(m.title, QStringLiteral("lumoClavido 6.1"));
}

void TestUebernahme::takesOverEveryRow_data() {
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QStringList>("alt");       // benutzer/bezeichnung
    QTest::addColumn<QStringList>("neu");       // the designations stored
    QTest::addColumn<bool>("fragen");           // optFragen "1"
    QTest::addColumn<QStringList>("eintraege"); // anna's entry list afterwards
    QTest::addColumn<QString>("gesamt");        // Label2 afterwards
    QTest::newRow("the same designation twice")
        << "Clavido50.mdb" << QStringList{"carl/Depot", "anna/Depot"}
        << QStringList{"Depot", "Depot  --2"} << true << QStringList{"Depot  --2", "Konto", "Post"}
        << "3";
    QTest::newRow("another user's designation")
        << "Clavido51.mdb" << QStringList{"anna/Mail"} << QStringList{"Mail  --2"} << true
        << QStringList{"Konto", "Mail  --2", "Post"} << "3";
    QTest::newRow("the suffix is always the same")
        << "Clavido6.mdb" << QStringList{"anna/Konto", "anna/Konto", "anna/konto"}
        << QStringList{"Konto  --2", "Konto  --2", "konto"} << true
        << QStringList{"Konto", "konto", "Konto  --2", "Konto  --2", "Post"} << "5";
    // Version 4.1 leaves the count of the user's entries as it was.
    QTest::newRow("version 4.1") << "Clavido41.mdb" << QStringList{"anna/Sparbuch", "dora/Konto"}
                                 << QStringList{"Sparbuch", "Konto  --2"} << true
                                 << QStringList{"Konto", "Post", "Sparbuch"} << "2";
    QTest::newRow("without the question, by double click")
        << "Clavido50.mdb" << QStringList{"anna/Neu"} << QStringList{"Neu"} << false
        << QStringList{"Konto", "Neu", "Post"} << "3";
}

void TestUebernahme::takesOverEveryRow() {
    QFETCH(QString, datei);
    QFETCH(QStringList, alt);
    QFETCH(QStringList, neu);
    QFETCH(bool, fragen);
    QFETCH(QStringList, eintraege);
    QFETCH(QString, gesamt);
    const bool v41 = datei == "Clavido41.mdb";
    Umgebung env;
    anmelden(env);
    QTemporaryDir ordner;
    const QString altPfad = ordner.filePath(datei);
    if (v41)
        altDatei41(altPfad, alteEintraege(alt));
    else
        rawdb::schreibe(altPfad, alteEintraege(alt));
    const auto vorher = env.lesen();
    if (fragen)
        env.meldungen.antworte({msg::Yes});
    else
        env.app->sitzung.optFragen = "0";
    importieren(env, ordner.path(), datei, !fragen);

    const QString erfolg = v41 ? "Die Daten aus lumoClavido 4.1 wurden erfolgreich übernommen!"
                               : "Die Daten aus lumoClavido 5/6.x wurden erfolgreich übernommen!";
    const QStringList texte = fragen ? QStringList{kFrage, erfolg} : QStringList{erfolg};
    QCOMPARE(env.meldungen.texte(), texte);
    QCOMPARE(env.meldungen.meldungen.last().style, int(msg::Information));
    if (fragen)
        QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Question | msg::YesNo));
    for (const Meldung& m : env.meldungen.meldungen)
        QCOMPARE(m.title, kTitel);

    const auto rows = env.lesen();
    QCOMPARE(rows.size(), vorher.size() + alt.size());
    QCOMPARE(rawdb::spalte(rows, "übernommen"), QStringList(rows.size(), "1"));
    for (size_t i = 0; i < vorher.size(); ++i) {
        RohZeile erwartet = vorher[i];
        erwartet["übernommen"] = QStringLiteral("1");
        QCOMPARE(rows[i], erwartet);
    }
    const auto alteZeilen = rawdb::lese(altPfad);
    for (int i = 0; i < alt.size(); ++i) {
        const RohZeile& r = rows[vorher.size() + i];
        const RohZeile& a = alteZeilen[i];
        QCOMPARE(r.value("Bezeichnung").toString(), neu[i]);
        QCOMPARE(r.value("Benutzer"), a.value("Benutzer"));
        QCOMPARE(r.value("Kategorie").toString(), v41 ? "Standard-Kategorie" : "Alt");
        QCOMPARE(r.value("fragen").toString(), QStringLiteral("1"));
        // What the old table lacks stays empty.
        QCOMPARE(r.value("Sichern"), v41 ? QVariant() : QVariant("0"));
        for (const char* s : {"Bemerkungen", "Bezeichnung1", "Bezeichnung2", "Bezeichnung3"})
            QCOMPARE(r.value(s), a.value(s));
        for (const char* s : {"Konto-Nr", "Pin", "Zusatz", "Passwort"})
            QCOMPARE(rawdb::bytes(env.dbPfad(), s, r.value("rowid").toLongLong()),
                     rawdb::bytes(altPfad, s, a.value("rowid").toLongLong()));
    }

    FormClavido& f = env.app->formClavido();
    QCOMPARE(listenEintraege(f.Combo1), eintraege);
    QCOMPARE(f.Combo1->currentText(), eintraege.first());
    QCOMPARE(f.Text6->text(), eintraege.first());
    QCOMPARE(f.Label3->text(), QString::number(eintraege.size()));
    QCOMPARE(f.Label2->text(), gesamt);
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), eintraege.first());
    QCOMPARE(env.app->sitzung.optUebernommen, QStringLiteral("1"));
    QVERIFY(!env.app->formUebernahme().isVisible());
}

void TestUebernahme::takesOverTheWindowsFiles_data() {
    QTest::addColumn<QString>("datei"); // in tests/data/access
    QTest::addColumn<QString>("als");   // the name it is chosen by
    QTest::addColumn<QString>("werte"); // the file whose values it holds
    QTest::newRow("5.x/6.x") << "Clavido6.mdb"
                             << "Clavido6.mdb"
                             << "Clavido6.mdb";
    QTest::newRow("unicode compression") << "Clavido51.mdb"
                                         << "Clavido51.mdb"
                                         << "Clavido51.mdb";
    QTest::newRow("4.1") << "Clavido41.mdb"
                         << "Clavido41.mdb"
                         << "Clavido41.mdb";
    QTest::newRow("Windows 6.1") << "Clavido61.mdb"
                                 << "Clavido61.mdb"
                                 << "Clavido61.mdb";
    QTest::newRow("no password") << "ohne-passwort.mdb"
                                 << "Clavido50.mdb"
                                 << "Clavido61.mdb";
    QTest::newRow("Access 97, 4.1") << "jet3/Clavido41.mdb"
                                    << "Clavido41.mdb"
                                    << "jet3/Clavido41.mdb";
    QTest::newRow("Access 97, 5.x/6.x") << "jet3/Clavido6.mdb"
                                        << "Clavido6.mdb"
                                        << "jet3/Clavido6.mdb";
}

// The rows in the file are what the rules make of the stored values: every
// column as stored, the suffix for a designation already there, the category
// and settings of the version, every row marked.
void TestUebernahme::takesOverTheWindowsFiles() {
    QFETCH(QString, datei);
    QFETCH(QString, als);
    QFETCH(QString, werte);
    Umgebung env;
    anmelden(env, "INSERT INTO Haupt (Bezeichnung, Kategorie, Benutzer) "
                  "VALUES ('Girokonto', 'Bank', 'carl')");
    QTemporaryDir ordner;
    const QString altPfad = windowsdateien::kopieren(datei, ordner.path(), als);
    const QByteArray alt = rawdb::dateiInhalt(altPfad);
    const auto vorher = env.lesen();
    env.meldungen.antworte({msg::Yes});
    importieren(env, ordner.path(), als);

    const bool v41 = als == "Clavido41.mdb";
    QCOMPARE(env.meldungen.texte().last(),
             v41 ? "Die Daten aus lumoClavido 4.1 wurden erfolgreich übernommen!"
                 : "Die Daten aus lumoClavido 5/6.x wurden erfolgreich übernommen!");
    QSet<QString> vergeben;
    for (const RohZeile& r : vorher)
        vergeben.insert(r.value("Bezeichnung").toString());
    std::vector<QMap<QString, QString>> erwartet;
    for (const windowsdateien::Zeile& a : windowsdateien::zeilen(werte)) {
        QMap<QString, QString> z;
        for (const char* s : {"Konto-Nr", "Pin", "Zusatz", "Bezeichnung1", "Bezeichnung2",
                              "Bezeichnung3", "Bemerkungen", "Benutzer", "Passwort", "Sichern"})
            z[s] = a.value(s);
        QString bezeichnung = a.value("Bezeichnung");
        if (vergeben.contains(bezeichnung))
            bezeichnung += "  --2";
        vergeben.insert(bezeichnung);
        z["Bezeichnung"] = bezeichnung;
        z["Kategorie"] = v41 ? "Standard-Kategorie" : a.value("Kategorie");
        z["fragen"] = z["übernommen"] = "1";
        erwartet.push_back(z);
    }
    const auto zeilen = env.lesen();
    QCOMPARE(zeilen.size(), vorher.size() + erwartet.size());
    for (size_t i = 0; i < erwartet.size(); ++i) {
        const RohZeile& r = zeilen[vorher.size() + i];
        for (auto it = erwartet[i].begin(); it != erwartet[i].end(); ++it)
            QVERIFY2(r.value(it.key()).toString() == it.value(),
                     qPrintable(QStringLiteral("row %1, %2").arg(i).arg(it.key())));
    }
    QCOMPARE(rawdb::dateiInhalt(altPfad), alt);
}

void TestUebernahme::leavesTheTableAsItWas_data() {
    QTest::addColumn<QString>("fall");
    QTest::addColumn<QString>("meldung"); // %1: the old file
    const QString unlesbar = "Die Datei\r\n%1\r\nkann nicht gelesen werden: Sie ist beschädigt, "
                             "mit einem anderen Kennwort geschützt oder keine Datenbank von "
                             "lumoClavido.\r\n\r\nEs wurden keine Daten übernommen.";
    const QString dieselbe = "Die Datei\r\n%1\r\nist die Datenbankdatei, mit der lumoClavido "
                             "gerade arbeitet, unter einem anderen Namen.\r\nBitte wählen Sie die "
                             "Datenbankdatei einer älteren Version.\r\n\r\nEs wurden keine Daten "
                             "übernommen.";
    const QString bereits = "Die Daten wurden bereits übernommen!     ";
    QTest::newRow("taken over before") << "schon" << bereits;
    QTest::newRow("second import in one run") << "zweimal" << bereits;
    QTest::newRow("question answered no") << "nein" << kFrage;
    QTest::newRow("another password") << "kennwort" << unlesbar;
    QTest::newRow("no database") << "text" << unlesbar;
    QTest::newRow("damaged inside") << "beschaedigt" << unlesbar;
    QTest::newRow("Windows file of another password") << "windows fremd" << unlesbar;
    QTest::newRow("Windows file cut short") << "windows kurz" << unlesbar;
    QTest::newRow("Windows file, damaged pages") << "windows seiten" << unlesbar;
    QTest::newRow("no table Haupt in a Windows file")
        << "windows tabelle"
        << "Die Datei\r\n%1\r\nenthält keine Einträge von lumoClavido (keine Tabelle "
           "\u201EHaupt\u201C mit Bezeichnungen und Benutzern).\r\n\r\nEs wurden keine Daten "
           "übernommen.";
    QTest::newRow("no table Haupt")
        << "tabelle"
        << "Die Datei\r\n%1\r\nenthält keine Einträge von lumoClavido (keine Tabelle "
           "\u201EHaupt\u201C mit Bezeichnungen und Benutzern).\r\n\r\nEs wurden keine Daten "
           "übernommen.";
    QTest::newRow("hard link to the current file") << "hart" << dieselbe;
    QTest::newRow("symbolic link to the current file") << "symbolisch" << dieselbe;
    QTest::newRow("failure in the middle")
        << "abbruch"
        << "Die Daten konnten nicht übernommen werden.\r\nDatenbankfehler 19.\r\n\r\n"
           "Es wurde nichts geändert.";
    const QString voll = "Die Daten konnten nicht übernommen werden.\r\nDer Datenträger ist "
                         "voll.\r\n\r\nEs wurde nichts geändert.";
    QTest::newRow("disk full") << "voll" << voll;
    // The journal still fits, the file cannot take the new rows: its pages
    // already written are put back from the journal, enciphered anew.
    QTest::newRow("disk full while the file grows") << "waechst" << voll;
}

void TestUebernahme::leavesTheTableAsItWas() {
    QFETCH(QString, fall);
    QFETCH(QString, meldung);
    Umgebung env;
    QTemporaryDir ordner;
    const QString datei = fall == "symbolisch" ? "Clavido51.mdb" : "Clavido50.mdb";
    const QString altPfad = ordner.filePath(datei);
    const auto alte = alteEintraege({"anna/Alt 1", "bert/Alt 2", "anna/Alt 3", "carl/Alt 4"});
    if (fall == "schon")
        anmelden(env, "UPDATE Haupt SET \"übernommen\" = '1'");
    else if (fall == "abbruch") // the third old row cannot be written
        anmelden(env, "CREATE TRIGGER voll BEFORE INSERT ON Haupt WHEN (SELECT count(*) FROM "
                      "Haupt) >= 5 BEGIN SELECT RAISE(ABORT, 'voll'); END");
    else
        anmelden(env);
    if (fall == "kennwort") {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(altPfad).constData(), &db);
        sqlite3_key(db, "anders", 6);
        sqlite3_exec(db, recordfile::createStatement().toUtf8().constData(), nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    } else if (fall == "text") {
        QFile f(altPfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Bezeichnung;Benutzer\r\nKonto;anna\r\n");
    } else if (fall == "beschaedigt" || fall == "waechst") {
        std::vector<Eintrag> viele;
        for (int i = 0; i < 300; ++i)
            viele.push_back({"anna", "pw", "Bank", QString::number(i)});
        for (Eintrag& e : viele)
            e.bemerkungen = QString(200, u'x');
        rawdb::schreibe(altPfad, viele);
        QFile f(altPfad);
        if (fall == "beschaedigt" && f.open(QIODevice::ReadWrite)) {
            f.seek(f.size() / 2);
            f.write(QByteArray(64, '\x5a'));
        }
    } else if (fall.startsWith("windows")) {
        windowsdateien::kopieren(fall.endsWith("fremd") ? "fremd-passwort.mdb" : "Clavido6.mdb",
                                 ordner.path(), datei);
        QFile f(altPfad);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        if (fall.endsWith("kurz"))
            bytes.truncate(bytes.size() / 2 / 4096 * 4096);
        // The pages of rows scrambled after their header; the catalog's name of
        // the table no longer Haupt.
        for (qsizetype seite = 0; fall.endsWith("seiten") && seite < bytes.size(); seite += 4096) {
            if (bytes[seite] == 1)
                for (int i = 14; i < 4096; i += 3)
                    bytes[seite + i] = char(bytes[seite + i] ^ 0x5a);
        }
        if (fall.endsWith("tabelle"))
            bytes[bytes.indexOf(QByteArray("H\0a\0u\0p\0t\0", 10))] = 'X';
        QVERIFY(f.resize(0) && f.seek(0) && f.write(bytes) == bytes.size());
    } else if (fall == "tabelle") {
        rawdb::ausfuehren(altPfad, "CREATE TABLE Liste (Bezeichnung TEXT, Benutzer TEXT)");
    } else if (fall == "hart") {
        QCOMPARE(::link(QFile::encodeName(env.dbPfad()), QFile::encodeName(altPfad)), 0);
    } else if (fall == "symbolisch") {
        QVERIFY(QFile::link(env.dbPfad(), altPfad));
    } else {
        rawdb::schreibe(altPfad, alte);
    }
    if (fall == "zweimal") {
        env.meldungen.antworte({msg::Yes});
        importieren(env, ordner.path(), datei);
        QCOMPARE(env.meldungen.meldungen.size(), 2);
        env.meldungen.meldungen.clear();
    }

    FormClavido& f = env.app->formClavido();
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    const auto zeilen = env.lesen();
    const QStringList liste = listenEintraege(f.Combo1);
    const QString uebernommen = env.app->sitzung.optUebernommen;
    env.meldungen.antworte({fall == "nein" ? msg::No : msg::Yes});
    const qint64 grenze = fall == "voll"      ? 0
                          : fall == "waechst" ? QFileInfo(env.dbPfad()).size() + 8192
                                              : -1;
    importieren(env, ordner.path(), datei, false, grenze);

    QCOMPARE(env.meldungen.texte().last(), QString(meldung).replace("%1", altPfad));
    QCOMPARE(env.meldungen.meldungen.last().title,
             fall == "schon" || fall == "zweimal" ? "lumoClavido 6.1" : kTitel);
    if (fall != "nein")
        QCOMPARE(env.meldungen.meldungen.last().style, int(msg::Exclamation));
    if (fall == "waechst")
        QCOMPARE(env.lesen(), zeilen);
    else
        QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    QCOMPARE(listenEintraege(f.Combo1), liste);
    QCOMPARE(env.app->sitzung.optUebernommen, uebernommen);
    // The main window works on what the file holds, on the entry it shows.
    QCOMPARE(f.Daten1.Recordset().RecordCount(), int(env.lesen().size()));
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), f.Text6->text());
    QCOMPARE(f.Daten1.Recordset().Fields("Benutzer").Value(), QStringLiteral("anna"));
}

// Another copy saves entry after entry, as the program does, while this one
// imports: each of its rows is there afterwards, marked when it was saved
// before the import's transaction and not when after, never between the
// imported rows.
void TestUebernahme::anotherCopySavesMeanwhile() {
    Umgebung env;
    anmelden(env);
    QTemporaryDir ordner;
    rawdb::schreibe(ordner.filePath("Clavido6.mdb"),
                    alteEintraege({"anna/Alt 1", "bert/Alt 2", "anna/Alt 3", "carl/Alt 4"}));
    // With a pause after each save, as a user makes, that holds no lock.
    QStringList speichern{"PRAGMA busy_timeout = 10000"};
    for (int i = 0; i < 50; ++i)
        speichern << QStringLiteral("BEGIN IMMEDIATE; INSERT INTO Haupt (Bezeichnung, Kategorie, "
                                    "Benutzer) VALUES ('Neu %1', 'Bank', 'dora'); COMMIT; "
                                    "SELECT count(*) FROM (WITH RECURSIVE n(i) AS (SELECT 1 UNION "
                                    "ALL SELECT i + 1 FROM n WHERE i < 100000) SELECT i FROM n)")
                         .arg(i);
    auto anderes =
        std::async(std::launch::async, anderesProgramm, env.dbPfad(), speichern.join("; "));
    // The import starts once the other copy is in the middle of its saves.
    auto gespeichert = [&] {
        int n = 0;
        env.app->verbindung.queryColumn("SELECT count(*) FROM Haupt WHERE Benutzer = 'dora'",
                                        [&](const QString& zahl) { n = zahl.toInt(); });
        return n;
    };
    QTRY_VERIFY_WITH_TIMEOUT(gespeichert() > 0, 10000);
    env.meldungen.antworte({msg::Yes});
    importieren(env, ordner.path(), "Clavido6.mdb");
    QVERIFY(anderes.get());
    QCOMPARE(env.meldungen.texte().last(),
             QStringLiteral("Die Daten aus lumoClavido 5/6.x wurden erfolgreich übernommen!"));

    QStringList importiert, neu, vorher;
    qint64 erstes = -1;
    int markiertVorher = 0;
    for (const RohZeile& r : env.lesen()) {
        const QString bezeichnung = r.value("Bezeichnung").toString();
        const QString mark = r.value("übernommen").toString();
        const qint64 rowid = r.value("rowid").toLongLong();
        if (bezeichnung.startsWith("Alt ")) {
            importiert << bezeichnung + u'/' + mark;
            if (erstes < 0)
                erstes = rowid;
            QCOMPARE(rowid, erstes + importiert.size() - 1);
        } else if (bezeichnung.startsWith("Neu ")) {
            neu << bezeichnung;
            QCOMPARE(mark, erstes < 0 ? QStringLiteral("1") : QString());
            markiertVorher += erstes < 0;
        } else {
            vorher << bezeichnung + u'/' + mark;
        }
    }
    QCOMPARE(importiert, (QStringList{"Alt 1/1", "Alt 2/1", "Alt 3/1", "Alt 4/1"}));
    QCOMPARE(vorher, (QStringList{"Konto/1", "Mail/1", "Post/1"}));
    QStringList alle;
    for (int i = 0; i < 50; ++i)
        alle << QStringLiteral("Neu %1").arg(i);
    QCOMPARE(neu, alle);
    qInfo("%d of the other copy's rows saved before the import, %d after", markiertVorher,
          int(alle.size()) - markiertVorher);
}

CLAVIDO_TEST_MAIN(TestUebernahme)
#include "test_uebernahme.moc"
