#include "dateigrenze.h"
#include "environment.h"
#include "fremdes_programm.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_einstellungen.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// anna's and bert's rows interleaved, all with these stored settings; anna
// signed in, her second entry shown, so that the recordset is not on her first row.
FormClavido& vorbereiten(Umgebung& env, const QString& gespeichert, const QString& sperre = {}) {
    std::vector<Eintrag> rows = {{"anna", "pw", "Bank", "Konto"},
                                 {"bert", "b", "Bank", "Depot"},
                                 {"anna", "pw", "Bank", "Karte"},
                                 {"bert", "b", "Web", "Mail"}};
    for (Eintrag& e : rows)
        e.sichern = e.fragen = gespeichert;
    env.zeilen(rows);
    if (!sperre.isEmpty())
        rawdb::ausfuehren(env.dbPfad(), sperre);
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    f.Combo1->setCurrentIndex(1);
    f.Combo1_Click();
    return f;
}

void oeffnen(Umgebung& env, std::function<void(FormEinstellungen&)> schritt) {
    env.modal.erwarte<FormEinstellungen>(std::move(schritt));
    env.app->formClavido().menu_einstellungen->trigger();
    QVERIFY(env.modal.alleErledigt());
}

QString gewaehlt(const FormEinstellungen& d) {
    QStringList result;
    for (const QRadioButton* o : {d.Option1, d.Option2, d.Option3, d.Option4})
        if (o->isChecked())
            result << o->text();
    return result.join(u' ');
}

} // namespace

class TestEinstellungen : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheStoredValues_data();
    void opensWithTheStoredValues();
    void closingWritesNothing_data();
    void closingWritesNothing();
    void saving_data();
    void saving();
};

void TestEinstellungen::opensWithTheStoredValues_data() {
    QTest::addColumn<QString>("gespeichert");
    QTest::addColumn<QString>("auswahl");
    QTest::addColumn<QString>("optFragen");
    QTest::newRow("1") << "1"
                       << "Ja ja"
                       << "1";
    QTest::newRow("0") << "0"
                       << "Nein nein"
                       << "0";
    QTest::newRow("3") << "3"
                       << "Nein nein"
                       << "0";
    QTest::newRow("empty") << ""
                           << "Nein nein"
                           << "0";
}

// The dialog shows the current row, and the loading already sets optFragen.
void TestEinstellungen::opensWithTheStoredValues() {
    QFETCH(QString, gespeichert);
    QFETCH(QString, auswahl);
    QFETCH(QString, optFragen);
    Umgebung env;
    vorbereiten(env, gespeichert);
    Sitzung& s = env.app->sitzung;
    s.optSichern = s.optFragen = QStringLiteral("x");
    QString gezeigt;
    QStringList texte;
    oeffnen(env, [&](FormEinstellungen& d) {
        gezeigt = gewaehlt(d);
        texte << d.windowTitle() << d.Frame1->title() << d.Label1->text() << d.Label2->text()
              << d.Frame2->title() << d.Command1->text() << d.Command2->text()
              << d.Option1->parentWidget()->accessibleName() << d.Frame2->accessibleName()
              << d.Label1->font().family() + d.Frame2->font().family();
        d.Command1->click();
    });
    QCOMPARE(gezeigt, auswahl);
    QCOMPARE(s.optFragen, optFragen);
    QCOMPARE(s.optSichern, QStringLiteral("x"));
    QCOMPARE(texte, (QStringList{"lumoClavido 6.1", " Einstellungen ",
                                 "             Bei Programmende      Datenbankdatei sichern bzw. "
                                 "wieder herstellen",
                                 "               Rückfragen vor Auführen einer Funktion", "",
                                 " Fenster schließen ", " Einstellung speichern ",
                                 "Bei Programmende Datenbankdatei sichern bzw. wieder herstellen",
                                 "Rückfragen vor Auführen einer Funktion", "ArialArial"}));
}

void TestEinstellungen::closingWritesNothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow(" Fenster schließen ") << false;
    QTest::newRow("Escape") << true;
}

void TestEinstellungen::closingWritesNothing() {
    QFETCH(bool, escape);
    Umgebung env;
    vorbereiten(env, "1");
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    QStringList gezeigt;
    oeffnen(env, [&](FormEinstellungen& d) {
        d.Option2->click();
        d.Option4->click();
        gezeigt << gewaehlt(d);
        if (escape)
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            d.Command1->click();
        gezeigt << QString::number(d.isVisible());
    });
    QCOMPARE(env.app->sitzung.optFragen, QStringLiteral("0"));
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("1"));
    QVERIFY(env.meldungen.meldungen.isEmpty());
    QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    // The next opening shows the file's values again.
    oeffnen(env, [&](FormEinstellungen& d) {
        gezeigt << gewaehlt(d);
        d.Command1->click();
    });
    QCOMPARE(gezeigt, (QStringList{"Nein nein", "0", "Ja ja"}));
}

void TestEinstellungen::saving_data() {
    QTest::addColumn<QString>("gespeichert");
    QTest::addColumn<bool>("ja");
    QTest::addColumn<QString>("sperre");
    QTest::addColumn<bool>("voll");             // the disk is full at the click
    QTest::addColumn<QString>("anderes");       // what another program writes after the sign-in
    QTest::addColumn<QStringList>("zeilen");    // Sichern and fragen of each row afterwards
    QTest::addColumn<QStringList>("variablen"); // optSichern, optFragen afterwards
    QTest::addColumn<QString>("meldung");
    const QString gesichert = QStringLiteral("Ihre Einstellungen wurden gesichert!");
    const QString nichts =
        QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\r\n%1"
                       "\r\n\r\nEs wurde nichts geändert.");
    QTest::newRow("off") << "1" << false << QString() << false << QString() << QStringList(8, "0")
                         << QStringList{"0", "0"} << gesichert;
    QTest::newRow("on, every user") << "3" << true << QString() << false << QString()
                                    << QStringList(8, "1") << QStringList{"1", "1"} << gesichert;
    QTest::newRow("a row another program added meanwhile")
        << "1" << false << QString() << false
        << "INSERT INTO Haupt (Benutzer, Sichern, fragen) VALUES ('carl', '1', '1')"
        << QStringList(10, "0") << QStringList{"0", "0"} << gesichert;
    // anna's second row cannot be written, after two rows already were: none
    // changes, and optFragen keeps what the click on "nein" made it.
    QTest::newRow("a row cannot be written")
        << "1" << false
        << "CREATE TRIGGER sperre BEFORE UPDATE ON Haupt WHEN old.rowid = 3 BEGIN "
           "SELECT RAISE(ABORT, 'gesperrt'); END"
        << false << QString() << QStringList(8, "1") << QStringList{"1", "0"}
        << nichts.arg("Datenbankfehler 19.");
    QTest::newRow("disk full") << "1" << false << QString() << true << QString()
                               << QStringList(8, "1") << QStringList{"1", "0"}
                               << nichts.arg("Der Datenträger ist voll.");
}

void TestEinstellungen::saving() {
    QFETCH(QString, gespeichert);
    QFETCH(bool, ja);
    QFETCH(QString, sperre);
    QFETCH(bool, voll);
    QFETCH(QString, anderes);
    QFETCH(QStringList, zeilen);
    QFETCH(QStringList, variablen);
    QFETCH(QString, meldung);
    Umgebung env;
    FormClavido& f = vorbereiten(env, gespeichert, sperre);
    const db::Mark vorher = f.Daten1.Recordset().Bookmark();
    if (!anderes.isEmpty())
        QVERIFY(anderesProgramm(env.dbPfad(), anderes));
    const QByteArray datei = rawdb::dateiInhalt(env.dbPfad());
    bool offen = false;
    oeffnen(env, [&](FormEinstellungen& d) {
        (ja ? d.Option1 : d.Option2)->click();
        (ja ? d.Option3 : d.Option4)->click();
        {
            Dateigrenze grenze(voll);
            d.Command2->click();
        }
        offen = d.isVisible();
        d.Command1->click();
    });
    QCOMPARE(env.meldungen.texte(), QStringList{meldung});
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation));
    const bool fehler = !sperre.isEmpty() || voll;
    QCOMPARE(offen, fehler);
    if (fehler)
        QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), datei);
    QStringList gelesen;
    for (const RohZeile& r : env.lesen())
        gelesen << r.value("Sichern").toString() << r.value("fragen").toString();
    QCOMPARE(gelesen, zeilen);
    const Sitzung& s = env.app->sitzung;
    QCOMPARE((QStringList{s.optSichern, s.optFragen}), variablen);
    QCOMPARE(s.merkBookmark, vorher);
    // Back on the shown entry, with what the file holds.
    db::Recordset& rs = f.Daten1.Recordset();
    QCOMPARE(rs.Bookmark(), vorher);
    QCOMPARE(rs.Fields("Bezeichnung").Value(), f.Text6->text());
    QCOMPARE(rs.Fields("Sichern").Value(), zeilen[4]);
}

CLAVIDO_TEST_MAIN(TestEinstellungen)
#include "test_einstellungen.moc"
