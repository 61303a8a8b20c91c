#include "app/datenordner.h"
#include "app/form_gruss.h"
#include "app/form_haftung.h"
#include "editor/form_daten.h"
#include "environment.h"
#include "login/pwform.h"
#include "login/pwfrage.h"
#include "login/pwstartform.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_auswahl.h"
#include "maintenance/form_einstellungen.h"
#include "maintenance/form_info.h"
#include "maintenance/form_restore.h"
#include "maintenance/form_sichern.h"
#include "maintenance/form_uebernahme.h"
#include "platform/files.h"
#include "store/field_cipher.h"
#include "store/record_file.h"
#include "windows_dateien.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cerrno>
#include <unistd.h>

namespace {

// Every right of the group and of others.
const QFile::Permissions kFremde(0x0077);

// Pairs of buttons in one row that Tab reaches from right to left.
QStringList gegenDieLeserichtung(QWidget* fenster) {
    QList<QAbstractButton*> kette;
    for (QWidget* w = fenster->nextInFocusChain(); w != fenster; w = w->nextInFocusChain()) {
        auto* knopf = qobject_cast<QAbstractButton*>(w);
        if (knopf && (qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w)) &&
            knopf->isVisibleTo(fenster) && (knopf->focusPolicy() & Qt::TabFocus))
            kette << knopf;
    }
    QStringList falsch;
    for (qsizetype i = 0; i < kette.size(); ++i) {
        for (qsizetype j = i + 1; j < kette.size(); ++j) {
            const QPoint a = kette[i]->mapTo(fenster, kette[i]->rect().center());
            const QPoint b = kette[j]->mapTo(fenster, kette[j]->rect().center());
            if (qAbs(a.y() - b.y()) < 4 && a.x() > b.x())
                falsch << kette[i]->text() + kette[i]->toolTip() + " > " + kette[j]->text() +
                              kette[j]->toolTip();
        }
    }
    return falsch;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void splashHandsOverAfterTwoAndAHalfSeconds();
    void disclaimer();
    void decliningTheDisclaimerEnds();
    void registrationPathTwiceShowsTheDisclaimerAgain();
    void closingRegistrationEnds();
    void windowsLookRight();
    void databaseFolder_data();
    void databaseFolder();
    void takesTheWindowsFileOver_data();
    void takesTheWindowsFileOver();
};

void TestStartup::splashHandsOverAfterTwoAndAHalfSeconds() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "K", "a"}});
    bool splashZu = false;
    QPointer<FormGruss> splash;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        splashZu = !splash || !splash->isVisible();
        d.Combo1->setEditText("anna");
        d.Textpwfrage->setText("pw");
        d.Command3_Click();
    });
    env.app->Main();
    FormGruss& gruss = env.app->formGruss();
    splash = &gruss;
    QVERIFY(gruss.isVisible());
    QCOMPARE(gruss.Timer1->interval(), 2500);
    QVERIFY(gruss.Timer1->isActive());
    QCOMPARE(gruss.Label3->text(),
             QStringLiteral("Bitte haben Sie etwas Geduld, das Programm wird geladen..."));
    QCOMPARE(gruss.Label2->text(), QStringLiteral("6.1 "));
    QTest::qWait(1000);
    QVERIFY(!env.app->hatFormClavido());
    QTRY_VERIFY_WITH_TIMEOUT(env.app->hatFormClavido() && env.app->formClavido().isVisible(), 5000);
    QVERIFY(splashZu);
    QTRY_VERIFY(!splash);
    QCOMPARE(env.app->formClavido().windowTitle(), QStringLiteral("lumoClavido 6.1  -  anna"));
}

void TestStartup::disclaimer() {
    Umgebung env;
    FormHaftung& f = env.app->formHaftung();
    const QString text = f.Text1->toPlainText();
    QVERIFY(f.Text1->isReadOnly());
    QVERIFY(text.startsWith(QStringLiteral("Die Clavido-Datenbank ist verschlüsselt und intern "
                                           "passwortgesichert,")));
    QVERIFY(text.contains(QStringLiteral("Sie akzeptieren die Software so wie sie ist!")));
    QVERIFY(text.contains(QStringLiteral("4.1.0")));
    // Every installation has the same keys: the text promises no more than that.
    QVERIFY(text.contains(QStringLiteral("in jeder Installation des Programms dieselben")));
    QVERIFY(!text.contains(QStringLiteral("auch für den Hersteller nicht mehr zugänglich")));
    QCOMPARE(text.count(QRegularExpression(QStringLiteral("^_{20,}$"),
                                           QRegularExpression::MultilineOption)),
             2);
    const qsizetype laenge = QString(text).replace(u'\n', QStringLiteral("\r\n")).size();
    QVERIFY2(laenge > 1550 && laenge < 1750, qPrintable(QString::number(laenge)));
    QCOMPARE(f.windowTitle(), QStringLiteral("lumoClavido 6.1"));
    QCOMPARE(f.Command1->text(), QStringLiteral("Ja, ich akzeptiere"));
    QCOMPARE(f.Command2->text(), QStringLiteral("Abbrechen"));
}

void TestStartup::decliningTheDisclaimerEnds() {
    Umgebung env;
    env.modal.erwarte<pwfrage>([](pwfrage& d) {
        d.Combo1->setEditText("neu");
        d.Textpwfrage->setText("pw");
        d.Command3_Click();
    });
    env.modal.erwarte<FormHaftung>([](FormHaftung& d) { d.Command2->click(); });
    env.meldungen.antworte({msg::Yes});
    env.app->formClavido().laden();
    QCOMPARE(env.prozesse.beendet, 1);
    QVERIFY(env.modal.alleErledigt());
    QVERIFY(!env.app->formClavido().isVisible());
    QVERIFY(env.lesen().empty());
}

void TestStartup::registrationPathTwiceShowsTheDisclaimerAgain() {
    Umgebung env;
    env.zeilen({{"anna", "pw", "K", "a"}});
    int haftung = 0;
    env.modal.erwarte<pwfrage>([](pwfrage& d) {
        d.Combo1->setEditText("neu");
        d.Textpwfrage->setText("pw");
        d.Command3_Click(); // answered No: stays
        d.Command3_Click(); // answered Yes
    });
    env.modal.erwarte<FormHaftung>([&](FormHaftung& d) {
        ++haftung;
        d.Command1->click();
    });
    env.modal.erwarte<pwstartform>([](pwstartform& d) { d.Command1->click(); });
    env.meldungen.antworte({msg::No, msg::Yes});
    env.app->formClavido().laden();
    QCOMPARE(haftung, 1);
    QCOMPARE(env.prozesse.beendet, 1);
    QVERIFY(env.modal.alleErledigt());
}

void TestStartup::closingRegistrationEnds() {
    Umgebung env;
    env.modal.erwarte<pwfrage>([](pwfrage& d) {
        d.Combo1->setEditText("neu");
        d.Textpwfrage->setText("pw");
        d.Command3_Click();
    });
    env.modal.erwarte<FormHaftung>([](FormHaftung& d) { d.Command1->click(); });
    env.modal.erwarte<pwstartform>([](pwstartform& d) { d.close(); });
    env.meldungen.antworte({msg::Yes});
    env.app->formClavido().laden();
    QCOMPARE(env.prozesse.beendet, 1);
    QVERIFY(!env.app->formClavido().isVisible());
    QVERIFY(env.lesen().empty());
}

void TestStartup::windowsLookRight() {
    // Runs at QT_SCALE_FACTOR=2: pictures must be drawn for the finer screen.
    Umgebung env;
    Clavido& app = *env.app;
    struct Fenster {
        QWidget* w;
        bool fest;
    };
    const QList<Fenster> fenster = {{&app.formPwfrage(), true},  {&app.formPwstartform(), true},
                                    {&app.formHaftung(), true},  {&app.formDaten(), false},
                                    {&app.formClavido(), false}, {&app.formGruss(), true}};
    for (const Fenster& f : fenster) {
        f.w->show();
        QVERIFY2(!f.w->windowIcon().isNull(), f.w->metaObject()->className());
        QCOMPARE(f.w->minimumSize() == f.w->maximumSize(), f.fest);
        f.w->hide();
    }
    // The editor and the search keep their own tab order of the buttons.
    for (QWidget* w : std::initializer_list<QWidget*>{
             &app.formPwfrage(), &app.formPwstartform(), &app.formHaftung(), &app.formClavido(),
             &app.formPwform(), &app.formEinstellungen(), &app.formAuswahl(), &app.formSichern(),
             &app.formRestore(), &app.formUebernahme()}) {
        w->show();
        const QStringList falsch = gegenDieLeserichtung(w);
        QVERIFY2(falsch.isEmpty(), qPrintable(w->metaObject()->className() + QStringLiteral(": ") +
                                              falsch.join(QStringLiteral(", "))));
        w->hide();
    }
    const qreal dichte = qApp->devicePixelRatio();
    QCOMPARE(dichte, 2.0);
    QCOMPARE(app.formPwfrage().Image1->pixmap().devicePixelRatio(), dichte);
    QCOMPARE(app.formGruss().Image1->pixmap().devicePixelRatio(), dichte);
    const QPixmap symbol = QApplication::windowIcon().pixmap(QSize(32, 32), dichte);
    QCOMPARE(symbol.size(), QSize(64, 64));
    app.formDaten().Unload();
}

void TestStartup::databaseFolder_data() {
    QTest::addColumn<QString>("wie");     // how the program was put there
    QTest::addColumn<QStringList>("da");  // "alt", "neu", "journal", "verweis", "nur lesen" …
    QTest::addColumn<QString>("ordner");  // "programm", "benutzer", or why not where it belongs
    QTest::addColumn<QString>("meldung"); // the start of what the user is told
    QTest::newRow("portable, new") << "tragbar" << QStringList{} << "programm"
                                   << "";
    QTest::newRow("portable, a file beside, folder read-only")
        << "tragbar" << QStringList{"alt", "nur lesen"} << "programm"
        << "";
    if (geteuid() != 0)
        QTest::newRow("portable, folder read-only")
            << "tragbar" << QStringList{"nur lesen"} << "schreibgeschützt"
            << "";
    QTest::newRow("build tree") << "bau" << QStringList{} << "benutzer"
                                << "";
    QTest::newRow("installed") << "installiert" << QStringList{} << "benutzer"
                               << "";
    QTest::newRow("build tree, a file of an earlier run")
        << "bau" << QStringList{"alt"} << "benutzer"
        << "Ihre Datenbankdatei lag bisher neben dem Programm";
    QTest::newRow("installed, a file in both")
        << "installiert" << QStringList{"alt", "neu"} << "benutzer"
        << "";
    QTest::newRow("installed, a write cut off beside")
        << "installiert" << QStringList{"alt", "journal"} << "journal"
        << "";
    QTest::newRow("installed, a link beside")
        << "installiert" << QStringList{"alt", "verweis"} << "verknüpfung"
        << "";
    QTest::newRow("installed, the move refused")
        << "installiert" << QStringList{"alt", "verweigert"} << "nicht verschoben"
        << "Die Datenbankdatei\r\n";
}

void TestStartup::databaseFolder() {
    QFETCH(QString, wie);
    QFETCH(QStringList, da);
    QFETCH(QString, ordner);
    QFETCH(QString, meldung);
    auto anlegen = [](const QString& pfad) {
        QDir().mkpath(QFileInfo(pfad).path());
        QFile(pfad).open(QIODevice::WriteOnly);
    };
    QTemporaryDir wurzel;
    const QString programm = wurzel.filePath("bin");
    const QString eigener = wurzel.filePath("home/.local/share/lumoClavido");
    QDir().mkpath(programm);
    if (wie == "bau")
        anlegen(wurzel.filePath("CMakeCache.txt"));
    if (wie == "installiert")
        anlegen(wurzel.filePath("share/applications/lumoclavido.desktop"));
    const QString alt =
        da.contains("verweis") ? wurzel.filePath("echt.mdb") : recordfile::pathIn(programm);
    if (da.contains("alt"))
        rawdb::schreibe(alt, {{"anna", "pw", "Bank", "alt"}});
    if (da.contains("verweis"))
        QVERIFY(QFile::link(alt, recordfile::pathIn(programm)));
    if (da.contains("journal"))
        anlegen(recordfile::pathIn(programm) + "-journal");
    if (da.contains("neu")) {
        QDir().mkpath(eigener);
        rawdb::schreibe(recordfile::pathIn(eigener), {{"anna", "pw", "Bank", "neu"}});
    }
    const auto rechte = QFile::permissions(programm);
    if (da.contains("nur lesen"))
        QVERIFY(QFile::setPermissions(programm, QFile::ReadOwner | QFile::ExeOwner));
    Ablage ablage = ablageVon(programm, eigener);
    const files::PlaceCalls echt = files::placeCalls();
    if (da.contains("verweigert"))
        files::placeCalls().renameNoReplace = [](auto, auto) { return errno = EACCES, -1; };
    const Hinweis gesagt = datenbankHolen(programm, ablage);
    files::placeCalls() = echt;
    QFile::setPermissions(programm, rechte);
    // In the order of Abweichung.
    const QStringList gruende{"", "verknüpfung", "journal", "nicht verschoben", "schreibgeschützt"};
    const bool beimProgramm = ordner != "benutzer" && ordner != "schreibgeschützt";
    QCOMPARE(ablage.ordner, beimProgramm ? programm : eigener);
    QCOMPARE(ablage.imProgrammordner, beimProgramm);
    QCOMPARE(int(ablage.grund), int(qMax(0, gruende.indexOf(ordner))));
    QCOMPARE(gesagt.text.left(meldung.size()), meldung);
    QCOMPARE(gesagt.text.isEmpty(), meldung.isEmpty());
    // A move that failed is a warning.
    QCOMPARE(gesagt.stil,
             meldung.isEmpty() ? 0 : int(beimProgramm ? msg::Exclamation : msg::Information));
    // A data folder the program makes is its owner's alone.
    if (!da.contains("neu") && ordner == "benutzer")
        QCOMPARE(QFile::permissions(eigener) & kFremde, QFile::Permissions());
    // Brought over means moved: one file, with its rows.
    if (gesagt.stil == msg::Information) {
        QVERIFY(!QFileInfo::exists(recordfile::pathIn(programm)));
        QCOMPARE(rawdb::spalte(rawdb::lese(recordfile::pathIn(eigener)), "Bezeichnung"),
                 QStringList{"alt"});
    }
}

void TestStartup::takesTheWindowsFileOver_data() {
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("werte");    // the file whose values it holds
    QTest::addColumn<QString>("behalten"); // the name the Windows file is kept under
    QTest::newRow("6.1") << "Clavido61.mdb"
                         << "Clavido61.mdb"
                         << "Clavido61-Windows.mdb";
    QTest::newRow("every code point, a Memo, NULLs") << "Clavido6.mdb"
                                                     << "Clavido6.mdb"
                                                     << "Clavido61-Windows.mdb";
    QTest::newRow("unicode compression") << "Clavido51.mdb"
                                         << "Clavido51.mdb"
                                         << "Clavido61-Windows.mdb";
    QTest::newRow("4.1 layout") << "Clavido41.mdb"
                                << "Clavido41.mdb"
                                << "Clavido61-Windows.mdb";
    QTest::newRow("no password, the name taken") << "ohne-passwort.mdb"
                                                 << "Clavido61.mdb"
                                                 << "Clavido61-Windows-2.mdb";
    QTest::newRow("Access 97, lived in") << "jet3/Clavido61-gelebt.mdb"
                                         << "jet3/Clavido61-gelebt.mdb"
                                         << "Clavido61-Windows.mdb";
}

// Every row as stored, all columns, NULL as NULL; the Windows file kept byte
// for byte; and each user signs in with his Windows name and password.
void TestStartup::takesTheWindowsFileOver() {
    QFETCH(QString, datei);
    QFETCH(QString, werte);
    QFETCH(QString, behalten);
    Umgebung env;
    const QString pfad = windowsdateien::kopieren(datei, env.ordner.path(), recordfile::kDateiName);
    QVERIFY(QFile::setPermissions(pfad, QFile::Permissions(0x6644))); // as copied: 0644
    const QByteArray windows = rawdb::dateiInhalt(pfad);
    QStringList vorhanden{recordfile::kDateiName, behalten};
    if (behalten.endsWith("-2.mdb")) {
        rawdb::schreibe(env.ordner.filePath("Clavido61-Windows.mdb"), {});
        vorhanden << "Clavido61-Windows.mdb";
    }
    const auto erwartet = windowsdateien::zeilen(werte);
    const QString benutzer = erwartet.back().value("Benutzer");
    env.meldungen.antworte({msg::Yes});
    env.anmelden(benutzer, entschluesseln(erwartet.back().value("Passwort"), kFeldSchluessel));

    QCOMPARE(env.meldungen.texte(),
             QStringList{"Die Datenbankdatei\r\n" + QDir::toNativeSeparators(pfad) +
                         "\r\nstammt aus der Windows-Version von lumoClavido.\r\n\r\n"
                         "Möchten Sie die Daten jetzt übernehmen?\r\nDie Windows-Datei bleibt "
                         "dabei unverändert als\r\n" +
                         behalten +
                         "\r\nneben der neuen Datenbankdatei erhalten. Haben Sie die\r\n"
                         "übernommenen Daten geprüft, können Sie diese Kopie löschen.\r\n\r\nBei "
                         "\u201ENein\u201C wird das Programm beendet, die Datei bleibt "
                         "unverändert."});
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Question | msg::YesNo));
    QCOMPARE(env.app->formClavido().windowTitle(), "lumoClavido 6.1  -  " + benutzer);
    // Every user's secrets: kept for their owner only.
    QCOMPARE(rawdb::dateiInhalt(env.ordner.filePath(behalten)), windows);
    QCOMPARE(QFile::permissions(env.ordner.filePath(behalten)) & kFremde, QFile::Permissions());
    vorhanden.sort();
    QCOMPARE(QDir(env.ordner.path()).entryList(QDir::Files | QDir::System), vorhanden);

    const auto zeilen = env.lesen();
    QCOMPARE(zeilen.size(), erwartet.size());
    for (size_t i = 0; i < zeilen.size(); ++i) {
        for (auto it = erwartet[i].begin(); it != erwartet[i].end(); ++it) {
            const QVariant wert = zeilen[i].value(it.key());
            QVERIFY2(wert.isNull() == it.value().isNull() && wert.toString() == it.value(),
                     qPrintable(QStringLiteral("row %1, %2").arg(i).arg(it.key())));
        }
    }
}

CLAVIDO_TEST_MAIN(TestStartup)
#include "test_startup.moc"
