#include "dateigrenze.h"
#include "environment.h"
#include "form_helpers.h"
#include "login/pwform.h"
#include "login/pwfrage.h"
#include "main_window/form_clavido.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

const QString kFalsch = QStringLiteral(". Versuch: Das Passwort ist ungültig!");
const QString kGespeichert = QStringLiteral("Benutzername und  Passwort wurden gespeichert!");

std::vector<Eintrag> zeilen(const QString& name = QStringLiteral("anna")) {
    return {{name, "alt", "Bank", "Konto"},
            {"bert", "b", "Bank", "Konto"},
            {name, "alt", "Web", "Mail"}};
}

// Opens the dialog, types the current password and then runs `danach`.
void oeffnen(Umgebung& env, const QString& passwort, std::function<void(pwform&)> danach) {
    env.modal.erwarte<pwform>([passwort, danach](pwform& d) {
        d.Text7->setText(passwort);
        d.Command9->click();
        if (d.isVisible() && danach)
            danach(d);
        if (d.isVisible())
            d.Command1->click();
    });
    env.app->formClavido().Command8->click();
}

} // namespace

class TestPwform : public QObject {
    Q_OBJECT
private slots:
    void asksThePasswordFirst();
    void countsAcrossOpenings();
    void passwordCharacters();
    void savesNameAndPassword_data();
    void savesNameAndPassword();
    void refusals_data();
    void refusals();
    void aFailureInTheMiddleChangesNoRow_data();
    void aFailureInTheMiddleChangesNoRow();
    void anotherCopyRenamedMeanwhile_data();
    void anotherCopyRenamedMeanwhile();
};

void TestPwform::asksThePasswordFirst() {
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "alt");
    QStringList zustand;
    env.modal.erwarte<pwform>([&](pwform& d) {
        zustand << QString::number(d.Frame2->isVisible()) << QString::number(d.Frame1->isVisible())
                << QString::number(d.Command3->isEnabled()) << d.Text3->text();
        zustand << (d.focusWidget() == d.Text7 ? "Text7" : "?");
        d.Text7->setText(" alt ");
        QTest::keyClick(d.Text7, Qt::Key_Return);
        zustand << QString::number(d.Frame2->isVisible()) << QString::number(d.Frame1->isVisible())
                << QString::number(d.Command3->isEnabled())
                << QString::number(d.Command4->isEnabled())
                << (d.focusWidget() == d.Text1 ? "Text1" : "?");
        d.Command4->click();
        zustand << d.Text1->text() + d.Text2->text() + d.Text3->text()
                << (d.focusWidget() == d.Text3 ? "Text3" : "?");
        d.Command1->click();
    });
    env.app->formClavido().menu_passwort->trigger();
    QCOMPARE(zustand, (QStringList{"1", "0", "0", "anna", "Text7", "0", "1", "1", "1", "Text1", "",
                                   "Text3"}));
    QVERIFY(env.meldungen.meldungen.isEmpty());
    // An empty current password closes the dialog without counting.
    oeffnen(env, "", {});
    QVERIFY(env.modal.alleErledigt());
    QCOMPARE(env.app->formPwform().versuch, qint16(1));
}

void TestPwform::countsAcrossOpenings() {
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "alt");
    oeffnen(env, "falsch", [](pwform& d) {
        d.Text7->setText("alt");
        d.Command9->click();
    });
    // The counter lives on: the next wrong password is the second, then the third ends.
    bool offen = true;
    env.modal.erwarte<pwform>([&](pwform& d) {
        for (int i = 0; i < 2; ++i) {
            d.Text7->setText("falsch");
            d.Command9->click();
        }
        offen = d.isVisible();
    });
    env.app->formClavido().Command8->click();
    QCOMPARE(
        env.meldungen.texte(),
        (QStringList{"1" + kFalsch, "2" + kFalsch,
                     "3. Versuch: Das Passwort ist ungültig! Diese Funktion wird abgebrochen."}));
    QVERIFY(!offen);
    QCOMPARE(env.app->formPwform().versuch, qint16(0));
    // "Rahmen ausblenden" starts the count again too.
    env.meldungen.meldungen.clear();
    env.modal.erwarte<pwform>([](pwform& d) {
        d.Text7->setText("falsch");
        d.Command9->click();
        d.Command10->click();
    });
    env.app->formClavido().Command8->click();
    QCOMPARE(env.app->formPwform().versuch, qint16(0));
}

void TestPwform::passwordCharacters() {
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "alt");
    QStringList zeichen;
    auto maske = [](QLineEdit* box) {
        const QChar c = widgets::passwordChar(box);
        return c.isNull() ? QStringLiteral("-") : QString(c);
    };
    oeffnen(env, "alt", [&](pwform& d) {
        zeichen << maske(d.Text1) + maske(d.Text2);
        d.Text7->setText("x");
        d.Check1->click();
        zeichen << maske(d.Text1) + maske(d.Text2) + d.Text7->text();
        d.Check1->click();
        zeichen << maske(d.Text1) + maske(d.Text2);
    });
    QCOMPARE(zeichen, (QStringList{"*#", "--", "**"}));
}

void TestPwform::savesNameAndPassword_data() {
    QTest::addColumn<QString>("vorher");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fragen");
    QTest::addColumn<QStringList>("meldungen");
    QTest::newRow("password only")
        << "anna"
        << "anna"
        << "1" << QStringList{"Benutzername und Passwort jetzt speichern?", kGespeichert};
    QTest::newRow("rename, no question") << "anna"
                                         << "Anna B."
                                         << "0" << QStringList{kGespeichert};
    // A name is stored as typed, whatever its characters.
    QTest::newRow("name outside the code page") << "anna"
                                                << "Łukasz"
                                                << "0" << QStringList{kGespeichert};
}

void TestPwform::savesNameAndPassword() {
    QFETCH(QString, vorher);
    QFETCH(QString, name);
    QFETCH(QString, fragen);
    QFETCH(QStringList, meldungen);
    Umgebung env;
    env.zeilen(zeilen(vorher));
    env.anmelden(vorher, "alt");
    env.app->sitzung.optFragen = fragen;
    FormClavido& f = env.app->formClavido();
    const QStringList listen = listenEintraege(f.Combo2) + listenEintraege(f.Combo1);
    env.meldungen.antworte({msg::Yes});
    oeffnen(env, "alt", [&](pwform& d) {
        d.Text3->setText(name);
        d.Text1->setText("neu 2");
        d.Text2->setText("neu 2");
        QTest::keyClick(d.Text2, Qt::Key_Return);
    });
    QCOMPARE(env.meldungen.texte(), meldungen);
    const auto rows = env.lesen();
    QCOMPARE(rawdb::spalte(rows, "Benutzer"), (QStringList{name, "bert", name}));
    const QString neu = verschluesseln("neu 2", kFeldSchluessel);
    QCOMPARE(rawdb::spalte(rows, "Passwort"),
             (QStringList{neu, verschluesseln("b", kFeldSchluessel), neu}));
    QCOMPARE(env.app->sitzung.aktBenutzer, name);
    QCOMPARE(f.windowTitle(), "lumoClavido 6.1  -  " + name);
    QCOMPARE(listenEintraege(f.Combo2) + listenEintraege(f.Combo1), listen);
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), f.Text6->text());

    // The next start needs the new password.
    env.app = std::make_unique<Clavido>(env.dienste, env.ordner.path());
    env.meldungen.meldungen.clear();
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        d.Combo1->setEditText(name);
        d.Textpwfrage->setText("alt");
        d.Command3_Click();
        d.Textpwfrage->setText("neu 2");
        d.Command3_Click();
    });
    env.app->formClavido().laden();
    QCOMPARE(env.meldungen.texte(), QStringList{"1" + kFalsch});
    QVERIFY(env.app->formClavido().isVisible());
}

void TestPwform::refusals_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pw1");
    QTest::addColumn<QString>("pw2");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("nothing") << ""
                             << ""
                             << ""
                             << "Sie haben noch keine Eingaben gemacht!";
    QTest::newRow("no repetition") << "anna"
                                   << "neu"
                                   << ""
                                   << "Sie müssen das Passwort 2 x eingegeben!";
    QTest::newRow("different") << "anna"
                               << "neu"
                               << "neo"
                               << "Ihre beiden Eingaben sind nicht identisch!";
    QTest::newRow("name of blanks")
        << "  "
        << "neu"
        << "neu"
        << "Bitte geben Sie einen Benutzernamen ein, der nicht nur aus Leerzeichen besteht!";
    QTest::newRow("password of blanks")
        << "anna"
        << "   "
        << "   "
        << "Das Passwort darf nicht nur aus Leerzeichen bestehen!\r\nBitte geben Sie ein Passwort "
           "mit Buchstaben, Ziffern oder Satzzeichen ein.";
    QTest::newRow("password the cipher cannot carry")
        << "anna"
        << "neuÿ"
        << "neuÿ"
        << "Das Passwort enthält das Zeichen \u201Eÿ\u201C, das nicht gespeichert werden kann.\r\n"
           "Bitte verwenden Sie nur Buchstaben, Ziffern und Satzzeichen des westeuropäischen "
           "Zeichensatzes (ohne \u201Eÿ\u201C).";
    QTest::newRow("another user's name")
        << "bert"
        << "neu"
        << "neu"
        << "Den Benutzernamen \u201Ebert\u201C gibt es bereits: Er gehört einem anderen "
           "Benutzer.\r\nBitte wählen Sie einen anderen Namen.";
}

void TestPwform::refusals() {
    QFETCH(QString, name);
    QFETCH(QString, pw1);
    QFETCH(QString, pw2);
    QFETCH(QString, meldung);
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "alt");
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    env.meldungen.antworte({msg::Yes});
    bool offen = false;
    oeffnen(env, "alt", [&](pwform& d) {
        d.Text3->setText(name);
        d.Text1->setText(pw1);
        d.Text2->setText(pw2);
        d.Command3->click();
        offen = d.isVisible();
    });
    QCOMPARE(env.meldungen.texte(), QStringList{meldung});
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation));
    QVERIFY(offen);
    QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    QCOMPARE(env.app->sitzung.aktBenutzer, QStringLiteral("anna"));
}

void TestPwform::aFailureInTheMiddleChangesNoRow_data() {
    QTest::addColumn<bool>("voll");
    QTest::addColumn<QString>("grund");
    // The second of anna's rows cannot be written.
    QTest::newRow("a row refused") << false << "Datenbankfehler 19.";
    QTest::newRow("disk full") << true << "Der Datenträger ist voll.";
}

void TestPwform::aFailureInTheMiddleChangesNoRow() {
    QFETCH(bool, voll);
    QFETCH(QString, grund);
    Umgebung env;
    env.zeilen(zeilen());
    if (!voll)
        rawdb::ausfuehren(
            env.dbPfad(),
            QStringLiteral("CREATE TRIGGER sperre BEFORE UPDATE ON Haupt WHEN old.rowid = "
                           "3 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    env.anmelden("anna", "alt");
    FormClavido& f = env.app->formClavido();
    const QStringList listen = listenEintraege(f.Combo2) + listenEintraege(f.Combo1);
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    env.meldungen.antworte({msg::Yes});
    bool offen = false;
    oeffnen(env, "alt", [&](pwform& d) {
        d.Text3->setText("anna neu");
        d.Text1->setText("neu");
        d.Text2->setText("neu");
        {
            Dateigrenze grenze(voll);
            d.Command3->click();
        }
        offen = d.isVisible();
    });
    QCOMPARE(env.meldungen.texte(),
             (QStringList{"Benutzername und Passwort jetzt speichern?",
                          "Benutzername und Passwort konnten nicht gespeichert werden.\r\n" +
                              grund + "\r\n\r\nEs wurde nichts geändert."}));
    QCOMPARE(env.meldungen.meldungen[1].style, int(msg::Exclamation));
    QVERIFY(offen);
    QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    QCOMPARE(env.app->sitzung.aktBenutzer, QStringLiteral("anna"));
    QCOMPARE(env.app->sitzung.aktPasswort, QStringLiteral("alt"));
    QCOMPARE(f.windowTitle(), QStringLiteral("lumoClavido 6.1  -  anna"));
    QCOMPARE(listenEintraege(f.Combo2) + listenEintraege(f.Combo1), listen);
    // The window still works on what the file holds.
    QCOMPARE(f.Daten1.Recordset().Fields("Benutzer").Value(), QStringLiteral("anna"));
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), f.Text6->text());
}

void TestPwform::anotherCopyRenamedMeanwhile_data() {
    QTest::addColumn<QString>("fremd");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("bert took the new name")
        << "UPDATE Haupt SET Benutzer = 'Neu' WHERE Benutzer = 'bert'"
        << "Neu"
        << "Den Benutzernamen \u201ENeu\u201C gibt es bereits: Er gehört einem anderen "
           "Benutzer.\r\nBitte wählen Sie einen anderen Namen.";
    const QString keine = QStringLiteral(
        "Benutzername und Passwort konnten nicht gespeichert werden.\r\nUnter dem Namen "
        "\u201Eanna\u201C sind keine Einträge mehr vorhanden: Ein anderes Programm hat sie "
        "inzwischen gelöscht oder umbenannt.\r\n\r\nEs wurde nichts geändert.");
    QTest::newRow("anna's rows renamed, rename")
        << "UPDATE Haupt SET Benutzer = 'x' WHERE Benutzer = 'anna'"
        << "anna2" << keine;
    QTest::newRow("anna's rows deleted, password") << "DELETE FROM Haupt WHERE Benutzer = 'anna'"
                                                   << "anna" << keine;
}

// Another copy writes while the dialog is open: the write decides on the file.
void TestPwform::anotherCopyRenamedMeanwhile() {
    QFETCH(QString, fremd);
    QFETCH(QString, name);
    QFETCH(QString, meldung);
    Umgebung env;
    env.zeilen(zeilen());
    env.anmelden("anna", "alt");
    env.meldungen.antworte({msg::Yes});
    QByteArray vorher;
    oeffnen(env, "alt", [&](pwform& d) {
        rawdb::ausfuehren(env.dbPfad(), fremd);
        vorher = rawdb::dateiInhalt(env.dbPfad());
        d.Text3->setText(name);
        d.Text1->setText("neu");
        d.Text2->setText("neu");
        d.Command3->click();
    });
    QCOMPARE(env.meldungen.texte(),
             (QStringList{"Benutzername und Passwort jetzt speichern?", meldung}));
    QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    QCOMPARE(env.app->sitzung.aktBenutzer, QStringLiteral("anna"));
}

CLAVIDO_TEST_MAIN(TestPwform)
#include "test_pwform.moc"
