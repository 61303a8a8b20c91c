#include "editor/form_daten.h"
#include "environment.h"
#include "form_helpers.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

struct Zustand {
    QString rahmen, kategorie, text1, text2, text10, text11, text12, label6, label9, text14;
    bool text1Frei = false, speichernFrei = false;
    QStringList kategorien;
};

Zustand zustand(FormDaten& d) {
    Zustand z;
    z.rahmen = d.Frame1->title();
    z.kategorie = d.Combo1->currentText();
    z.text1 = d.Text1->text();
    z.text2 = d.Text2->text();
    z.text10 = d.Text10->text();
    z.text11 = d.Text11->text();
    z.text12 = d.Text12->text();
    z.label6 = d.Label6->text();
    z.label9 = d.Label9->text();
    z.text14 = d.Text14->toPlainText();
    z.text1Frei = d.Text1->isEnabled();
    z.speichernFrei = d.Command2->isEnabled();
    for (int i = 0; i < d.Combo1->count(); ++i)
        z.kategorien << d.Combo1->itemText(i);
    return z;
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void newEntryMode();
    void editMode();
    void editNeedsPlainText();
    void categoriesOfTheUserInTableOrder();
    void saveNeedsEveryInput_data();
    void saveNeedsEveryInput();
    void limits();
    void closeChangesNothing();
    void everyOpeningStartsInTheCategory();
};

void TestEditor::newEntryMode() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    Zustand z;
    QList<QWidget*> tabs;
    bool reihenfolge = true;
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        z = zustand(d);
        QWidget* w = d.Combo1;
        for (int i = 0; i < 12; ++i, w = w->nextInFocusChain()) {
            while (w->focusPolicy() == Qt::NoFocus || w->parentWidget() == d.Combo1)
                w = w->nextInFocusChain();
            tabs << w;
        }
        auto oben = [&d](QWidget* w) { return w->mapTo(&d, QPoint(0, 0)); };
        // Top to bottom, then the caption boxes in a row, then the buttons.
        const QList<QWidget*> spalte = {d.Combo1, d.Text1,  d.Text2,  d.Text3,
                                        d.Text8,  d.Text14, d.Text10, d.Command2};
        for (int i = 1; i < spalte.size(); ++i)
            reihenfolge = reihenfolge && oben(spalte[i - 1]).y() < oben(spalte[i]).y();
        reihenfolge =
            reihenfolge && oben(d.Text11).y() == oben(d.Text10).y() &&
            oben(d.Text12).y() == oben(d.Text10).y() && oben(d.Label12).x() < oben(d.Text10).x() &&
            oben(d.Text10).x() < oben(d.Text11).x() &&
            oben(d.Command11).x() < oben(d.Command2).x() &&
            oben(d.Command2).x() < oben(d.Command1).x() && oben(d.Command1).x() > d.width() / 2;
        d.Command11->click();
        d.Command1_Click();
    });
    env.app->formClavido().Command4->click();
    QVERIFY(reihenfolge);
    QCOMPARE(z.rahmen, QStringLiteral("Neuen Datensatz anlegen"));
    QCOMPARE(z.text10, QStringLiteral("Konto-Nr / User- ID"));
    QCOMPARE(z.text11, QStringLiteral("PIN / Kennwort"));
    QCOMPARE(z.text12, QStringLiteral("URL"));
    QCOMPARE(z.label6, QStringLiteral("Konto-Nr / User-ID"));
    QCOMPARE(z.label9, QStringLiteral("URL"));
    QCOMPARE(z.text1, QString());
    QCOMPARE(z.kategorie, QString());
    QVERIFY(z.text1Frei);
    QVERIFY(!z.speichernFrei);
    QCOMPARE(env.app->sitzung.datenModus, qint16(1));
    QCOMPARE(env.app->sitzung.listenAktion, qint16(2));
    QCOMPARE(env.app->sitzung.eingabeAktiv, qint16(0));
    QCOMPARE(env.hilfe.geoeffnet, 1);
    FormDaten& d = env.app->formDaten();
    QCOMPARE(tabs,
             (QList<QWidget*>{d.Combo1, d.Text1, d.Text2, d.Text3, d.Text8, d.Text14, d.Text10,
                              d.Text11, d.Text12, d.Command2, d.Command11, d.Command1}));
}

void TestEditor::editMode() {
    Umgebung env;
    Eintrag e{"anna", "pw", "Bank", "Konto"};
    e.konto = QStringLiteral("DE12 3456");
    e.pin = QStringLiteral("4711");
    e.zusatz = QStringLiteral("https://bank.example");
    e.bezeichnung1 = QStringLiteral("<u>IBAN</u>");
    e.bemerkungen = QStringLiteral("Girokonto");
    env.zeilen({{"anna", "pw", "Web", "Mail"}, e});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    klartextAnzeigen(f);
    Zustand z;
    QString pin, zusatz;
    bool plain = true;
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        z = zustand(d);
        pin = d.Text3->text();
        for (QLabel* label : {d.Label6, d.Label7, d.Label9})
            plain = plain && label->textFormat() == Qt::PlainText;
        zusatz = d.Text8->text();
        d.Command1_Click();
    });
    f.Command5->click();
    QCOMPARE(z.rahmen, QStringLiteral("Datensatz editieren"));
    QCOMPARE(z.kategorie, QStringLiteral("Bank"));
    QCOMPARE(z.text1, QStringLiteral("Konto"));
    QCOMPARE(z.text2, QStringLiteral("DE12 3456"));
    QCOMPARE(pin, QStringLiteral("4711"));
    QCOMPARE(zusatz, QStringLiteral("https://bank.example"));
    QCOMPARE(z.text10, QStringLiteral("<u>IBAN</u>"));
    QCOMPARE(z.label6, QStringLiteral("<u>IBAN</u>"));
    QVERIFY(plain);
    QCOMPARE(z.text14, QStringLiteral("Girokonto"));
    QVERIFY(!z.text1Frei);
    QVERIFY(z.speichernFrei);
    QCOMPARE(z.kategorien, (QStringList{"Web", "Bank"}));
    QCOMPARE(env.app->sitzung.datenModus, qint16(2));
    QCOMPARE(env.app->sitzung.merkBookmark, db::Mark(2));
    // Closed: the next opening starts from the stored state.
    FormDaten& d = env.app->formDaten();
    QVERIFY(d.Text1->isEnabled());
    QCOMPARE(d.Text10->text(), QStringLiteral("Konto-Nr / User- ID"));
    QCOMPARE(d.Frame1->title(), QStringLiteral(" Datensatz editieren "));
    d.Unload();
}

void TestEditor::editNeedsPlainText() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    env.app->formClavido().menu_edit->trigger();
    QCOMPARE(env.meldungen.texte(),
             QStringList{"Sie müssen zuerst die Daten in Klartext umwandeln!     "});
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation));
    QVERIFY(!env.app->hatFormDaten() || !env.app->formDaten().isVisible());
    QVERIFY(env.modal.ungeplant.isEmpty());
}

void TestEditor::categoriesOfTheUserInTableOrder() {
    Umgebung env;
    env.zeilen({{"bert", "pw", "Fremd", "x"},
                {"anna", "pw", "Web", "a"},
                {"anna", "pw", "bank", "b"},
                {"bert", "pw", "Bank", "y"},
                {"anna", "pw", "Bank", "c"},
                {"anna", "pw", "Web", "d"},
                {"anna", "pw", "Bank ", "e"}});
    env.anmelden("anna", "pw");
    Zustand z;
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        z = zustand(d);
        d.Command1_Click();
    });
    env.app->formClavido().menu_neu->trigger();
    QCOMPARE(z.kategorien, (QStringList{"Web", "bank", "Bank", "Bank "}));
    QCOMPARE(z.kategorie, QString());
}

void TestEditor::saveNeedsEveryInput_data() {
    QTest::addColumn<int>("feld");
    const QStringList namen = {"Combo1", "Text1",  "Text2",  "Text3", "Text8",
                               "Text14", "Text10", "Text11", "Text12"};
    for (int i = 0; i < namen.size(); ++i)
        QTest::newRow(qPrintable(namen[i])) << i;
}

void TestEditor::saveNeedsEveryInput() {
    QFETCH(int, feld);
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    QList<bool> frei;
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        auto setze = [&](int i, const QString& t) {
            if (i == 0)
                d.Combo1->setEditText(t);
            else if (i == 5)
                d.Text14->setPlainText(t);
            else
                QList<QLineEdit*>{d.Text1, d.Text2,  d.Text3,  d.Text8,
                                  nullptr, d.Text10, d.Text11, d.Text12}[i - 1]
                    ->setText(t);
        };
        for (int i = 0; i < 9; ++i)
            setze(i, QStringLiteral(" "));
        frei << d.Command2->isEnabled(); // blanks count as content
        setze(feld, QString());
        frei << d.Command2->isEnabled();
        setze(feld, QStringLiteral("x"));
        frei << d.Command2->isEnabled();
        if (feld == 0) {
            // Choosing a category from the list counts as well.
            d.Combo1->setEditText(QString());
            d.Combo1->setCurrentIndex(0);
            frei << d.Command2->isEnabled();
        }
        d.Command1_Click();
    });
    env.app->formClavido().menu_neu->trigger();
    QCOMPARE(frei.mid(0, 3), (QList<bool>{true, false, true}));
    if (feld == 0)
        QCOMPARE(frei.value(3), true);
}

void TestEditor::limits() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    QList<int> laengen;
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        for (QLineEdit* box : {d.Text1, d.Text2, d.Text3, d.Text8, d.Text10, d.Text11, d.Text12}) {
            box->clear();
            box->insert(QString(400, u'x'));
            laengen << int(box->text().size());
        }
        d.Text14->insertPlainText(QString(290, u'a'));
        d.Text14->moveCursor(QTextCursor::Start);
        d.Text14->insertPlainText(QStringLiteral("0123456789ABCDEF"));
        laengen << int(d.Text14->toPlainText().size());
        // What went past the limit is the end of what was typed.
        laengen << (d.Text14->toPlainText().startsWith(QStringLiteral("0123456789a")) ? 1 : 0);
        d.Combo1->setEditText(QString(400, u'k'));
        laengen << int(d.Combo1->currentText().size());
        d.Command1_Click();
    });
    env.app->formClavido().menu_neu->trigger();
    QCOMPARE(laengen, (QList<int>{30, 150, 150, 150, 50, 50, 50, 300, 1, 400}));
}

void TestEditor::closeChangesNothing() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}, {"anna", "pw", "Bank", "Depot"}});
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    f.eintragWaehlen(QStringLiteral("Konto"));
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    env.modal.erwarte<FormDaten>([&](FormDaten& d) {
        d.Combo1->setEditText("Neu");
        d.Text1->setText("Neu");
        d.Text2->setText("1");
        d.Text3->setText("2");
        d.Text8->setText("3");
        d.Text14->setPlainText("4");
        d.close(); // the window's close box
    });
    f.menu_neu->trigger();
    QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    QCOMPARE(f.Text6->text(), QStringLiteral("Konto"));
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), QStringLiteral("Konto"));
    QCOMPARE(env.app->sitzung.eingabeAktiv, qint16(0));
    QVERIFY(env.meldungen.meldungen.isEmpty());
}

void TestEditor::everyOpeningStartsInTheCategory() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    QList<bool> amAnfang;
    for (int i = 0; i < 2; ++i) {
        env.modal.erwarte<FormDaten>([&](FormDaten& d) {
            QApplication::setActiveWindow(&d);
            QTest::qWait(20);
            amAnfang << (d.focusWidget() == d.Combo1 && d.Combo1->hasFocus() &&
                         d.testAttribute(Qt::WA_KeyboardFocusChange));
            // Left from the close button: the next opening must not start there.
            d.Command1->setFocus();
            d.Command1_Click();
        });
        env.app->formClavido().menu_neu->trigger();
    }
    QCOMPARE(amAnfang, (QList<bool>{true, true}));
}

CLAVIDO_TEST_MAIN(TestEditor)
#include "test_editor.moc"
