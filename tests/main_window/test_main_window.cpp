#include "app/form_haftung.h"
#include "editor/form_daten.h"
#include "environment.h"
#include "form_helpers.h"
#include "login/pwform.h"
#include "login/pwfrage.h"
#include "login/pwstartform.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_einstellungen.h"
#include "maintenance/form_uebernahme.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// The commands the load disables for a user without entries.
QList<bool> eintragsBefehle(FormClavido& f) {
    return {f.Command3->isEnabled(),     f.Command5->isEnabled(),  f.Command13->isEnabled(),
            f.menu_drucken->isEnabled(), f.menu_edit->isEnabled(), f.menu_loeschen->isEnabled()};
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void showsTheFirstCategoryAndEntry();
    void choosingACategoryAndAnEntry();
    void sameDesignationShowsTheFirstRow();
    void emptyDesignationFirstDisablesCommands();
    void userWithoutEntriesGetsNoEntryCommands_data();
    void userWithoutEntriesGetsNoEntryCommands();
    void readsTheSettingsOfTheUsersRow();
    void menuAndButtonRow();
    void everyCommandReachesItsHandler_data();
    void everyCommandReachesItsHandler();
    void newSignInStartsTheProgramAgain_data();
    void newSignInStartsTheProgramAgain();
    void theShownEntryDeletedByAnotherCopy_data();
    void theShownEntryDeletedByAnotherCopy();
    void anotherCopysWritesShownOnReturn();
};

namespace {

// The user goes to another window and comes back to this one.
void zurueck(QWidget& fenster) {
    QWidget anderes;
    anderes.show();
    QApplication::setActiveWindow(&anderes);
    QApplication::setActiveWindow(&fenster);
}

} // namespace

void TestMainWindow::showsTheFirstCategoryAndEntry() {
    Umgebung env;
    Eintrag b{"anna", "pw", "web", "Zeitung"};
    b.konto = QStringLiteral("12345678");
    b.bezeichnung1 = QStringLiteral("<b>Kundennummer</b>"); // text, not markup
    b.bezeichnung3 = QString();
    b.bemerkungen = QStringLiteral("Abo seit 2019");
    env.zeilen({{"bert", "x", "Auto", "Bert1"},
                {"anna", "pw", "web", "Yahoo"},
                {"anna", "pw", "Zahlung", "Visa"},
                b,
                {"anna", "pw", "Bank", "Sparkasse"},
                {"anna", "pw", "Bank", "apotheke"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    QCOMPARE(listenEintraege(f.Combo2), (QStringList{"Bank", "web", "Zahlung"}));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("Bank"));
    QCOMPARE(listenEintraege(f.Combo1), (QStringList{"apotheke", "Sparkasse"}));
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("apotheke"));
    QCOMPARE(f.Text6->text(), QStringLiteral("apotheke"));
    QCOMPARE(f.Label3->text(), QStringLiteral("2"));
    QCOMPARE(f.Label2->text(), QStringLiteral("5"));
    QVERIFY(f.Combo1->isEnabled());
    QVERIFY(f.Check1->isEnabled());
    QVERIFY(!f.Check1->isChecked());
    QVERIFY(!f.menu_kopieren->isEnabled());
    QVERIFY(!f.Command12->isEnabled());
    QCOMPARE(f.Label11->text(), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    // The recordset is back on the whole table, on the shown row.
    QCOMPARE(env.app->formClavido().Daten1.Recordset().Fields("Bezeichnung").Value(),
             QStringLiteral("apotheke"));
    QCOMPARE(env.app->sitzung.listenAktion, qint16(0));

    f.kategorieWaehlen(QStringLiteral("web"));
    QCOMPARE(f.Label3->text(), QStringLiteral("2"));
    QCOMPARE(f.Text6->text(), QStringLiteral("Yahoo"));
    f.eintragWaehlen(QStringLiteral("Zeitung"));
    // Masked: the stored enciphered text, one "*" per character.
    QCOMPARE(f.Text5->displayText(), QString(8, u'*'));
    QCOMPARE(widgets::passwordChar(f.Text5), QChar(u'*'));
    QCOMPARE(f.Text5->text().size(), 8);
    QVERIFY(f.Text5->text() != QStringLiteral("12345678"));
    QCOMPARE(f.Label6->text(), QStringLiteral("<b>Kundennummer</b>"));
    for (QLabel* label : {f.Label6, f.Label7, f.Label9, f.Label2, f.Label3})
        QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(f.Label9->text(), QString());
    QCOMPARE(f.Text13->toPlainText(), QStringLiteral("Abo seit 2019"));
}

void TestMainWindow::choosingACategoryAndAnEntry() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "B", "b2"}, {"anna", "pw", "A", "a1"}, {"anna", "pw", "B", "b1"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    f.Combo2->setCurrentIndex(1);
    f.Combo2->activated(1); // as the user's choice
    QCOMPARE(listenEintraege(f.Combo1), (QStringList{"b1", "b2"}));
    QCOMPARE(f.Text6->text(), QStringLiteral("b1"));
    f.Combo1->setCurrentIndex(1);
    f.Combo1->activated(1);
    QCOMPARE(f.Text6->text(), QStringLiteral("b2"));
    QCOMPARE(f.Daten1.Recordset().Bookmark(), db::Mark(1));
    env.app->datensatzAnzeigen();
    QCOMPARE(f.Text6->text(), QStringLiteral("b2"));
}

void TestMainWindow::sameDesignationShowsTheFirstRow() {
    Umgebung env;
    Eintrag erster{"anna", "pw", "K", "doppelt"};
    erster.bemerkungen = QStringLiteral("erster");
    Eintrag zweiter = erster;
    zweiter.bemerkungen = QStringLiteral("zweiter");
    env.zeilen({{"bert", "pw", "K", "doppelt"}, erster, zweiter});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    QCOMPARE(listenEintraege(f.Combo1), (QStringList{"doppelt", "doppelt"}));
    f.Combo1->setCurrentIndex(1);
    f.Combo1_Click();
    QCOMPARE(f.Text13->toPlainText(), QStringLiteral("erster"));
    QCOMPARE(f.Daten1.Recordset().Bookmark(), db::Mark(2));
}

void TestMainWindow::emptyDesignationFirstDisablesCommands() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "K", ""}, {"anna", "pw", "K", "b"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    f.kategorieWaehlen(QStringLiteral("K"));
    QVERIFY(!f.Combo1->isEnabled());
    QVERIFY(!f.Command5->isEnabled());
    QVERIFY(!f.Command3->isEnabled());
    QVERIFY(!f.menu_edit->isEnabled());
    QVERIFY(!f.menu_loeschen->isEnabled());
}

void TestMainWindow::userWithoutEntriesGetsNoEntryCommands_data() {
    QTest::addColumn<bool>("andereNutzer");
    QTest::newRow("empty table") << false;
    QTest::newRow("only other users' rows") << true;
}

void TestMainWindow::userWithoutEntriesGetsNoEntryCommands() {
    QFETCH(bool, andereNutzer);
    Umgebung env;
    if (andereNutzer)
        env.zeilen({{"bert", "pw", "K", "b"}});
    // A new name whose first entry is not saved: the window opens without entries.
    env.modal.erwarte<pwfrage>([](pwfrage& d) {
        d.Combo1->setEditText("neu");
        d.Textpwfrage->setText("pw");
        d.Command3_Click();
    });
    env.modal.erwarte<FormHaftung>([](FormHaftung& d) { d.Command1_Click(); });
    env.modal.erwarte<pwstartform>([](pwstartform& d) { d.Command3_Click(); });
    env.modal.erwarte<FormDaten>([](FormDaten& d) { d.Command1_Click(); });
    env.meldungen.antworte({msg::Yes, msg::Yes});
    env.app->formClavido().laden();
    QVERIFY(env.modal.alleErledigt());
    FormClavido& f = env.app->formClavido();
    QVERIFY(f.isVisible());
    QCOMPARE(eintragsBefehle(f), (QList<bool>{false, false, false, false, false, false}));
    QVERIFY(!f.Combo1->isEnabled());
    QCOMPARE(f.Combo2->count(), 0);
    QCOMPARE(f.Label2->text(), QStringLiteral("0"));
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("1"));
    QCOMPARE(env.app->sitzung.optUebernommen, QStringLiteral("0"));
}

void TestMainWindow::readsTheSettingsOfTheUsersRow() {
    Umgebung env;
    Eintrag bert{"bert", "pw", "K", "b"};
    bert.sichern = QStringLiteral("0");
    Eintrag anna{"anna", "pw", "K", "a"};
    anna.sichern = QStringLiteral("3");
    anna.fragen = QStringLiteral("0");
    env.zeilen({bert, anna});
    rawdb::ausfuehren(
        env.dbPfad(),
        QStringLiteral("UPDATE Haupt SET \"übernommen\" = '1' WHERE Benutzer = 'anna'"));
    env.anmelden("anna", "pw");
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("3"));
    QCOMPARE(env.app->sitzung.optFragen, QStringLiteral("0"));
    QCOMPARE(env.app->sitzung.optUebernommen, QStringLiteral("1"));
    QCOMPARE(env.app->sitzung.endeModus, qint16(2));
}

void TestMainWindow::menuAndButtonRow() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "K", "a"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    auto zeile = [](QAction* a) {
        return a->isSeparator()
                   ? QStringLiteral("-")
                   : a->text() + u'|' + a->shortcut().toString(QKeySequence::PortableText);
    };
    QStringList menue;
    for (QAction* top : f.menuBar()->actions()) {
        menue << top->text();
        for (QAction* a : top->menu()->actions())
            menue << zeile(a);
    }
    QCOMPARE(menue, (QStringList{"&Datei",
                                 "Neuer &Benutzer|",
                                 "-",
                                 "&Neuer Datensatz|F2",
                                 "Datensatz &löschen|F4",
                                 "-",
                                 "&Ende|F5",
                                 "&Bearbeiten",
                                 "Datensatz &editieren|F6",
                                 "&Kopieren|Ctrl+K",
                                 "&Optionen",
                                 "&Drucken|Ctrl+D",
                                 "&Passwort|F7",
                                 "-",
                                 "&Suchen - Datensatzbezeichnung|F9",
                                 "Daten aus älteren Versionen übernehmen|",
                                 "-",
                                 "&Einstellungen|F8",
                                 "&Hilfe",
                                 "&Hilfe|F1",
                                 "-",
                                 "-",
                                 "&Info|"}));
    QStringList tips;
    for (QToolButton* b : {f.Command4, f.Command5, f.Command3, f.Command13, f.Command12, f.Command2,
                           f.Command8, f.Command7, f.Command11, f.Command1})
        tips << b->toolTip();
    QCOMPARE(tips, (QStringList{" Neuer Datensatz  ", " Datensatz editieren  ",
                                " Datensatz löschen ", " Liste drucken ", " Geheimwort kopieren ",
                                " Datensatzbezeichnung suchen ", " Benutzername / Passwort ",
                                " Infos ", " Hilfe zum Programm ", " Programm beenden "}));
    f.Command11->click();
    QCOMPARE(env.hilfe.geoeffnet, 1);
    QVERIFY(!f.Command12->isEnabled());
    QVERIFY(!f.menu_kopieren->isEnabled());
}

void TestMainWindow::everyCommandReachesItsHandler_data() {
    QTest::addColumn<QString>("befehl"); // a menu item, a button or a key
    QTest::addColumn<QString>("folge");  // the window it opens, the message it shows, ...
    const QString neu = QStringLiteral("FormDaten"),
                  loeschen = QStringLiteral("Diesen Datensatz jetzt löschen?"),
                  klartext =
                      QStringLiteral("Sie müssen zuerst die Daten in Klartext umwandeln!     "),
                  passwort = QStringLiteral("pwform"), suchen = QStringLiteral("FormSuchen");
    const QList<QPair<QStringList, QString>> tabelle = {
        {{"menu_anmelden"}, "Möchten Sie das Programm mit einem anderen Benutzer neu starten?"},
        {{"menu_neu", "Command4", "F2"}, neu},
        {{"menu_loeschen", "Command3", "F4"}, loeschen},
        {{"menu_ende", "Command1", "F5"}, "FormAuswahl+Ende"},
        {{"menu_edit", "Command5", "F6"}, klartext},
        {{"menu_passwort", "Command8", "F7"}, passwort},
        {{"menu_suchen", "Command2", "F9"}, suchen},
        {{"menu_hilfe", "Command11", "F1"}, "Hilfe"},
        {{"menu_drucken", "Command13", "Ctrl+D"},
         "Vorsicht!\r\n\r\nDas Drucken der Liste gefährdet die Geheimhaltung!     \r\n"
         "Möchten Sie die Liste trotzdem drucken?"},
        {{"menu_einstellungen", "F8"}, "FormEinstellungen"},
        {{"menu_datenübernehmen"}, "FormÜbernahme"},
        {{"menu_info", "Command7"}, "FormInfo"},
    };
    for (const auto& [befehle, folge] : tabelle) {
        for (const QString& befehl : befehle)
            QTest::newRow(qPrintable(befehl)) << befehl << folge;
    }
}

void TestMainWindow::everyCommandReachesItsHandler() {
    QFETCH(QString, befehl);
    QFETCH(QString, folge);
    Umgebung env;
    env.zeilen({{"anna", "pw", "K", "a"}, {"anna", "pw", "K", "b"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    QString fenster;
    env.modal.erwarte<QDialog>([&](QDialog& d) {
        // The import dialog has no meta-object of its own.
        fenster = dynamic_cast<FormÜbernahme*>(&d)
                      ? QStringLiteral("FormÜbernahme")
                      : QString::fromLatin1(d.metaObject()->className());
        d.reject();
    });
    QApplication::setActiveWindow(&f);
    if (befehl.startsWith("menu_")) {
        auto* action = f.findChild<QAction*>(befehl);
        QVERIFY(action);
        action->trigger();
    } else if (befehl.startsWith("Command")) {
        auto* knopf = f.findChild<QToolButton*>(befehl);
        QVERIFY(knopf);
        knopf->click();
    } else {
        QTest::keySequence(&f, QKeySequence(befehl));
    }
    QStringList folgen = env.meldungen.texte();
    if (!fenster.isEmpty())
        folgen << fenster;
    if (env.hilfe.geoeffnet)
        folgen << "Hilfe";
    if (env.beendet())
        folgen << "Ende";
    QCOMPARE(folgen.join(u'+'), folge);
}

void TestMainWindow::newSignInStartsTheProgramAgain_data() {
    QTest::addColumn<QString>("fragen");
    QTest::addColumn<bool>("kopiert");
    QTest::addColumn<QStringList>("ablauf");
    const QString frage = "Möchten Sie das Programm mit einem anderen Benutzer neu starten?";
    const QString ablage = "Die Zwischenablage enthält Text, evtl. ein Geheimwort!\r\n\r\n"
                           "Soll der Inhalt der Zwischenablage jetzt gelöscht werden?";
    const QStringList neustart = {"Hilfe zu", "Datenbank zu", "Start"};
    QTest::newRow("asked") << "1" << false << QStringList{frage} + neustart + QStringList{"Ende"};
    QTest::newRow("not asked") << "0" << false << neustart + QStringList{"Ende"};
    // The end runs the guard a second time.
    QTest::newRow("clipboard kept")
        << "0" << true << QStringList{ablage} + neustart + QStringList{ablage, "Ende"};
}

void TestMainWindow::newSignInStartsTheProgramAgain() {
    QFETCH(QString, fragen);
    QFETCH(bool, kopiert);
    QFETCH(QStringList, ablauf);
    Umgebung env;
    Eintrag e{"anna", "pw", "K", "a"};
    e.sichern = QStringLiteral("0");
    env.zeilen({e});
    env.anmelden("anna", "pw");
    env.app->sitzung.optFragen = fragen;
    if (kopiert) {
        env.app->sitzung.ablageBenutzt = 1;
        env.ablage.text = QStringLiteral("geheim");
    }
    QStringList protokoll;
    qsizetype meldungenBeimStart = 0;
    env.prozesse.beimStart = [&] {
        protokoll = env.meldungen.texte();
        meldungenBeimStart = protokoll.size();
        if (env.hilfe.geschlossen > 0)
            protokoll << "Hilfe zu";
        if (!env.app->verbindung.isOpen())
            protokoll << "Datenbank zu";
        protokoll << "Start";
    };
    env.meldungen.antworte({fragen == "1" ? msg::Yes : msg::No, msg::No});
    env.app->formClavido().menu_anmelden->trigger();
    protokoll << env.meldungen.texte().mid(meldungenBeimStart);
    if (env.beendet())
        protokoll << "Ende";
    QCOMPARE(protokoll, ablauf);
    QCOMPARE(env.prozesse.gestartet, QStringList{QCoreApplication::applicationFilePath()});
    QVERIFY(env.beendet());
    QCOMPARE(env.app->sitzung.endeModus, qint16(2));
}

void TestMainWindow::theShownEntryDeletedByAnotherCopy_data() {
    QTest::addColumn<QString>("weg");
    QTest::newRow("settings saved") << "settings";
    QTest::newRow("password changed") << "password";
    QTest::newRow("new entry not saved") << "editor";
    QTest::newRow("plain text asked for") << "plain text";
    QTest::newRow("back at the window") << "back";
}

// Another copy deletes the entry this one shows; bert's row stands first in
// the table, where a re-read of the table would leave the recordset.
void TestMainWindow::theShownEntryDeletedByAnotherCopy() {
    QFETCH(QString, weg);
    Umgebung env;
    Eintrag mail{"anna", "pw", "Web", "Mail"};
    mail.konto = QStringLiteral("annas Konto");
    env.zeilen({{"bert", "b", "Auto", "Berts"}, {"anna", "pw", "Bank", "Konto"}, mail});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    QCOMPARE(f.Text6->text(), QStringLiteral("Konto"));
    rawdb::ausfuehren(env.dbPfad(), QStringLiteral("DELETE FROM Haupt WHERE rowid = 2"));
    env.meldungen.antworte({msg::Yes});
    if (weg == "settings") {
        env.modal.erwarte<FormEinstellungen>([](FormEinstellungen& d) { d.Command2->click(); });
        f.menu_einstellungen->trigger();
    } else if (weg == "password") {
        env.modal.erwarte<pwform>([](pwform& d) {
            d.Text7->setText("pw");
            d.Command9->click();
            d.Text1->setText("neu");
            d.Text2->setText("neu");
            d.Command3->click();
        });
        f.menu_passwort->trigger();
    } else if (weg == "editor") {
        env.meldungen.antworten = {msg::No};
        env.modal.erwarte<FormDaten>([](FormDaten& d) {
            d.Combo1->setEditText("Bank");
            d.Text1->setText("Neu");
            for (QLineEdit* box : {d.Text2, d.Text3, d.Text8})
                box->setText("x");
            d.Text14->setPlainText("x");
            d.Command2->click();
            d.Command1_Click();
        });
        f.menu_neu->trigger();
    } else if (weg == "back") {
        zurueck(f);
    } else {
        // Asked for on the gone entry: nothing is shown in its place.
        klartextAnzeigen(f);
        QVERIFY(!f.Check1->isChecked());
        QCOMPARE(f.Text5->text(), verschluesseln("annas Konto", kFeldSchluessel));
    }
    // The window shows what is left of anna's, and works on that row.
    QCOMPARE(listenEintraege(f.Combo2) + listenEintraege(f.Combo1), (QStringList{"Web", "Mail"}));
    QCOMPARE(f.Text6->text(), QStringLiteral("Mail"));
    QCOMPARE(f.Label2->text(), QStringLiteral("1"));
    klartextAnzeigen(f, weg == "password" ? "neu" : "pw");
    QCOMPARE(f.Text5->text(), QStringLiteral("annas Konto"));
    env.meldungen.antworten = {msg::Yes};
    f.menu_loeschen->trigger();
    QCOMPARE(rawdb::spalte(env.lesen(), "Bezeichnung"), QStringList{"Berts"});
}

// Another copy adds entries while this one waits: they show when the user
// comes back, and the entry shown stays.
void TestMainWindow::anotherCopysWritesShownOnReturn() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}, {"anna", "pw", "Web", "Mail"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    rawdb::ausfuehren(env.dbPfad(), QStringLiteral("INSERT INTO Haupt (Bezeichnung, Kategorie, "
                                                   "Benutzer) VALUES ('Depot', 'Bank', 'anna'), "
                                                   "('Bahn', 'Reise', 'anna')"));
    zurueck(f);
    QCOMPARE(listenEintraege(f.Combo2), (QStringList{"Bank", "Reise", "Web"}));
    QCOMPARE(listenEintraege(f.Combo1), (QStringList{"Depot", "Konto"}));
    QCOMPARE(f.Text6->text(), QStringLiteral("Konto"));
    QCOMPARE(f.Label3->text() + "/" + f.Label2->text(), QStringLiteral("2/4"));
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), QStringLiteral("Konto"));
}

CLAVIDO_TEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
