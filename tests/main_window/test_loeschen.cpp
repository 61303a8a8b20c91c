#include "environment.h"
#include "form_helpers.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "store/field_cipher.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

const QString kFrage = QStringLiteral("Diesen Datensatz jetzt löschen?");
const QString kLetzte =
    QStringLiteral("Dies ist der letzte Datensatz!\r\n"
                   "Wenn Sie diesen letzten Datensatz löschen und anschließend das Programm\r\n"
                   "beenden, müssen Sie sich beim nächsten Programmstart komplett neu anmelden!\r\n"
                   "Möchten Sie diesen Datensatz jetzt trotzdem löschen?");

} // namespace

class TestLoeschen : public QObject {
    Q_OBJECT
private slots:
    void deletesTheShownEntry_data();
    void deletesTheShownEntry();
    void theLastEntry();
    void noChangesNothing_data();
    void noChangesNothing();
    void aFailedDeleteChangesNothing_data();
    void aFailedDeleteChangesNothing();
};

void TestLoeschen::deletesTheShownEntry_data() {
    QTest::addColumn<QString>("bezeichnung");
    QTest::addColumn<QStringList>("kategorien");
    QTest::addColumn<QStringList>("eintraege");
    QTest::addColumn<QStringList>("zaehler");
    QTest::newRow("only entry of the second category")
        << "Mail" << QStringList{"Bank", "bank"} << QStringList{"Depot", "Konto"}
        << QStringList{"2", "3"};
    QTest::newRow("entry of the first category") << "Konto" << QStringList{"bank", "Bank", "Web"}
                                                 << QStringList{"Spar"} << QStringList{"1", "3"};
}

void TestLoeschen::deletesTheShownEntry() {
    QFETCH(QString, bezeichnung);
    QFETCH(QStringList, kategorien);
    QFETCH(QStringList, eintraege);
    QFETCH(QStringList, zaehler);
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"},
                {"bert", "pw", "Web", "Mail"},
                {"anna", "pw", "Web", "Mail"},
                {"anna", "pw", "bank", "Spar"},
                {"anna", "pw", "Bank", "Depot"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    f.kategorieWaehlen(bezeichnung == "Mail" ? "Web" : "Bank");
    f.eintragWaehlen(bezeichnung);
    env.app->sitzung.optFragen = QStringLiteral("0"); // asked all the same
    env.meldungen.antworte({msg::Yes});
    f.Command3->click();
    QCOMPARE(env.meldungen.texte(), QStringList{kFrage});
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Critical | msg::YesNo));
    QCOMPARE(env.meldungen.meldungen[0].title, QStringLiteral("lumoClavido 6.1"));
    // Only anna's row of that name is gone.
    QStringList uebrig = {"Konto", "Mail", "Mail", "Spar", "Depot"};
    uebrig.removeAt(bezeichnung == "Mail" ? 2 : 0);
    QCOMPARE(rawdb::spalte(env.lesen(), "Bezeichnung"), uebrig);
    QCOMPARE(listenEintraege(f.Combo2), kategorien);
    QCOMPARE(f.Combo2->currentText(), kategorien.first());
    QCOMPARE(listenEintraege(f.Combo1), eintraege);
    QCOMPARE(f.Text6->text(), eintraege.first());
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), eintraege.first());
    QCOMPARE((QStringList{f.Label3->text(), f.Label2->text()}), zaehler);
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("1"));
    QVERIFY(f.menu_einstellungen->isEnabled());
}

void TestLoeschen::theLastEntry() {
    Umgebung env;
    Eintrag fremd{"bert", "pw", "Bank", "Konto"};
    fremd.konto = QStringLiteral("Berts Konto");
    env.zeilen({fremd, {"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    // Deleted while the password is asked: the frame goes, as typing the
    // password would show the row the table now stands on, another user's.
    f.Check1->click();
    QVERIFY(f.Frame2->isVisible());
    env.meldungen.antworte({msg::Yes});
    f.menu_loeschen->trigger();
    QVERIFY(!f.Frame2->isVisible());
    QVERIFY(!f.Check1->isChecked());
    QCOMPARE(env.meldungen.texte(), QStringList{kLetzte});
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Critical | msg::YesNo));
    QCOMPARE(env.lesen().size(), size_t(1));
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("3"));
    QCOMPARE(f.Combo2->count(), 0);
    QCOMPARE(f.Combo1->count(), 0);
    QCOMPARE((QStringList{f.Label3->text(), f.Label2->text()}), (QStringList{"0", "0"}));
    for (QWidget* w : {static_cast<QWidget*>(f.Check1), static_cast<QWidget*>(f.Command5),
                       static_cast<QWidget*>(f.Command3), static_cast<QWidget*>(f.Command13),
                       static_cast<QWidget*>(f.Command8)})
        QVERIFY(!w->isEnabled());
    for (QAction* a :
         {f.menu_drucken, f.menu_edit, f.menu_loeschen, f.menu_einstellungen, f.menu_passwort})
        QVERIFY(!a->isEnabled());
    QVERIFY(f.Text6->text().isEmpty());
}

void TestLoeschen::noChangesNothing_data() {
    QTest::addColumn<bool>("letzte");
    QTest::newRow("one of several") << false;
    QTest::newRow("the last one") << true;
}

void TestLoeschen::noChangesNothing() {
    QFETCH(bool, letzte);
    Umgebung env;
    if (letzte)
        env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    else
        env.zeilen({{"anna", "pw", "Bank", "Konto"}, {"anna", "pw", "Web", "Mail"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    const QStringList listen = listenEintraege(f.Combo2) + listenEintraege(f.Combo1);
    env.meldungen.antworte({msg::No});
    f.menu_loeschen->trigger();
    QCOMPARE(env.meldungen.texte(), QStringList{letzte ? kLetzte : kFrage});
    QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    QCOMPARE(listenEintraege(f.Combo2) + listenEintraege(f.Combo1), listen);
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("1"));
    QVERIFY(f.menu_passwort->isEnabled());
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), QStringLiteral("Konto"));
}

void TestLoeschen::aFailedDeleteChangesNothing_data() {
    QTest::addColumn<QString>("wie");
    QTest::addColumn<QString>("grund");
    QTest::addColumn<QStringList>("danach");
    const QStringList beide{"Bank", "Web", "Konto"};
    QTest::newRow("file read-only") << "read-only"
                                    << "Die Datenbankdatei ist schreibgeschützt." << beide;
    // The window then shows what the file holds, so that the refusal does not repeat.
    QTest::newRow("deleted by another program")
        << "gone"
        << "Der Datensatz ist nicht mehr vorhanden." << QStringList{"Web", "Mail"};
    QTest::newRow("changed by another program")
        << "changed"
        << "Der Datensatz wurde inzwischen von einem anderen Programm geändert." << beide;
}

void TestLoeschen::aFailedDeleteChangesNothing() {
    QFETCH(QString, wie);
    QFETCH(QString, grund);
    QFETCH(QStringList, danach);
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}, {"anna", "pw", "Web", "Mail"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    klartextAnzeigen(f);
    if (wie == "read-only")
        env.app->verbindung.exec(QStringLiteral("PRAGMA query_only = ON"));
    else if (wie == "gone")
        rawdb::ausfuehren(env.dbPfad(), QStringLiteral("DELETE FROM Haupt WHERE rowid = 1"));
    else
        rawdb::ausfuehren(env.dbPfad(),
                          QStringLiteral("UPDATE Haupt SET Pin = 'neu' WHERE rowid = 1"));
    env.meldungen.antworte({msg::Yes});
    f.menu_loeschen->trigger();
    QCOMPARE(env.meldungen.meldungen.size(), 2);
    QCOMPARE(env.meldungen.meldungen[1].text,
             QStringLiteral("Der Datensatz konnte nicht gelöscht werden.\r\n") + grund);
    QCOMPARE(env.meldungen.meldungen[1].style, int(msg::Exclamation));
    QCOMPARE(listenEintraege(f.Combo2) + listenEintraege(f.Combo1), danach);
    QCOMPARE(f.Text6->text(), danach.last());
    QCOMPARE(f.Label2->text(), QString::number(danach.size() - 1));
    QCOMPARE(env.lesen().size(), size_t(wie == "gone" ? 1 : 2));
    if (wie != "changed")
        return;
    // The entry as the other copy left it is shown, and deleted at the next try.
    QCOMPARE(f.Text4->text(), entschluesseln("neu", kFeldSchluessel));
    env.meldungen.meldungen.clear();
    env.meldungen.antworte({msg::Yes});
    f.menu_loeschen->trigger();
    QCOMPARE(env.meldungen.texte(), QStringList{"Diesen Datensatz jetzt löschen?"});
    QCOMPARE(rawdb::spalte(env.lesen(), "Bezeichnung"), QStringList{"Mail"});
}

CLAVIDO_TEST_MAIN(TestLoeschen)
#include "test_loeschen.moc"
