#include "editor/form_suchen.h"
#include "environment.h"
#include "form_helpers.h"
#include "main_window/form_clavido.h"
#include "store/field_cipher.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

const QString kTreffer = QStringLiteral("Datensatzbezeichnung mit dem Suchbegriff gefunden!");
const QString kNaechster =
    QStringLiteral("Nächste Datensatzbezeichnung mit dem Suchbegriff gefunden!");
const QString kKeiner = QStringLiteral("Keine Datensatzbezeichnung mit dem Suchbegriff gefunden!");
const QString kKeinWeiterer =
    QStringLiteral("Keine weitere Datensatzbezeichnung mit dem Suchbegriff gefunden!");

// "S" search enabled, "W" search on enabled, then the search box.
QString knoepfe(FormSuchen& d) {
    return QString(d.Command1->isEnabled() ? u'S' : u'-') +
           (d.Command2->isEnabled() ? u'W' : u'-') + u'|' + d.Text1->text();
}

std::vector<Eintrag> zeilen() {
    Eintrag giro{"anna", "pw", "Bank", "Girokonto Sparkasse"};
    giro.pin = QStringLiteral("4711");
    return {{"bert", "pw", "Bank", "Kontoauszug"},
            {"anna", "pw", "Web", "Mail"},
            giro,
            {"anna", "pw", "Bank", "Depot"},
            {"anna", "pw", "Alt", "Sparbuch konto"}};
}

} // namespace

class TestSuchen : public QObject {
    Q_OBJECT
private slots:
    void dialog();
    void searches_data();
    void searches();
    void hitsShowMaskedOrPlain();
    void afterTheDialogTheWindowIsTrue();
};

void TestSuchen::dialog() {
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "pw");
    QString zustand, titel;
    QWidget* fokus = nullptr;
    QList<int> reihe;
    env.modal.erwarte<FormSuchen>([&](FormSuchen& d) {
        titel = d.windowTitle();
        fokus = d.focusWidget();
        zustand = knoepfe(d);
        for (QPushButton* b : {d.Command4, d.Command1, d.Command2, d.Command3})
            reihe << b->x();
        QTest::keyClick(d.Text1, Qt::Key_Return); // searches though the button is disabled
        d.Command4->click();
        d.Text1->setText("x");
        zustand += u' ' + knoepfe(d);
        d.Command3->click();
    });
    env.app->formClavido().Command2->click();
    QCOMPARE(titel, QStringLiteral("Datensatzbezeichnung suchen..."));
    QCOMPARE(fokus, static_cast<QWidget*>(env.app->formSuchen().Text1));
    QCOMPARE(zustand, QStringLiteral("--| S-|x"));
    QVERIFY(std::is_sorted(reihe.begin(), reihe.end()));
    QCOMPARE(env.meldungen.texte().value(0),
             QStringLiteral("Geben Sie Sie bitte einen Suchbegriff ein!"));
    QCOMPARE(env.meldungen.meldungen.value(0).style, int(msg::Exclamation));
    QCOMPARE(env.meldungen.texte().value(1),
             QStringLiteral(
                 "HINWEIS:\r\n\r\nGesucht wird nur in den Datensatzbezeichnungen!\r\n\r\nGeben Sie "
                 "einen Suchbegriff ein oder Teile davon.\r\nKlicken Sie dann auf den Schalter "
                 "\"Suchen\". Sofort wird\r\nder erste Datensatz mit dem Suchbegriff angezeigt, "
                 "sofern            \r\nvorhanden. Möchten Sie weitere Datensätze mit dem\r\n"
                 "Suchbegriff erhalten, klicken Sie auf den Schalter\r\n\"Weiter suchen...\". Ist "
                 "der Suchbegriff in keinem weiteren\r\nDatensatz vorhanden, wird eine "
                 "entsprechende Meldung\r\neingeblendet.\r\n"));
    QCOMPARE(env.meldungen.meldungen.value(1).style, int(msg::Information));
}

void TestSuchen::searches_data() {
    QTest::addColumn<QString>("begriff");
    QTest::addColumn<QStringList>("klicks"); // "S" search, "W" search on
    QTest::addColumn<QStringList>("meldungen");
    QTest::addColumn<QStringList>("gezeigt"); // designation shown after each click
    QTest::addColumn<QString>("amEnde");
    QTest::newRow("capitals find lower case inside")
        << "SPARK" << QStringList{"S"} << QStringList{kTreffer}
        << QStringList{"Girokonto Sparkasse"} << "-W|SPARK";
    QTest::newRow("trailing blank") << "sparkasse " << QStringList{"S"} << QStringList{kKeiner}
                                    << QStringList{"Depot"} << "--|";
    QTest::newRow("other users never")
        << "auszug" << QStringList{"S"} << QStringList{kKeiner} << QStringList{"Depot"} << "--|";
    QTest::newRow("two hits, then none")
        << "konto" << QStringList{"S", "W", "W"} << QStringList{kTreffer, kNaechster, kKeinWeiterer}
        << QStringList{"Girokonto Sparkasse", "Sparbuch konto", "Sparbuch konto"} << "S-|";
}

void TestSuchen::searches() {
    QFETCH(QString, begriff);
    QFETCH(QStringList, klicks);
    QFETCH(QStringList, meldungen);
    QFETCH(QStringList, gezeigt);
    QFETCH(QString, amEnde);
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    f.kategorieWaehlen(QStringLiteral("Bank"));
    f.eintragWaehlen(QStringLiteral("Depot"));
    QStringList angezeigt;
    QString ende;
    env.modal.erwarte<FormSuchen>([&](FormSuchen& d) {
        d.Text1->setText(begriff);
        for (const QString& klick : klicks) {
            (klick == "S" ? d.Command1 : d.Command2)->click();
            angezeigt << f.Text6->text();
        }
        ende = knoepfe(d);
        d.Command3->click();
    });
    f.menu_suchen->trigger();
    QCOMPARE(env.meldungen.texte(), meldungen);
    for (const Meldung& m : env.meldungen.meldungen)
        QCOMPARE(m.style, int(m.text.startsWith(u'K') ? msg::Critical : msg::Exclamation));
    QCOMPARE(angezeigt, gezeigt);
    QCOMPARE(ende, amEnde);
    // The recordset stands on the entry the window shows, so that deleting
    // or editing acts on it.
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), f.Text6->text());
    QCOMPARE(f.Daten1.Recordset().Fields("Benutzer").Value(), QStringLiteral("anna"));
}

void TestSuchen::hitsShowMaskedOrPlain() {
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    QStringList pins, listen;
    env.modal.erwarte<FormSuchen>([&](FormSuchen& d) {
        d.Text1->setText("giro");
        d.Command1->click();
        pins << f.Text4->displayText();
        // Changed in place while the dialog is open.
        listen << f.Combo2->itemText(0) << f.Combo1->itemText(0);
        d.Command3->click();
    });
    f.menu_suchen->trigger();
    klartextAnzeigen(f);
    env.modal.erwarte<FormSuchen>([&](FormSuchen& d) {
        d.Text1->setText("giro");
        d.Command1->click();
        pins << f.Text4->displayText();
        d.Command3->click();
    });
    f.menu_suchen->trigger();
    QCOMPARE(pins, (QStringList{"****", "4711"}));
    QCOMPARE(listen, (QStringList{"Bank", "Girokonto Sparkasse"}));
}

void TestSuchen::afterTheDialogTheWindowIsTrue() {
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("Alt"));
    env.modal.erwarte<FormSuchen>([&](FormSuchen& d) {
        d.Text1->setText("mail");
        d.Command1->click();
        d.close(); // the close box is "Abbrechen"
    });
    f.menu_suchen->trigger();
    QCOMPARE(listenEintraege(f.Combo2), (QStringList{"Alt", "Bank", "Web"}));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("Web"));
    QCOMPARE(listenEintraege(f.Combo1), QStringList{"Mail"});
    QCOMPARE(f.Text6->text(), QStringLiteral("Mail"));
    QCOMPARE(f.Label3->text(), QStringLiteral("1"));
    QCOMPARE(f.Daten1.Recordset().Bookmark(), db::Mark(2));
    // Deleting now deletes the hit.
    env.meldungen.antworte({msg::Yes});
    f.menu_loeschen->trigger();
    const auto rows = env.lesen();
    QCOMPARE(rows.size(), size_t(4));
    QVERIFY(std::none_of(rows.begin(), rows.end(), [](const RohZeile& r) {
        return r.value("Bezeichnung").toString() == QStringLiteral("Mail");
    }));
}

CLAVIDO_TEST_MAIN(TestSuchen)
#include "test_suchen.moc"
