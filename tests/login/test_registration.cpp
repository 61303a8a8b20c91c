#include "app/form_haftung.h"
#include "editor/form_daten.h"
#include "environment.h"
#include "login/pwfrage.h"
#include "login/pwstartform.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// Sign-in with an unknown name, answered Yes, disclaimer accepted; `schritt`
// then works in the registration dialog.
void zurRegistrierung(Umgebung& env, const QString& name, const QString& passwort,
                      std::function<void(pwstartform&)> schritt) {
    env.modal.erwarte<pwfrage>([name, passwort](pwfrage& d) {
        d.Combo1->setEditText(name);
        d.Textpwfrage->setText(passwort);
        d.Command3_Click();
    });
    env.modal.erwarte<FormHaftung>([](FormHaftung& d) { d.Command1->click(); });
    env.modal.erwarte<pwstartform>(std::move(schritt));
    env.meldungen.antworte({msg::Yes});
}

void ersterEintrag(FormDaten& d) {
    d.Combo1->setEditText(QStringLiteral("Bank"));
    d.Text1->setText(QStringLiteral("Girokonto"));
    d.Text2->setText(QStringLiteral("DE00 1234"));
    d.Text3->setText(QStringLiteral("0815"));
    d.Text8->setText(QStringLiteral("https://bank.example"));
    d.Text14->setPlainText(QStringLiteral("erstes Konto"));
    d.Command2->click();
}

} // namespace

class TestRegistration : public QObject {
    Q_OBJECT
private slots:
    void fromUnknownNameToFirstEntry();
    void checksInOrder_data();
    void checksInOrder();
    void plainTextSwitch();
    void declinedQuestionKeepsTheDialog();
    void closingTheEditorRegistersNobody();
    void longNameAndOtherCase();
    void passwordTheCipherCannotCarry();
    void helpText();
    void enterMovesOnThenSaves();
};

void TestRegistration::fromUnknownNameToFirstEntry() {
    Umgebung env;
    env.zeilen({{"bert", "b", "Web", "x"}});
    QStringList vorbelegt;
    QString rahmen, text10, text12, kategorien;
    zurRegistrierung(env, "Clara", "kennwort12", [&](pwstartform& d) {
        vorbelegt << d.Text3->text() << d.Text1->text() << d.Text2->text() << d.Label1->text();
        vorbelegt << QString(widgets::passwordChar(d.Text1))
                  << QString(widgets::passwordChar(d.Text2));
        vorbelegt << (d.Text3->isReadOnly() ? "gesperrt" : "frei");
        vorbelegt << (d.focusWidget() == d.Text1 ? "Text1" : "?");
        d.Command3->click();
    });
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        rahmen = d.Frame1->title();
        text10 = d.Text10->text();
        text12 = d.Text12->text();
        kategorien = QString::number(d.Combo1->count());
        // A copy made here is asked about at the end, after the main window's load.
        d.Text2->setText(QStringLiteral("DE00 1234"));
        d.Text2->selectAll();
        QTest::keyClick(d.Text2, Qt::Key_C, Qt::ControlModifier);
        ersterEintrag(d);
    });
    env.meldungen.antworte({msg::Yes, msg::Yes});
    env.app->formClavido().laden();
    QCOMPARE(env.app->sitzung.ablageBenutzt, qint16(1));
    QVERIFY(env.modal.alleErledigt());
    QVERIFY(!env.beendet());
    QCOMPARE(vorbelegt,
             (QStringList{
                 "Clara", "kennwort12", "kennwort12",
                 "Bevor Sie das Programm nutzen können, müssen Sie\r\neinen Benutzernamen und "
                 "ein Passwort vergeben.\r\nBitte geben Sie das Passwort zur Kontrolle  2 x ein.",
                 "#", "*", "gesperrt", "Text1"}));
    QCOMPARE(
        env.meldungen.texte(),
        (QStringList{"Sie sind noch nicht als Benutzer registriert!\r\nMöchten Sie sich jetzt als "
                     "neuer Benutzer anmelden?",
                     "Möchten Sie Benutzername und Passwort jetzt speichern?",
                     "Möchten Sie diesen Datensatz jetzt speichern?"}));
    QCOMPARE(env.meldungen.meldungen[1].style, int(msg::Question | msg::YesNo));
    QCOMPARE(rahmen, QStringLiteral("Hier neuen Datensatz anlegen"));
    QCOMPARE(text10, QStringLiteral("Konto-Nr / User- ID"));
    QCOMPARE(text12, QStringLiteral("URL"));
    QCOMPARE(kategorien, QStringLiteral("0"));

    const auto rows = env.lesen();
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[1].value("Benutzer").toString(), QStringLiteral("Clara"));
    QCOMPARE(rows[1].value("Passwort").toString(), verschluesseln("kennwort12", kFeldSchluessel));
    QCOMPARE(rows[1].value("Sichern").toString(), QStringLiteral("1"));
    QCOMPARE(rows[1].value("fragen").toString(), QStringLiteral("1"));
    QCOMPARE(rows[1].value("Bezeichnung1").toString(), QStringLiteral("Konto-Nr / User- ID"));

    FormClavido& f = env.app->formClavido();
    QVERIFY(f.isVisible());
    QCOMPARE(f.windowTitle(), QStringLiteral("lumoClavido 6.1  -  Clara"));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("Bank"));
    QCOMPARE(f.Text6->text(), QStringLiteral("Girokonto"));
    QCOMPARE(f.Label2->text(), QStringLiteral("1"));
    QCOMPARE(f.Label3->text(), QStringLiteral("1"));
    QVERIFY(f.Command5->isEnabled() && f.Command13->isEnabled() && f.menu_drucken->isEnabled());
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("1"));
    QCOMPARE(env.app->sitzung.optUebernommen, QString());

    // The next start knows the name.
    env.app.reset();
    env.app = std::make_unique<Clavido>(env.dienste, env.ordner.path());
    env.meldungen.meldungen.clear();
    env.anmelden("Clara", "kennwort12");
    QVERIFY(env.app->formClavido().isVisible());
    QCOMPARE(env.app->formClavido().Text6->text(), QStringLiteral("Girokonto"));
    QVERIFY(env.meldungen.meldungen.isEmpty());
}

void TestRegistration::checksInOrder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pw1");
    QTest::addColumn<QString>("pw2");
    QTest::addColumn<QString>("meldung");
    QTest::addColumn<QString>("fokus");
    QTest::addColumn<QString>("boxen");
    QTest::newRow("nothing") << ""
                             << ""
                             << ""
                             << "Sie haben noch keine Eingaben gemacht!"
                             << "Text3"
                             << "|";
    QTest::newRow("no name") << ""
                             << "a"
                             << "a"
                             << "Bitte geben Sie einen Benutzernamen ein!"
                             << "Text3"
                             << "a|a";
    QTest::newRow("no repetition") << "n"
                                   << "a"
                                   << ""
                                   << "Sie müssen das Passwort zur Kontrolle 2 x eingegeben!"
                                   << "Text1"
                                   << "a|";
    QTest::newRow("different") << "n"
                               << "abc"
                               << "abd"
                               << "Ihre beiden Passwort-Eingaben sind nicht identisch!"
                               << "Text1"
                               << "|";
    QTest::newRow("name of blanks")
        << "   "
        << "a"
        << "a"
        << "Der Benutzername darf nicht nur aus Leerzeichen bestehen!\r\nBitte starten Sie das "
           "Programm neu und melden Sie sich mit einem anderen Benutzernamen an."
        << "Text1"
        << "a|a";
    QTest::newRow("password of blanks")
        << "n"
        << "   "
        << "   "
        << "Das Passwort darf nicht nur aus Leerzeichen bestehen!\r\nBitte geben Sie ein Passwort "
           "mit Buchstaben, Ziffern oder Satzzeichen ein."
        << "Text1"
        << "|";
}

void TestRegistration::checksInOrder() {
    QFETCH(QString, name);
    QFETCH(QString, pw1);
    QFETCH(QString, pw2);
    QFETCH(QString, meldung);
    QFETCH(QString, fokus);
    QFETCH(QString, boxen);
    Umgebung env;
    QString fokusDanach, boxenDanach;
    zurRegistrierung(env, "neu", "pw", [&](pwstartform& d) {
        d.Text3->setText(name);
        d.Text1->setText(pw1);
        d.Text2->setText(pw2);
        d.Command3->click();
        QWidget* w = d.focusWidget();
        fokusDanach = w == d.Text3 ? "Text3" : w == d.Text1 ? "Text1" : "?";
        boxenDanach = d.Text1->text() + u'|' + d.Text2->text();
        d.Command1->click();
    });
    env.app->formClavido().laden();
    QCOMPARE(env.meldungen.meldungen.size(), 2);
    QCOMPARE(env.meldungen.meldungen[1].text, meldung);
    QCOMPARE(env.meldungen.meldungen[1].style, int(msg::Exclamation));
    QCOMPARE(env.meldungen.meldungen[1].title, QStringLiteral("lumoClavido 6.1"));
    QCOMPARE(fokusDanach, fokus);
    QCOMPARE(boxenDanach, boxen);
    QCOMPARE(env.prozesse.beendet, 1);
    QVERIFY(env.lesen().empty());
}

void TestRegistration::plainTextSwitch() {
    Umgebung env;
    QStringList zeichen;
    auto maske = [](QLineEdit* box) {
        const QChar c = widgets::passwordChar(box);
        return c.isNull() ? QString() : QString(c);
    };
    zurRegistrierung(env, "neu", "pw", [&](pwstartform& d) {
        d.Check1->click();
        zeichen << maske(d.Text1) + maske(d.Text2);
        d.Check1->click();
        zeichen << maske(d.Text1) + maske(d.Text2);
        d.Command4->click();
        zeichen << d.Text1->text() + d.Text2->text();
        d.Command1->click();
    });
    env.app->formClavido().laden();
    QCOMPARE(zeichen, (QStringList{"", "##", ""}));
}

void TestRegistration::declinedQuestionKeepsTheDialog() {
    Umgebung env;
    bool offen = false;
    zurRegistrierung(env, "neu", "pw", [&](pwstartform& d) {
        d.Command3->click();
        offen = d.isVisible() && d.Text1->text() == "pw";
        d.Command1->click();
    });
    env.meldungen.antworte({msg::No});
    env.app->formClavido().laden();
    QVERIFY(offen);
    QVERIFY(!env.app->hatFormDaten() || !env.app->formDaten().isVisible());
}

void TestRegistration::closingTheEditorRegistersNobody() {
    Umgebung env;
    env.zeilen({{"bert", "b", "Web", "x"}});
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    zurRegistrierung(env, "neu", "pw", [](pwstartform& d) { d.Command3->click(); });
    env.modal.erwarte<FormDaten>([](FormDaten& d) {
        d.Combo1->setEditText("x");
        d.Command1->click();
    });
    env.meldungen.antworte({msg::Yes});
    env.app->formClavido().laden();
    QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);

    env.app.reset();
    env.app = std::make_unique<Clavido>(env.dienste, env.ordner.path());
    env.meldungen.meldungen.clear();
    env.modal.erwarte<pwfrage>([](pwfrage& d) {
        d.Combo1->setEditText("neu");
        d.Textpwfrage->setText("pw");
        d.Command3_Click();
        d.Command1_Click();
    });
    env.app->formClavido().laden();
    QCOMPARE(env.meldungen.texte().value(0).left(45),
             QStringLiteral("Sie sind noch nicht als Benutzer registriert!"));
}

void TestRegistration::longNameAndOtherCase() {
    for (const QString& name :
         {QStringLiteral("Ein sehr langer Benutzername mit vierzig Z"), QStringLiteral("BERT")}) {
        Umgebung env;
        env.zeilen({{"bert", "b", "Web", "x"}});
        zurRegistrierung(env, name, "123456789012", [](pwstartform& d) { d.Command3->click(); });
        env.modal.erwarte<FormDaten>(ersterEintrag);
        env.meldungen.antworte({msg::Yes, msg::Yes});
        env.app->formClavido().laden();
        const auto rows = env.lesen();
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[1].value("Benutzer").toString(), name);
        QCOMPARE(rows[1].value("Passwort").toString(),
                 verschluesseln("123456789012", kFeldSchluessel));
    }
}

void TestRegistration::passwordTheCipherCannotCarry() {
    Umgebung env;
    QString danach;
    zurRegistrierung(env, "neu", "pw", [&](pwstartform& d) {
        d.Text1->setText(QStringLiteral("Käseÿ"));
        d.Text2->setText(QStringLiteral("Käseÿ"));
        d.Command3->click();
        danach = d.isVisible() ? d.Text1->text() + u'|' + d.Text2->text() : QString();
        d.Command1->click();
    });
    env.app->formClavido().laden();
    QCOMPARE(env.meldungen.meldungen.size(), 2);
    QVERIFY(env.meldungen.meldungen[1].text.startsWith(QStringLiteral(
        "Das Passwort enthält das Zeichen „ÿ“, das nicht gespeichert werden kann.")));
    QCOMPARE(danach, QStringLiteral("Käseÿ|Käseÿ"));
    QVERIFY(env.lesen().empty());
}

void TestRegistration::helpText() {
    Umgebung env;
    zurRegistrierung(env, "neu", "pw", [](pwstartform& d) {
        d.Command2->click();
        d.Command1->click();
    });
    env.app->formClavido().laden();
    QCOMPARE(env.meldungen.meldungen.size(), 2);
    QCOMPARE(env.meldungen.meldungen[1].style, int(msg::Information));
    QCOMPARE(
        env.meldungen.meldungen[1].text,
        QStringLiteral("Hinweis:\r\n\r\n"
                       "Geben Sie hier bitte einen von Ihnen frei gewählten Namen ein (bis zu 30 "
                       "Satzzeichen),\r\n"
                       "unter dem Sie sich zukünftig beim Programmstart anmelden.\r\n"
                       "Geben Sie außerdem ein Passwort ein (bis zu 12 Satzzeichen - bitte zur "
                       "Kontrolle 2-fach).    \r\n"
                       "Sind alle Eingaben zulässig, erhalten Sie Zugang zum Programm.\r\n"
                       "Bitte merken Sie sich unbedingt Benutzername und Passwort!\r\n\r\n"
                       "Benutzername und Passwort können jederzeit im Programm geändert "
                       "werden.    \r\n"));
}

void TestRegistration::enterMovesOnThenSaves() {
    Umgebung env;
    QStringList fokus;
    zurRegistrierung(env, "neu", "pw", [&](pwstartform& d) {
        auto name = [&d](QWidget* w) {
            return w == d.Text1 ? "Text1" : w == d.Text2 ? "Text2" : w == d.Text3 ? "Text3" : "?";
        };
        d.Text3->setFocus();
        QTest::keyClick(d.Text3, Qt::Key_Return);
        fokus << name(d.focusWidget());
        QTest::keyClick(d.Text1, Qt::Key_Return);
        fokus << name(d.focusWidget());
        QTest::keyClick(d.Text2, Qt::Key_Return); // the save question, answered No
        fokus << QString::number(env.meldungen.meldungen.size());
        d.Command1->click();
    });
    env.app->formClavido().laden();
    QCOMPARE(fokus, (QStringList{"Text1", "Text2", "2"}));
    QCOMPARE(env.meldungen.texte().value(1),
             QStringLiteral("Möchten Sie Benutzername und Passwort jetzt speichern?"));
}

CLAVIDO_TEST_MAIN(TestRegistration)
#include "test_registration.moc"
