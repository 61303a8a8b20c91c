#include "environment.h"
#include "main_window/form_clavido.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {

const QString kWarnung =
    QStringLiteral("Vorsicht!\r\n\r\nDas Drucken der Liste gefährdet die Geheimhaltung!     \r\n"
                   "Möchten Sie die Liste trotzdem drucken?");
const QString kKopfzeile = QStringLiteral(
    "          Bezeichnung                     Geheimwort 1                    Geheimwort 2    "
    "                Zusatz                          Anmerkung                     \r\n");
const QString kTrenner = QString(10, u' ') + QString(158, u'_') + QStringLiteral("\r\n\r\n");

// An entry line from values as they must appear, each at most 30 characters.
QString zeile(const QStringList& werte) {
    QString z(10, u' ');
    for (const QString& wert : werte) {
        Q_ASSERT(wert.size() <= 30);
        z += wert.leftJustified(30, u' ') + QStringLiteral("  ");
    }
    z.chop(2);
    return z + QStringLiteral("\r\n");
}

QString dokument(const QString& rumpf) {
    return QStringLiteral("\r\n          LISTE Geheimwörter vom  ") +
           QDate::currentDate().toString(QStringLiteral("dd.MM.yy")) +
           QStringLiteral("  für Benutzer:  anna\r\n\r\n") + kTrenner + kKopfzeile + kTrenner +
           rumpf + kTrenner +
           QStringLiteral("\r\n\r\n          Vorsicht!  Bewahren Sie diese Liste an einem "
                          "sicheren Platz auf!");
}

QString ausgabe(const QString& programm, const QStringList& argumente) {
    QProcess p;
    p.start(programm, argumente);
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString ohneEndBlanks(QString zeile) {
    return zeile.remove(QRegularExpression(QStringLiteral("\\s+$")));
}

} // namespace

class TestDrucken : public QObject {
    Q_OBJECT
private slots:
    void printsTheList_data();
    void printsTheList();
    void warningAndPrinterAnswer_data();
    void warningAndPrinterAnswer();
    void printsLandscapeColumnsIntoPdf();
};

void TestDrucken::printsTheList_data() {
    QTest::addColumn<bool>("ohneKategorien");
    QTest::addColumn<QString>("rumpf");
    QTest::newRow("two categories")
        << false
        << QStringLiteral("\r\n          Kategorie = Bank\r\n\r\n") +
               zeile({"Girokonto", "DE02 1203 0000 0000 2020 5100", "", "https://bank.example",
                      "Dies ist eine Bemerkung mit me"}) +
               zeile({"", "0000 00", "", "", "hr als dreißig Zeichen"}) +
               zeile({"Depot", "4711", "0815", "", "Zeile eins Zeile zwei  Ende"}) + kTrenner +
               QStringLiteral("          Kategorie = Web\r\n\r\n") +
               zeile({"Mail", "anna@example.org", "geheim", "https://mail.example",
                      QStringLiteral("Nur 29 Zeichen vor dem Smiley")}) +
               zeile({"", "", "", "", QStringLiteral("\U0001F600 und mehr")}) +
               zeile({"Router", "", "Ein.sehr_langes-Passwort#2024!", QString(30, u'x'), ""}) +
               zeile({"", "", "xyz", QString(30, u'y'), ""}) + zeile({"", "", "", "z", ""});
    QTest::newRow("no categories") << true << QString();
}

void TestDrucken::printsTheList() {
    QFETCH(bool, ohneKategorien);
    QFETCH(QString, rumpf);
    Umgebung env;
    env.zeilen({
        {"anna", "pw", "Web", "Mail", "anna@example.org", "geheim", "https://mail.example",
         QStringLiteral("Nur 29 Zeichen vor dem Smiley\U0001F600 und mehr")},
        {"bert", "pw", "Bank", "Konto von bert"},
        {"anna", "pw", "Bank", "Girokonto", "DE02 1203 0000 0000 2020 5100 0000 00", "",
         "https://bank.example", "Dies ist eine Bemerkung mit mehr als dreißig Zeichen"},
        {"anna", "pw", "Bank", "Depot", "4711", "0815", "", "Zeile eins\r\nZeile zwei\n\tEnde"},
        {"anna", "pw", "Web", "Router", "", "Ein.sehr_langes-Passwort#2024!xyz",
         QString(30, u'x') + QString(30, u'y') + "z", ""},
    });
    env.anmelden("anna", "pw");
    FormClavido& f = env.app->formClavido();
    if (ohneKategorien)
        f.Combo2->clear();
    env.meldungen.antworte({msg::Yes});
    f.menu_drucken->trigger();
    QCOMPARE(env.drucker.dokumente, QStringList{dokument(rumpf)});
    QCOMPARE(env.drucker.schrift, QStringLiteral("Courier New"));
    QCOMPARE(env.drucker.groesse, 8);
    // The shown entry's row is still the current one.
    QCOMPARE(f.Daten1.Recordset().Fields("Bezeichnung").Value(), f.Text6->text());
}

void TestDrucken::warningAndPrinterAnswer_data() {
    QTest::addColumn<int>("antwort");
    QTest::addColumn<int>("ergebnis");
    QTest::addColumn<QStringList>("meldungen");
    const int gedruckt = int(Printer::Result::Printed);
    QTest::newRow("no") << int(msg::No) << gedruckt << QStringList{kWarnung};
    QTest::newRow("yes") << int(msg::Yes) << gedruckt << QStringList{kWarnung};
    QTest::newRow("no printer")
        << int(msg::Yes) << int(Printer::Result::NoPrinter)
        << QStringList{kWarnung,
                       "Es ist kein Drucker eingerichtet. Die Liste kann nicht gedruckt werden."};
    QTest::newRow("job failed") << int(msg::Yes) << int(Printer::Result::Failed)
                                << QStringList{kWarnung, "Die Liste konnte nicht gedruckt werden."};
}

void TestDrucken::warningAndPrinterAnswer() {
    QFETCH(int, antwort);
    QFETCH(int, ergebnis);
    QFETCH(QStringList, meldungen);
    Umgebung env;
    env.zeilen({{"anna", "pw", "Bank", "Konto"}});
    env.anmelden("anna", "pw");
    env.drucker.ergebnis = Printer::Result(ergebnis);
    env.meldungen.antworte({msg::Answer(antwort)});
    env.app->formClavido().Command13->click();
    QCOMPARE(env.meldungen.texte(), meldungen);
    QCOMPARE(env.drucker.dokumente.size(), antwort == msg::Yes ? 1 : 0);
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation | msg::YesNo));
    for (const Meldung& m : env.meldungen.meldungen.mid(1))
        QCOMPARE(m.style, int(msg::Exclamation));
    for (const Meldung& m : env.meldungen.meldungen)
        QCOMPARE(m.title, QStringLiteral("lumoClavido 6.1"));
}

void TestDrucken::printsLandscapeColumnsIntoPdf() {
    for (const char* werkzeug : {"pdftotext", "pdfinfo"}) {
        if (QStandardPaths::findExecutable(QLatin1String(werkzeug)).isEmpty())
            QSKIP("pdftotext/pdfinfo not installed (poppler-utils, see tools/install-deps)");
    }
    Umgebung env;
    std::vector<Eintrag> rows;
    QStringList erwartet = {ohneEndBlanks(kKopfzeile)};
    for (int i = 0; i < 80; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
        const QStringList werte = {"Eintrag " + n, "Konto-" + n, "PIN-" + n,
                                   "https://example.org/" + n,
                                   "Bemerkung " + n + "xxxxxxxxxxxxxxxxx|"};
        rows.push_back({"anna", "pw", i < 40 ? "Bank" : "Web", werte[0], werte[1], werte[2],
                        werte[3], werte[4]});
        erwartet << ohneEndBlanks(zeile(werte));
    }
    env.zeilen(rows);
    env.anmelden("anna", "pw");
    env.drucker.pdfDatei = env.ordner.filePath("liste.pdf");
    env.meldungen.antworte({msg::Yes});
    env.app->formClavido().menu_drucken->trigger();
    QCOMPARE(env.meldungen.texte(), QStringList{kWarnung});

    const QString info = ausgabe("pdfinfo", {env.drucker.pdfDatei});
    const auto seite =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    QVERIFY2(seite.hasMatch() && seite.captured(1).toDouble() > seite.captured(2).toDouble(),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))), qPrintable(info));

    // Physical layout at the pitch of an 8-point fixed face: every character where it was printed.
    const QString text = ausgabe("pdftotext", {"-fixed", "4.8", env.drucker.pdfDatei, "-"});
    QStringList gedruckt;
    for (const QString& l : QString(text).remove(u'\f').split(u'\n')) {
        if (l.contains(QStringLiteral("Eintrag ")) || l.contains(QStringLiteral("Geheimwort 1")))
            gedruckt << ohneEndBlanks(l);
    }
    QCOMPARE(gedruckt, erwartet);
    QVERIFY(text.contains(QStringLiteral("Bewahren Sie diese Liste an einem sicheren Platz auf!")));
}

CLAVIDO_TEST_MAIN(TestDrucken)
#include "test_drucken.moc"
