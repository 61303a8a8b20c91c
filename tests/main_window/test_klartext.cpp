#include "editor/form_daten.h"
#include "environment.h"
#include "form_helpers.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

namespace {

// "R" frame shown, "X" ticked, "E" enabled, "K" plain (else masked).
QString zustand(FormClavido& f) {
    QString z;
    z += f.Frame2->isVisible() ? u'R' : u'-';
    z += f.Check1->isChecked() ? u'X' : u'-';
    z += f.Check1->isEnabled() ? u'E' : u'-';
    z += widgets::passwordChar(f.Text5).isNull() ? u'K' : u'-';
    return z;
}

// A release of the mouse button over a box, as after selecting with the mouse.
void loslassen(QLineEdit* box) {
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(2, 2));
    QCoreApplication::processEvents();
}

} // namespace

class TestKlartext : public QObject {
    Q_OBJECT
private slots:
    void passwordAskedAgain_data();
    void passwordAskedAgain();
    void otherEntriesShowInPlainText();
    void hintsAndDate();
    void copyNeedsPlainTextAndASelection_data();
    void copyNeedsPlainTextAndASelection();
    void copiesTheLastSelection_data();
    void copiesTheLastSelection();
    void clipboardGuardAtTheEnd_data();
    void clipboardGuardAtTheEnd();
};

void TestKlartext::passwordAskedAgain_data() {
    QTest::addColumn<QStringList>("schritte");
    QTest::addColumn<QString>("danach");
    QTest::addColumn<QStringList>("meldungen");
    const QString falsch = QStringLiteral(". Versuch: Das Passwort ist ungültig!");
    QTest::newRow("tick asks") << QStringList{"tick"} << "RX--" << QStringList{};
    QTest::newRow("right") << QStringList{"tick", "pw"} << "-XEK" << QStringList{};
    QTest::newRow("outer blanks") << QStringList{"tick", "  pw "} << "-XEK" << QStringList{};
    QTest::newRow("enter") << QStringList{"tick", "enter pw"} << "-XEK" << QStringList{};
    QTest::newRow("empty") << QStringList{"tick", ""} << "--E-" << QStringList{};
    QTest::newRow("frame closed") << QStringList{"tick", "type x", "close"} << "--E-"
                                  << QStringList{};
    QTest::newRow("other case") << QStringList{"tick", "PW"} << "RX--" << QStringList{"1" + falsch};
    QTest::newRow("wrong, right") << QStringList{"tick", "x", "pw"} << "-XEK"
                                  << QStringList{"1" + falsch};
    QTest::newRow("third ends")
        << QStringList{"tick", "x", "x", "x"} << "--E-"
        << QStringList{"1" + falsch, "2" + falsch,
                       "3. Versuch: Das Passwort ist ungültig! Diese Funktion wird abgebrochen."};
    QTest::newRow("third ends, fourth starts at 1")
        << QStringList{"tick", "x", "x", "x", "tick", "x"} << "RX--"
        << QStringList{"1" + falsch, "2" + falsch,
                       "3. Versuch: Das Passwort ist ungültig! Diese Funktion wird abgebrochen.",
                       "1" + falsch};
    QTest::newRow("untick masks at once")
        << QStringList{"tick", "pw", "tick"} << "--E-" << QStringList{};
}

void TestKlartext::passwordAskedAgain() {
    QFETCH(QStringList, schritte);
    QFETCH(QString, danach);
    QFETCH(QStringList, meldungen);
    Umgebung env;
    Eintrag e{"anna", "pw", "Bank", "Konto"};
    e.konto = QStringLiteral("DE12");
    env.zeilen({e});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    QApplication::setActiveWindow(&f);
    for (const QString& schritt : schritte) {
        if (schritt == "tick") {
            f.Check1->click();
        } else if (schritt == "close") {
            f.Command10->click();
        } else if (schritt.startsWith("type ")) {
            f.Text7->setText(schritt.mid(5));
        } else if (schritt.startsWith("enter ")) {
            f.Text7->setText(schritt.mid(6));
            QTest::keyClick(f.Text7, Qt::Key_Return);
        } else {
            f.Text7->setText(schritt);
            f.Command9->click();
        }
    }
    QCOMPARE(zustand(f), danach);
    QCOMPARE(env.meldungen.texte(), meldungen);
    for (const Meldung& m : env.meldungen.meldungen)
        QCOMPARE(m.style, int(msg::Exclamation));
    QCOMPARE(f.Text5->text(), danach.endsWith(u'K') ? QStringLiteral("DE12")
                                                    : verschluesseln("DE12", kFeldSchluessel));
    QCOMPARE(f.Text7->text(), QString());
}

void TestKlartext::otherEntriesShowInPlainText() {
    Umgebung env;
    Eintrag a{"anna", "pw", "Bank", "A"}, b{"anna", "pw", "Bank", "B"};
    a.pin = QStringLiteral("1111");
    b.pin = QStringLiteral("2222");
    env.zeilen({a, b});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    klartextAnzeigen(f);
    QCOMPARE(f.Text4->text(), QStringLiteral("1111"));
    f.eintragWaehlen(QStringLiteral("B"));
    QCOMPARE(f.Text4->text(), QStringLiteral("2222"));
    QCOMPARE(f.Text4->displayText(), QStringLiteral("2222"));
}

void TestKlartext::hintsAndDate() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    QStringList hinweise;
    for (QWidget* w : {static_cast<QWidget*>(f.Check1), static_cast<QWidget*>(f.Text5),
                       static_cast<QWidget*>(f.Text4), static_cast<QWidget*>(f.Text9),
                       static_cast<QWidget*>(f.Text6), f.Text13->viewport(), f.centralWidget()}) {
        QMouseEvent bewegung(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &bewegung);
        hinweise << f.Label10->text();
    }
    QCOMPARE(hinweise,
             (QStringList{" Daten unverschlüsselt in Klartext anzeigen",
                          " Platz für erstes Geheimwort", " Platz für zweites Geheimwort",
                          " Platz für einen Zusatztext oder ein weiteres Geheimwort",
                          " Bezeichnung für den Eintrag", " Anmerkungen zu diesem Datensatz",
                          FormClavido::ruheHinweis()}));
    QVERIFY(FormClavido::ruheHinweis().startsWith(u' '));
    QCOMPARE(f.Label10->toolTip(), QStringLiteral(" Hinweise zum Programm "));

    const QString heute = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    QCOMPARE(f.Label11->text(), heute);
    QTest::mouseClick(f.Label11, Qt::LeftButton);
    QVERIFY(
        QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$")).match(f.Label11->text()).hasMatch());
    QTest::mouseClick(f.Label11, Qt::LeftButton);
    QCOMPARE(f.Label11->text(), heute);
}

void TestKlartext::copyNeedsPlainTextAndASelection_data() {
    QTest::addColumn<bool>("klartext");
    // "maus a n": characters a to a+n selected with the mouse, "setze a n" by
    // the program; anything else is a key pressed in the box.
    QTest::addColumn<QStringList>("schritte");
    QTest::addColumn<bool>("frei");
    QTest::newRow("masked, mouse") << false << QStringList{"maus 0 2"} << false;
    QTest::newRow("masked, keyboard") << false << QStringList{"Ctrl+A"} << false;
    QTest::newRow("mouse") << true << QStringList{"maus 1 2"} << true;
    QTest::newRow("by the program") << true << QStringList{"setze 1 2"} << false;
    QTest::newRow("a click leaves none") << true << QStringList{"maus 1 2", "maus 0 0"} << false;
    QTest::newRow("shift and arrow") << true << QStringList{"Home", "Shift+Right"} << true;
    QTest::newRow("shift and end") << true << QStringList{"Home", "Shift+End"} << true;
    QTest::newRow("select all") << true << QStringList{"Ctrl+A"} << true;
    QTest::newRow("an arrow leaves none") << true << QStringList{"Ctrl+A", "Right"} << false;
}

void TestKlartext::copyNeedsPlainTextAndASelection() {
    QFETCH(bool, klartext);
    QFETCH(QStringList, schritte);
    QFETCH(bool, frei);
    Umgebung env;
    Eintrag e{"anna", "pw", "Bank", "Konto"};
    e.pin = QStringLiteral("4711");
    env.zeilen({e});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    // What the window queued while loading runs before a user can select.
    QCoreApplication::processEvents();
    if (klartext)
        klartextAnzeigen(f);
    for (const QString& schritt : schritte) {
        const QStringList teile = schritt.split(u' ');
        if (teile[0] == "maus" || teile[0] == "setze") {
            f.Text4->setSelection(teile[1].toInt(), teile[2].toInt());
            if (teile[0] == "maus")
                loslassen(f.Text4);
        } else {
            const QKeyCombination taste = QKeySequence(schritt)[0];
            QTest::keyClick(f.Text4, taste.key(), taste.keyboardModifiers());
        }
    }
    QCOMPARE(f.Command12->isEnabled(), frei);
    QCOMPARE(f.menu_kopieren->isEnabled(), frei);
}

void TestKlartext::copiesTheLastSelection_data() {
    QTest::addColumn<QStringList>("auswahl"); // Text5, Text4, Text9
    QTest::addColumn<QString>("ablage");
    QTest::newRow("first and third") << QStringList{"DE", "", "bank"} << "bank";
    QTest::newRow("second only") << QStringList{"", "47", ""} << "47";
    QTest::newRow("none") << QStringList{"", "", ""} << "";
}

void TestKlartext::copiesTheLastSelection() {
    QFETCH(QStringList, auswahl);
    QFETCH(QString, ablage);
    Umgebung env;
    Eintrag e{"anna", "pw", "Bank", "Konto"};
    e.konto = QStringLiteral("DE12");
    e.pin = QStringLiteral("4711");
    e.zusatz = QStringLiteral("https://bank.example");
    env.zeilen({e});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    klartextAnzeigen(f);
    env.ablage.text = QStringLiteral("von vorher");
    const QList<QLineEdit*> boxen = {f.Text5, f.Text4, f.Text9};
    for (int i = 0; i < 3; ++i) {
        const qsizetype at = boxen[i]->text().indexOf(auswahl[i]);
        if (!auswahl[i].isEmpty())
            boxen[i]->setSelection(int(at), int(auswahl[i].size()));
    }
    f.Command12->setEnabled(true);
    f.Command12->click();
    QCOMPARE(env.ablage.text, ablage);
    QCOMPARE(env.meldungen.meldungen.size(), 1);
    const Meldung& m = env.meldungen.meldungen[0];
    QCOMPARE(m.title, QStringLiteral("lumoClavido"));
    QCOMPARE(m.style, int(msg::Exclamation));
    QCOMPARE(m.text,
             ablage.isEmpty()
                 ? QStringLiteral(
                       "Sie haben kein Geheimwort ausgewählt!  Bitte markieren Sie ein Geheimwort.")
                 : QStringLiteral("Das ausgewählte Geheimwort wurde in Klartext in die "
                                  "Zwischenablage kopiert!\r\n\r\nAchtung:  Vergessen Sie nicht, "
                                  "den Inhalt der Zwischenablage wieder zu löschen!"));
    QCOMPARE(env.app->sitzung.ablageBenutzt, qint16(ablage.isEmpty() ? 0 : 1));
    QCOMPARE(f.Command12->isEnabled(), ablage.isEmpty());
}

void TestKlartext::clipboardGuardAtTheEnd_data() {
    // How a secret was copied: by the program's command, or by the box itself.
    QTest::addColumn<QString>("kopie");
    // What another program left there since; "*" what the copy left there.
    QTest::addColumn<QString>("ablageDanach");
    QTest::addColumn<int>("antwort");
    QTest::addColumn<QString>("weg"); // how the window is closed
    QTest::addColumn<QStringList>("meldungen");
    QTest::addColumn<QString>("ablageAmEnde");
    const QString frage = QStringLiteral("Die Zwischenablage enthält Text, evtl. ein Geheimwort!"
                                         "\r\n\r\nSoll der Inhalt der Zwischenablage jetzt "
                                         "gelöscht werden?");
    const QString leer = QStringLiteral("Die Zwischenablage ist jetzt leer!");
    QTest::newRow("no copy") << ""
                             << "fremd" << 0 << "F5" << QStringList{} << "fremd";
    QTest::newRow("copy, emptied since") << "Kopieren"
                                         << "" << 0 << "F5" << QStringList{} << "";
    QTest::newRow("copy, yes") << "Kopieren"
                               << "47" << int(msg::Yes) << "F5" << QStringList{frage, leer} << "";
    QTest::newRow("copy, no") << "Kopieren"
                              << "47" << int(msg::No) << "button" << QStringList{frage} << "47";
    QTest::newRow("other text since, yes")
        << "Kopieren"
        << "fremd" << int(msg::Yes) << "close box" << QStringList{frage, leer} << "";
    QTest::newRow("ctrl+c, no") << "Ctrl+C"
                                << "*" << int(msg::No) << "F5" << QStringList{frage} << "47";
    QTest::newRow("ctrl+insert, yes")
        << "Ctrl+Ins"
        << "*" << int(msg::Yes) << "F5" << QStringList{frage, leer} << "";
    QTest::newRow("context menu, no") << "Kontextmenü"
                                      << "*" << int(msg::No) << "F5" << QStringList{frage} << "47";
    QTest::newRow("cut in the editor, no")
        << "Ctrl+X im Editor"
        << "*" << int(msg::No) << "F5" << QStringList{frage} << "geheim";
}

void TestKlartext::clipboardGuardAtTheEnd() {
    QFETCH(QString, kopie);
    QFETCH(QString, ablageDanach);
    QFETCH(int, antwort);
    QFETCH(QString, weg);
    QFETCH(QStringList, meldungen);
    QFETCH(QString, ablageAmEnde);
    Umgebung env;
    Eintrag e{"anna", "pw", "Bank", "Konto"};
    e.pin = QStringLiteral("4711");
    e.sichern = QStringLiteral("0");
    env.zeilen({e});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    if (!kopie.isEmpty()) {
        klartextAnzeigen(f);
        f.Text4->setSelection(0, 2);
    }
    if (kopie == "Kopieren") {
        f.menu_kopieren->setEnabled(true);
        f.menu_kopieren->trigger();
    } else if (kopie == "Kontextmenü") {
        QContextMenuEvent menue(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                f.Text4->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(f.Text4, &menue);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(popup);
        const QString kopieren = QCoreApplication::translate("QLineEdit", "&Copy");
        for (QAction* eintrag : popup->actions()) {
            if (eintrag->text().section(u'\t', 0, 0) == kopieren)
                eintrag->trigger();
        }
        popup->close();
    } else if (kopie == "Ctrl+X im Editor") {
        env.modal.erwarte<FormDaten>([](FormDaten& d) {
            d.Text2->setText(QStringLiteral("geheim"));
            d.Text2->selectAll();
            QTest::keyClick(d.Text2, Qt::Key_X, Qt::ControlModifier);
            d.Command1_Click();
        });
        f.menu_neu_Click();
    } else if (!kopie.isEmpty()) {
        const QKeyCombination taste = QKeySequence(kopie)[0];
        QTest::keyClick(f.Text4, taste.key(), taste.keyboardModifiers());
    }
    env.meldungen.meldungen.clear();
    if (ablageDanach != "*")
        env.ablage.text = ablageDanach;
    if (antwort)
        env.meldungen.antworte({msg::Answer(antwort)});
    QApplication::setActiveWindow(&f);
    if (weg == "F5")
        QTest::keyClick(&f, Qt::Key_F5);
    else if (weg == "button")
        f.Command1->click();
    else
        f.close();
    QCOMPARE(env.meldungen.texte(), meldungen);
    if (!meldungen.isEmpty()) {
        QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Critical | msg::YesNo));
        QCOMPARE(env.meldungen.meldungen[0].title, QStringLiteral("lumoClavido 6.1"));
    }
    QCOMPARE(env.ablage.text, ablageAmEnde);
    QCOMPARE(env.app->sitzung.endeModus, qint16(2));
    QCOMPARE(env.prozesse.beendet, 1);
    QVERIFY(env.hilfe.geschlossen > 0);
}

CLAVIDO_TEST_MAIN(TestKlartext)
#include "test_klartext.moc"
