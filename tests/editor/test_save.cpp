#include "editor/form_daten.h"
#include "environment.h"
#include "form_helpers.h"
#include "fremdes_programm.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <sys/resource.h>

namespace {

struct Eingabe {
    QString kategorie, bezeichnung, konto, pin, zusatz, bemerkung;
    QString text10 = QStringLiteral("Konto-Nr / User- ID");
    QString text11 = QStringLiteral("PIN / Kennwort");
    QString text12 = QStringLiteral("URL");
};

void fuelle(FormDaten& d, const Eingabe& e) {
    d.Combo1->setEditText(e.kategorie);
    if (d.Text1->isEnabled())
        d.Text1->setText(e.bezeichnung);
    d.Text2->setText(e.konto);
    d.Text3->setText(e.pin);
    d.Text8->setText(e.zusatz);
    d.Text14->setPlainText(e.bemerkung);
    d.Text10->setText(e.text10);
    d.Text11->setText(e.text11);
    d.Text12->setText(e.text12);
}

// Opens the editor for a new entry, fills it and saves; `danach` sees the
// editor after the click if it is still open.
void neuerEintrag(Umgebung& env, const Eingabe& e, std::function<void(FormDaten&)> danach = {}) {
    env.modal.erwarte<FormDaten>([&env, e, danach](FormDaten& d) {
        fuelle(d, e);
        d.Command2->click();
        if (d.isVisible()) {
            if (danach)
                danach(d);
            d.Command1_Click();
        }
    });
    env.app->formClavido().menu_neu->trigger();
}

} // namespace

class TestSave : public QObject {
    Q_OBJECT
private slots:
    void writesTheRowAsOtherInstallationsReadIt();
    void duplicateDesignations_data();
    void duplicateDesignations();
    void confirmation_data();
    void confirmation();
    void newEntryInANewCategory();
    void editMovesTheEntryToItsNewCategory();
    void editKeepsWhatTheBoxesCouldNotTakeByTyping();
    void secretsTheCipherCannotCarry_data();
    void secretsTheCipherCannotCarry();
    void aFailedWriteKeepsTheEditorOpen_data();
    void aFailedWriteKeepsTheEditorOpen();
    void anotherCopyOnTheSameFile_data();
    void anotherCopyOnTheSameFile();
};

void TestSave::writesTheRowAsOtherInstallationsReadIt() {
    Umgebung env;
    env.zeilen({{"anna", "Geheim 1", "Bank", "Konto"}});
    env.anmelden("anna", "Geheim 1");
    env.app->sitzung.optSichern = QStringLiteral("0");
    env.meldungen.antworte({msg::Yes});
    Eingabe e{"Web",
              "Mail",
              "anna@example.org",
              "Passwört€",
              "https://mail.example",
              "privat\nzweite Zeile"};
    e.text12 = QStringLiteral("Adresse");
    neuerEintrag(env, e);
    QCOMPARE(env.meldungen.texte(), QStringList{"Möchten Sie diesen Datensatz jetzt speichern?"});
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Question | msg::YesNo));
    QCOMPARE(env.meldungen.meldungen[0].title, QStringLiteral("lumoClavido 6.1"));

    const auto rows = env.lesen();
    QCOMPARE(rows.size(), size_t(2));
    const RohZeile& r = rows[1];
    QCOMPARE(r.value("Bezeichnung").toString(), QStringLiteral("Mail"));
    QCOMPARE(r.value("Kategorie").toString(), QStringLiteral("Web"));
    QCOMPARE(r.value("Bemerkungen").toString(), QStringLiteral("privat\nzweite Zeile"));
    QCOMPARE(r.value("Bezeichnung1").toString(), QStringLiteral("Konto-Nr / User- ID"));
    QCOMPARE(r.value("Bezeichnung2").toString(), QStringLiteral("PIN / Kennwort"));
    QCOMPARE(r.value("Bezeichnung3").toString(), QStringLiteral("Adresse"));
    QCOMPARE(r.value("Benutzer").toString(), QStringLiteral("anna"));
    QCOMPARE(r.value("Sichern").toString(), QStringLiteral("0"));
    QCOMPARE(r.value("fragen").toString(), QStringLiteral("1"));
    QCOMPARE(r.value("übernommen").toString(), QString());
    QVERIFY(!r.value("übernommen").isNull());
    const qint64 rowid = r.value("rowid").toLongLong();
    // The enciphered columns hold exactly the cipher of what was typed.
    QCOMPARE(rawdb::bytes(env.dbPfad(), "Konto-Nr", rowid),
             verschluesseln("anna@example.org", kFeldSchluessel).toUtf8());
    QCOMPARE(rawdb::bytes(env.dbPfad(), "Pin", rowid),
             verschluesseln("Passwört€", kFeldSchluessel).toUtf8());
    QCOMPARE(rawdb::bytes(env.dbPfad(), "Zusatz", rowid),
             verschluesseln("https://mail.example", kFeldSchluessel).toUtf8());
    // Codes 9D CA D4 D0 BF D2 8C 9C: 0x9D is undefined in the code page and kept
    // as U+009D, 0x8C and 0x9C are "Œ" and "œ".
    QCOMPARE(rawdb::bytes(env.dbPfad(), "Passwort", rowid),
             QStringLiteral("\u009DÊÔÐ¿ÒŒœ").toUtf8());
    QCOMPARE(rows[1].value("Passwort").toString(), rows[0].value("Passwort").toString());
    QCOMPARE(env.app->sitzung.eingabeAktiv, qint16(0));
    QVERIFY(!env.app->formDaten().isVisible());
}

void TestSave::duplicateDesignations_data() {
    QTest::addColumn<QString>("bezeichnung");
    QTest::addColumn<bool>("abgelehnt");
    QTest::newRow("same, same case") << "Konto" << true;
    QTest::newRow("other case") << "konto" << false;
    QTest::newRow("other user's") << "Fremd" << false;
    QTest::newRow("trailing blank") << "Konto " << false;
}

void TestSave::duplicateDesignations() {
    QFETCH(QString, bezeichnung);
    QFETCH(bool, abgelehnt);
    Umgebung env;
    env.zeilen({{"bert", "pw", "Bank", "Fremd"}, {"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    env.meldungen.antworte({msg::Yes});
    QString text1Danach;
    bool speichernDanach = true;
    neuerEintrag(env, {"Bank", bezeichnung, "1", "2", "3", "4"}, [&](FormDaten& d) {
        text1Danach = d.Text1->text();
        speichernDanach = d.Command2->isEnabled();
    });
    if (abgelehnt) {
        QCOMPARE(
            env.meldungen.texte(),
            QStringList{"Diese Datensatz-Bezeichnung ist für den aktuellen Benutzer bereits "
                        "vorhanden!   \r\nBitte geben Sie eine andere Bezeichnug für den diesen "
                        "Datensatz ein!"});
        QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation));
        QCOMPARE(text1Danach, QString());
        QVERIFY(!speichernDanach);
        QCOMPARE(env.lesen().size(), size_t(2));
    } else {
        QCOMPARE(env.lesen().size(), size_t(3));
        QCOMPARE(env.lesen()[2].value("Bezeichnung").toString(), bezeichnung);
    }
}

void TestSave::confirmation_data() {
    QTest::addColumn<QString>("fragen");
    QTest::addColumn<int>("antwort");
    QTest::addColumn<bool>("gespeichert");
    QTest::newRow("no question") << "0" << 0 << true;
    QTest::newRow("asked, yes") << "1" << int(msg::Yes) << true;
    QTest::newRow("asked, no") << "1" << int(msg::No) << false;
}

void TestSave::confirmation() {
    QFETCH(QString, fragen);
    QFETCH(int, antwort);
    QFETCH(bool, gespeichert);
    Umgebung env;
    Eintrag anna{"anna", "pw", "Bank", "Konto"};
    anna.fragen = fragen;
    env.zeilen({anna});
    env.anmelden("anna", "pw");
    if (antwort)
        env.meldungen.antworte({msg::Answer(antwort)});
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    const Eingabe e{"Web", "Mail", "1", "2", "3", "4"};
    Eingabe danach;
    neuerEintrag(env, e, [&](FormDaten& d) {
        danach = {d.Combo1->currentText(), d.Text1->text(), d.Text2->text(),
                  d.Text3->text(),         d.Text8->text(), d.Text14->toPlainText()};
    });
    QCOMPARE(env.meldungen.meldungen.size(), fragen == "0" ? 0 : 1);
    QCOMPARE(env.lesen().size(), size_t(gespeichert ? 2 : 1));
    if (!gespeichert) {
        QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
        QCOMPARE(danach.kategorie + danach.bezeichnung + danach.konto + danach.pin + danach.zusatz +
                     danach.bemerkung,
                 QStringLiteral("WebMail1234"));
        // Nothing of the abandoned row lingers in the main window's view.
        FormClavido& f = env.app->formClavido();
        QCOMPARE(f.Daten1.Recordset().RecordCount(), 1);
        QCOMPARE(f.Daten1.Recordset().editMode(), db::Recordset::EditMode::None);
        QCOMPARE(f.Text6->text(), QStringLiteral("Konto"));
    } else {
        QCOMPARE(env.lesen()[1].value("fragen").toString(), fragen);
    }
}

void TestSave::newEntryInANewCategory() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"},
                {"anna", "pw", "Bank", "Depot"},
                {"anna", "pw", "Zeitung", "Abo"},
                {"bert", "pw", "Mail", "x"}});
    env.anmelden("anna", "pw");
    env.meldungen.antworte({msg::Yes});
    Eingabe e{"Mail", "Web.de", "k1", "p1", "z1", "b1"};
    e.text10 = QStringLiteral("Adresse");
    neuerEintrag(env, e);
    FormClavido& f = env.app->formClavido();
    QCOMPARE(listenEintraege(f.Combo2), (QStringList{"Bank", "Mail", "Zeitung"}));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("Mail"));
    QCOMPARE(listenEintraege(f.Combo1), QStringList{"Web.de"});
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("Web.de"));
    QCOMPARE(f.Text6->text(), QStringLiteral("Web.de"));
    QCOMPARE(f.Label6->text(), QStringLiteral("Adresse"));
    QCOMPARE(f.Text5->displayText(), QStringLiteral("**"));
    QCOMPARE(f.Label3->text(), QStringLiteral("1"));
    QCOMPARE(f.Label2->text(), QStringLiteral("4"));
    QVERIFY(f.Combo1->isEnabled());
    QVERIFY(f.Command5->isEnabled() && f.menu_edit->isEnabled() && f.menu_loeschen->isEnabled());
    QCOMPARE(f.Daten1.Recordset().Bookmark(), db::Mark(5));
    QCOMPARE(env.app->sitzung.letzteKategorie, QStringLiteral("Mail"));

    // A second one in an existing category: that category's list, new entry selected.
    env.meldungen.antworte({msg::Yes});
    neuerEintrag(env, {"Bank", "Bausparen", "k", "p", "z", "b"});
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("Bank"));
    QCOMPARE(listenEintraege(f.Combo1), (QStringList{"Bausparen", "Depot", "Konto"}));
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("Bausparen"));
    QCOMPARE(f.Label3->text(), QStringLiteral("3"));
    QCOMPARE(f.Label2->text(), QStringLiteral("5"));
}

void TestSave::editMovesTheEntryToItsNewCategory() {
    Umgebung env;
    Eintrag konto{"anna", "alt", "Bank", "Konto"};
    env.zeilen({{"anna", "alt", "Bank", "Depot"}, konto, {"anna", "alt", "Web", "Mail"}});
    rawdb::ausfuehren(env.dbPfad(),
                      QStringLiteral("UPDATE Haupt SET \"übernommen\" = '1' WHERE rowid = 2"));
    env.anmelden("anna", "alt");
    FormClavido& f = env.app->formClavido();
    f.eintragWaehlen(QStringLiteral("Konto"));
    klartextAnzeigen(f, "alt");
    env.app->sitzung.aktPasswort = QStringLiteral("neu"); // as after a change of password
    env.meldungen.antworte({msg::Yes});
    env.modal.erwarte<FormDaten>([](FormDaten& d) {
        d.Combo1->setEditText(QStringLiteral("Web"));
        d.Text3->setText(QStringLiteral("9999"));
        d.Command2->click();
    });
    f.menu_edit->trigger();
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("Web"));
    QCOMPARE(listenEintraege(f.Combo1), (QStringList{"Konto", "Mail"}));
    QCOMPARE(f.Text6->text(), QStringLiteral("Konto"));
    QCOMPARE(f.Text4->text(), QStringLiteral("9999"));
    QCOMPARE(f.Label3->text(), QStringLiteral("2"));
    QCOMPARE(f.Label2->text(), QStringLiteral("3"));
    QCOMPARE(f.Daten1.Recordset().Bookmark(), db::Mark(2));
    const auto rows = env.lesen();
    QCOMPARE(rows.size(), size_t(3));
    QCOMPARE(rows[1].value("Kategorie").toString(), QStringLiteral("Web"));
    QCOMPARE(rows[1].value("Pin").toString(), verschluesseln("9999", kFeldSchluessel));
    QCOMPARE(rows[1].value("Passwort").toString(), verschluesseln("neu", kFeldSchluessel));
    QCOMPARE(rows[1].value("übernommen").toString(), QStringLiteral("1"));
    QCOMPARE(rows[0].value("Passwort").toString(), verschluesseln("alt", kFeldSchluessel));

    // Editing again opens the same entry.
    QString wieder;
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        wieder = d.Text1->text() + u'|' + d.Text3->text();
        d.Command1_Click();
    });
    f.menu_edit->trigger();
    QCOMPARE(wieder, QStringLiteral("Konto|9999"));
}

void TestSave::editKeepsWhatTheBoxesCouldNotTakeByTyping() {
    // Rows of other installations may hold more than the boxes let a user type.
    Umgebung env;
    Eintrag lang{"anna", "pw", "Bank", QString(40, u'B')};
    lang.konto = QString(200, u'k');
    lang.zusatz = QString(160, u'z');
    lang.bemerkungen = QString(200, u'a') + QStringLiteral("\r\n") + QString(200, u'b');
    lang.bezeichnung1 = QString(70, u'L');
    env.zeilen({lang});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    klartextAnzeigen(f);
    const auto vorher = env.lesen();
    env.meldungen.antworte({msg::Yes});
    int getippt = 0;
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        d.Text3->setText(QStringLiteral("9999"));
        // Typing stays limited.
        d.Text2->end(false);
        d.Text2->insert(QStringLiteral("xyz"));
        d.Text14->moveCursor(QTextCursor::End);
        d.Text14->insertPlainText(QStringLiteral("xyz"));
        getippt = int(d.Text2->text().size() + d.Text14->text().size());
        d.Command2->click();
    });
    f.menu_edit->trigger();
    QCOMPARE(getippt, 200 + 402);
    const auto rows = env.lesen();
    QCOMPARE(rows.size(), size_t(1));
    for (const char* spalte :
         {"Bezeichnung", "Konto-Nr", "Zusatz", "Bemerkungen", "Bezeichnung1", "Kategorie"})
        QCOMPARE(rows[0].value(spalte), vorher[0].value(spalte));
    QCOMPARE(rows[0].value("Pin").toString(), verschluesseln("9999", kFeldSchluessel));
}

void TestSave::secretsTheCipherCannotCarry_data() {
    QTest::addColumn<int>("feld");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("ÿ in the first") << 0 << "Müllerÿ"
                                    << "Das Feld „Konto-Nr / User-ID“ enthält das Zeichen „ÿ“";
    QTest::newRow("ł in the second") << 1 << "Łódź"
                                     << "Das Feld „PIN / Kennwort“ enthält das Zeichen „Ł“";
    QTest::newRow("emoji in the third") << 2 << "x😀"
                                        << "Das Feld „URL“ enthält das Zeichen „😀“";
    QTest::newRow("€ is fine") << 1 << "100 €"
                               << "";
}

void TestSave::secretsTheCipherCannotCarry() {
    QFETCH(int, feld);
    QFETCH(QString, text);
    QFETCH(QString, meldung);
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    Eingabe e{"Bank", "Neu", "k", "p", "z", "b"};
    (feld == 0 ? e.konto : feld == 1 ? e.pin : e.zusatz) = text;
    env.meldungen.antworte({msg::Yes});
    QString danach;
    neuerEintrag(env, e, [&](FormDaten& d) {
        danach = QList<QLineEdit*>{d.Text2, d.Text3, d.Text8}[feld]->text();
    });
    if (meldung.isEmpty()) {
        QCOMPARE(env.lesen().size(), size_t(2));
        QCOMPARE(env.lesen()[1].value("Pin").toString(), verschluesseln(text, kFeldSchluessel));
        QCOMPARE(entschluesseln(env.lesen()[1].value("Pin").toString(), kFeldSchluessel), text);
    } else {
        QCOMPARE(env.meldungen.meldungen.size(), 1);
        QVERIFY2(env.meldungen.meldungen[0].text.startsWith(meldung),
                 qPrintable(env.meldungen.meldungen[0].text));
        QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation));
        QCOMPARE(danach, text);
        QCOMPARE(env.lesen().size(), size_t(1));
    }
}

void TestSave::aFailedWriteKeepsTheEditorOpen_data() {
    QTest::addColumn<bool>("groessenGrenze");
    QTest::addColumn<QString>("grund");
    QTest::newRow("read-only") << false << "Die Datenbankdatei ist schreibgeschützt.";
    // Under a file-size limit the write fails; the program must not end of it.
    QTest::newRow("file-size limit") << true << "Der Datenträger ist voll.";
}

void TestSave::aFailedWriteKeepsTheEditorOpen() {
    QFETCH(bool, groessenGrenze);
    QFETCH(QString, grund);
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}, {"anna", "pw", "Bank", "Depot"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    f.eintragWaehlen(QStringLiteral("Konto"));
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    rlimit grenze{};
    getrlimit(RLIMIT_FSIZE, &grenze);
    // The file can no longer be written, for the first click only.
    auto sperren = [&](bool an) {
        if (groessenGrenze) {
            rlimit neu = grenze;
            if (an)
                neu.rlim_cur = 0;
            setrlimit(RLIMIT_FSIZE, &neu);
        } else {
            env.app->verbindung.exec(an ? QStringLiteral("PRAGMA query_only = ON")
                                        : QStringLiteral("PRAGMA query_only = OFF"));
        }
    };
    env.meldungen.antworte({msg::Yes});
    QStringList danach;
    QByteArray nachFehler;
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        fuelle(d, {"Neu", "Eintrag", "1", "2", "3", "4"});
        sperren(true);
        d.Command2->click();
        sperren(false);
        nachFehler = rawdb::dateiInhalt(env.dbPfad());
        danach << d.Combo1->currentText() << d.Text1->text() << d.Text2->text()
               << (d.Command2->isEnabled() ? "frei" : "gesperrt")
               << (d.isVisible() ? "offen" : "zu");
        // Once the file can be written again, the same input is saved.
        env.meldungen.antworte({msg::Yes});
        d.Command2->click();
        danach << (d.isVisible() ? "offen" : "zu");
        if (d.isVisible())
            d.Command1_Click();
    });
    f.menu_neu->trigger();
    QVERIFY(!env.beendet());
    QCOMPARE(env.meldungen.meldungen.size(), 3);
    QCOMPARE(env.meldungen.meldungen[1].text,
             QStringLiteral("Der Datensatz konnte nicht gespeichert werden.\r\n") + grund +
                 QStringLiteral("\r\n\r\nIhre Eingaben bleiben in diesem Fenster erhalten."));
    QCOMPARE(danach, (QStringList{"Neu", "Eintrag", "1", "frei", "offen", "zu"}));
    QCOMPARE(nachFehler, vorher);
    const auto rows = env.lesen();
    QCOMPARE(rows.size(), size_t(3));
    QCOMPARE(rows[2].value("Bezeichnung").toString(), QStringLiteral("Eintrag"));
    QVERIFY(vorher != rawdb::dateiInhalt(env.dbPfad()));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("Neu"));
}

void TestSave::anotherCopyOnTheSameFile_data() {
    QTest::addColumn<QString>("fall");
    QTest::addColumn<QStringList>("meldungen"); // after the save question
    QTest::addColumn<QStringList>("bezeichnungen");
    const QString doppelt = QStringLiteral(
        "Diese Datensatz-Bezeichnung ist für den aktuellen Benutzer bereits vorhanden!   \r\n"
        "Bitte geben Sie eine andere Bezeichnug für den diesen Datensatz ein!");
    QTest::newRow("both save the same designation")
        << "same" << QStringList{doppelt} << QStringList{"Konto", "Dup"};
    QTest::newRow("saving in turn")
        << "turns" << QStringList{} << QStringList{"Konto", "A", "B", "C", "D"};
    QTest::newRow("the other writes while this one saves")
        << "locked" << QStringList{} << QStringList{"Konto", "Neu"};
    QTest::newRow("the other changed the edited row")
        << "edited"
        << QStringList{"Der Datensatz konnte nicht gespeichert werden.\r\nEr wurde inzwischen "
                       "von einem anderen Programm geändert oder gelöscht.\r\n\r\nBitte "
                       "schließen Sie dieses Fenster und öffnen Sie den Datensatz erneut."}
        << QStringList{"Konto"};
}

void TestSave::anotherCopyOnTheSameFile() {
    QFETCH(QString, fall);
    QFETCH(QStringList, meldungen);
    QFETCH(QStringList, bezeichnungen);
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    env.app->sitzung.optFragen = QStringLiteral("0");
    FormClavido& f = env.app->formClavido();
    auto fremd = [&](const QString& bezeichnung) {
        QVERIFY(anderesProgramm(
            env.dbPfad(), QStringLiteral("INSERT INTO Haupt (Bezeichnung, Benutzer, Kategorie) "
                                         "VALUES ('%1', 'anna', 'Bank')")
                              .arg(bezeichnung)));
    };
    if (fall == "same") {
        // The other copy saves "Dup" while this one still has the editor open.
        env.modal.erwarte<FormDaten>([&](FormDaten& d) {
            fuelle(d, {"Bank", "Dup", "1", "2", "3", "4"});
            fremd("Dup");
            d.Command2->click();
            d.Command1_Click();
        });
        f.menu_neu->trigger();
    } else if (fall == "turns") {
        fremd("A");
        neuerEintrag(env, {"Bank", "B", "1", "2", "3", "4"});
        fremd("C");
        neuerEintrag(env, {"Bank", "D", "1", "2", "3", "4"});
        QCOMPARE(listenEintraege(f.Combo1), (QStringList{"A", "B", "C", "D", "Konto"}));
    } else if (fall == "locked") {
        env.modal.erwarte<FormDaten>([&](FormDaten& d) {
            fuelle(d, {"Bank", "Neu", "1", "2", "3", "4"});
            FremdeSperre sperre(env.dbPfad(), 700);
            QVERIFY(sperre.gehalten);
            d.Command2->click(); // waits for the lock instead of failing
        });
        f.menu_neu->trigger();
    } else {
        klartextAnzeigen(f);
        env.modal.erwarte<FormDaten>([&](FormDaten& d) {
            d.Text3->setText(QStringLiteral("9999"));
            QVERIFY(anderesProgramm(env.dbPfad(), QStringLiteral("UPDATE Haupt SET Bemerkungen = "
                                                                 "'vom anderen' WHERE rowid = 1")));
            d.Command2->click();
            d.Command1_Click();
        });
        f.menu_edit->trigger();
        QCOMPARE(env.lesen()[0].value("Bemerkungen").toString(), QStringLiteral("vom anderen"));
        QCOMPARE(env.lesen()[0].value("Pin").toString(), verschluesseln("p", kFeldSchluessel));
    }
    QCOMPARE(env.meldungen.texte(), meldungen);
    QStringList imFile;
    for (const RohZeile& r : env.lesen())
        imFile << r.value("Bezeichnung").toString();
    QCOMPARE(imFile, bezeichnungen);
}

CLAVIDO_TEST_MAIN(TestSave)
#include "test_save.moc"
