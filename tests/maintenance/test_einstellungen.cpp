#include "environment.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_einstellungen.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kGesichert = QStringLiteral("Ihre Einstellungen wurden gesichert!");

// anna's and bert's rows interleaved, with these stored settings.
std::vector<Eintrag> zeilen(const QString& sichern, const QString& fragen) {
    std::vector<Eintrag> rows = {{"anna", "pw", "Bank", "Konto"},
                                 {"bert", "b", "Bank", "Depot"},
                                 {"anna", "pw", "Bank", "Karte"},
                                 {"bert", "b", "Web", "Mail"}};
    for (Eintrag& e : rows) {
        e.sichern = sichern;
        e.fragen = fragen;
    }
    return rows;
}

// Shows anna's second entry, so that the recordset does not stand on her first row.
FormClavido& zweiterEintrag(Umgebung& env) {
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
    QString result;
    for (const QRadioButton* o : {d.Option1, d.Option2, d.Option3, d.Option4})
        result += o->isChecked() ? o->text() + u' ' : QString();
    return result.trimmed();
}

QStringList spalte(const std::vector<RohZeile>& rows, const char* name) {
    QStringList result;
    for (const RohZeile& r : rows)
        result << r.value(name).toString();
    return result;
}

} // namespace

class TestEinstellungen : public QObject {
    Q_OBJECT
private slots:
    void captionsAndGroups();
    void opensWithTheStoredValues_data();
    void opensWithTheStoredValues();
    void closingWritesNothing_data();
    void closingWritesNothing();
    void savesEveryRow_data();
    void savesEveryRow();
    void aFailedSaveChangesNothing();
};

void TestEinstellungen::captionsAndGroups() {
    Umgebung env;
    env.zeilen(zeilen("1", "1"));
    env.anmelden("anna", "pw");
    QStringList texte;
    bool getrennt = false;
    oeffnen(env, [&](FormEinstellungen& d) {
        texte << d.windowTitle() << d.Frame1->title() << d.Label1->text() << d.Option1->text()
              << d.Option2->text() << d.Label2->text() << d.Frame2->title() << d.Option3->text()
              << d.Option4->text() << d.Command1->text() << d.Command2->text();
        texte << d.Option1->parentWidget()->accessibleName() << d.Frame2->accessibleName();
        for (QWidget* w :
             {(QWidget*)d.Frame1, (QWidget*)d.Label1, (QWidget*)d.Label2, (QWidget*)d.Frame2})
            texte << w->font().family();
        // Choosing in one group leaves the other as it was.
        d.Option2->click();
        d.Option4->click();
        getrennt = gewaehlt(d) == QStringLiteral("Nein nein");
        d.Command1->click();
    });
    QCOMPARE(texte,
             (QStringList{"lumoClavido 6.1", " Einstellungen ",
                          "             Bei Programmende      Datenbankdatei sichern bzw. wieder "
                          "herstellen",
                          "Ja", "Nein", "               Rückfragen vor Auführen einer Funktion", "",
                          "ja", "nein", " Fenster schließen ", " Einstellung speichern ",
                          "Bei Programmende Datenbankdatei sichern bzw. wieder herstellen",
                          "Rückfragen vor Auführen einer Funktion", "Arial", "Arial", "Arial",
                          "Arial"}));
    QVERIFY(getrennt);
}

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
    env.zeilen(zeilen(gespeichert, gespeichert));
    env.anmelden("anna", "pw");
    zweiterEintrag(env);
    Sitzung& s = env.app->sitzung;
    s.optSichern = QStringLiteral("x");
    s.optFragen = QStringLiteral("x");
    QString gezeigt;
    oeffnen(env, [&](FormEinstellungen& d) {
        gezeigt = gewaehlt(d);
        d.Command1->click();
    });
    QCOMPARE(gezeigt, auswahl);
    QCOMPARE(s.optFragen, optFragen);
    QCOMPARE(s.optSichern, QStringLiteral("x"));
}

void TestEinstellungen::closingWritesNothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow(" Fenster schließen ") << false;
    QTest::newRow("Escape") << true;
}

void TestEinstellungen::closingWritesNothing() {
    QFETCH(bool, escape);
    Umgebung env;
    env.zeilen(zeilen("1", "1"));
    env.anmelden("anna", "pw");
    const QByteArray vorher = rawdb::dateiInhalt(env.dbPfad());
    bool zu = false;
    oeffnen(env, [&](FormEinstellungen& d) {
        d.Option2->click();
        d.Option4->click();
        if (escape)
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            d.Command1->click();
        zu = !d.isVisible();
    });
    QVERIFY(zu);
    QCOMPARE(env.app->sitzung.optFragen, QStringLiteral("0"));
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("1"));
    QVERIFY(env.meldungen.meldungen.isEmpty());
    QCOMPARE(rawdb::dateiInhalt(env.dbPfad()), vorher);
    // The next opening shows the file's values again.
    QString gezeigt;
    oeffnen(env, [&](FormEinstellungen& d) {
        gezeigt = gewaehlt(d);
        d.Command1->click();
    });
    QCOMPARE(gezeigt, QStringLiteral("Ja ja"));
    QCOMPARE(env.app->sitzung.optFragen, QStringLiteral("1"));
}

void TestEinstellungen::savesEveryRow_data() {
    QTest::addColumn<QString>("gespeichert");
    QTest::addColumn<bool>("ja");
    QTest::addColumn<QString>("neu");
    QTest::newRow("off") << "1" << false << "0";
    QTest::newRow("on") << "3" << true << "1";
}

// Every row of every user gets the new values; the shown entry stays current.
void TestEinstellungen::savesEveryRow() {
    QFETCH(QString, gespeichert);
    QFETCH(bool, ja);
    QFETCH(QString, neu);
    Umgebung env;
    env.zeilen(zeilen(gespeichert, gespeichert));
    env.anmelden("anna", "pw");
    FormClavido& f = zweiterEintrag(env);
    const db::Mark vorher = f.Daten1.Recordset().Bookmark();
    bool zu = false;
    oeffnen(env, [&](FormEinstellungen& d) {
        (ja ? d.Option1 : d.Option2)->click();
        (ja ? d.Option3 : d.Option4)->click();
        d.Command2->click();
        zu = !d.isVisible();
    });
    QVERIFY(zu);
    QCOMPARE(env.meldungen.texte(), QStringList{kGesichert});
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation));
    const auto rows = env.lesen();
    QCOMPARE(spalte(rows, "Sichern"), QStringList(4, neu));
    QCOMPARE(spalte(rows, "fragen"), QStringList(4, neu));
    const Sitzung& s = env.app->sitzung;
    QCOMPARE(s.optSichern, neu);
    QCOMPARE(s.optFragen, neu);
    QCOMPARE(s.merkBookmark, vorher);
    db::Recordset& rs = f.Daten1.Recordset();
    QCOMPARE(rs.Bookmark(), vorher);
    QCOMPARE(rs.Fields("Bezeichnung").Value(), f.Text6->text());
    QCOMPARE(rs.Fields("Sichern").Value(), neu);
}

void TestEinstellungen::aFailedSaveChangesNothing() {
    Umgebung env;
    env.zeilen(zeilen("1", "1"));
    // anna's second row cannot be written; the first two already were.
    rawdb::ausfuehren(env.dbPfad(),
                      QStringLiteral("CREATE TRIGGER sperre BEFORE UPDATE ON Haupt WHEN old.rowid "
                                     "= 3 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    env.anmelden("anna", "pw");
    FormClavido& f = zweiterEintrag(env);
    const db::Mark vorher = f.Daten1.Recordset().Bookmark();
    const auto zeilenVorher = env.lesen();
    bool offen = false;
    oeffnen(env, [&](FormEinstellungen& d) {
        d.Option2->click();
        d.Option4->click();
        d.Command2->click();
        offen = d.isVisible();
        d.Command1->click();
    });
    QCOMPARE(env.meldungen.meldungen.size(), 1);
    const QString text = env.meldungen.texte()[0];
    const QString anfang =
        QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\r\n");
    const QString ende = QStringLiteral("\r\n\r\nEs wurde nichts geändert.");
    const QString grund = text.mid(anfang.size(), text.size() - anfang.size() - ende.size());
    QVERIFY2(text.startsWith(anfang) && text.endsWith(ende) && !grund.trimmed().isEmpty(),
             qPrintable(text));
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation));
    QVERIFY(offen);
    QCOMPARE(env.lesen(), zeilenVorher);
    // optFragen keeps what the click on "nein" had made it before saving.
    QCOMPARE(env.app->sitzung.optSichern, QStringLiteral("1"));
    QCOMPARE(env.app->sitzung.optFragen, QStringLiteral("0"));
    db::Recordset& rs = f.Daten1.Recordset();
    QCOMPARE(rs.Bookmark(), vorher);
    QCOMPARE(rs.Fields("Bezeichnung").Value(), f.Text6->text());
    QCOMPARE(rs.Fields("Sichern").Value(), QStringLiteral("1"));
}

CLAVIDO_TEST_MAIN(TestEinstellungen)
#include "test_einstellungen.moc"
