#include "environment.h"
#include "form_helpers.h"
#include "fremdes_programm.h"
#include "login/pwfrage.h"
#include "main_window/form_clavido.h"
#include "platform/widgets.h"
#include "store/record_file.h"
#include "windows_dateien.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sqlcipher/sqlite3.h>

#include <future>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

const QString kTitel = QStringLiteral("lumoClavido 6.1");

void eingeben(pwfrage& d, const QString& name, const QString& passwort) {
    d.Combo1->setEditText(name);
    d.Textpwfrage->setText(passwort);
    d.Command3_Click();
}

// What is at `path`, to see that nothing there was changed.
QString zustand(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("Verknüpfung auf ") + info.symLinkTarget() +
               (info.exists() ? QString() : QStringLiteral(", die ins Leere zeigt"));
    if (info.isDir())
        return QStringLiteral("Ordner mit ") +
               QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(u',');
    return QString::fromLatin1(
        QCryptographicHash::hash(rawdb::dateiInhalt(path), QCryptographicHash::Sha256).toHex());
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void listsEachUserOnceInOrder();
    void emptyTableStartsInTheNameBox();
    void signsInAndLeavesTheUsersRow();
    void refusesIncompleteInput_data();
    void refusesIncompleteInput();
    void countsWrongPasswordsAcrossNames();
    void endPaths_data();
    void endPaths();
    void unknownNameOffersRegistration();
    void helpText();
    void unopenableFileEndsWithoutTouchingIt_data();
    void unopenableFileEndsWithoutTouchingIt();
    void aPrefixOfAnotherNameStaysAsTyped();
    void enterKeysCheck_data();
    void enterKeysCheck();
};

void TestLogin::listsEachUserOnceInOrder() {
    Umgebung env;
    env.zeilen({{"zora", "z", "K", "1"},
                {"Bert", "b", "K", "1"},
                {"zora", "z", "K", "2"},
                {"anna", "a", "K", "1"},
                {"Bert", "b", "K", "2"},
                {"bert", "x", "K", "1"},
                {"Ärger", "x", "K", "1"}});
    QStringList liste, rohliste;
    QString vorgewaehlt;
    QWidget* fokus = nullptr;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        liste = listenEintraege(d.Combo1);
        rohliste = listenEintraege(d.Combo2);
        vorgewaehlt = d.Combo1->currentText();
        fokus = d.focusWidget();
        d.Command1_Click();
    });
    env.app->formClavido().laden();
    QCOMPARE(liste, (QStringList{"anna", "Ärger", "Bert", "bert", "zora"}));
    QCOMPARE(rohliste.size(), 7);
    QCOMPARE(vorgewaehlt, QStringLiteral("anna"));
    QCOMPARE(fokus, env.app->formPwfrage().Textpwfrage);
}

void TestLogin::emptyTableStartsInTheNameBox() {
    Umgebung env;
    QWidget* fokus = nullptr;
    int eintraege = -1;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        eintraege = d.Combo1->count();
        fokus = d.focusWidget();
        eingeben(d, QStringLiteral("jemand"), QStringLiteral("pw"));
        d.Command1_Click();
    });
    env.app->formClavido().laden();
    QCOMPARE(eintraege, 0);
    QCOMPARE(fokus, static_cast<QWidget*>(env.app->formPwfrage().Combo1));
    QCOMPARE(env.meldungen.texte().value(0),
             QStringLiteral("Sie sind noch nicht als Benutzer registriert!\r\n"
                            "Möchten Sie sich jetzt als neuer Benutzer anmelden?"));
    // The empty file was created on the way.
    QVERIFY(QFileInfo::exists(env.dbPfad()));
}

void TestLogin::signsInAndLeavesTheUsersRow() {
    Umgebung env;
    env.zeilen({{"anna", "geheim", "K", "1"}, {"O'Brien", " pass ", "K", "1"}});
    env.anmelden(QStringLiteral("O'Brien"), QStringLiteral("pass   "));
    QVERIFY(!env.beendet());
    FormClavido& haupt = env.app->formClavido();
    QVERIFY(haupt.isVisible());
    QCOMPARE(haupt.windowTitle(), QStringLiteral("lumoClavido 6.1  -  O'Brien"));
    QCOMPARE(env.app->sitzung.aktBenutzer, QStringLiteral("O'Brien"));
    QCOMPARE(env.app->sitzung.aktPasswort, QStringLiteral("pass   "));
    QCOMPARE(env.app->sitzung.gespPasswort, QStringLiteral(" pass "));
    QVERIFY(env.meldungen.meldungen.isEmpty());
    QVERIFY(!env.app->formPwfrage().isVisible());
}

void TestLogin::refusesIncompleteInput_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("passwort");
    QTest::addColumn<QString>("meldung");
    QTest::addColumn<QString>("fokus");
    QTest::newRow("no password") << "anna"
                                 << ""
                                 << "Sie müssen ein Passwort eingeben!"
                                 << "Textpwfrage";
    QTest::newRow("no name") << ""
                             << "pw"
                             << "Sie müssen einen Benutzernamen eingeben!"
                             << "Combo1";
}

void TestLogin::refusesIncompleteInput() {
    QFETCH(QString, name);
    QFETCH(QString, passwort);
    QFETCH(QString, meldung);
    QFETCH(QString, fokus);
    Umgebung env;
    env.zeilen({{"anna", "a", "K", "1"}});
    QString fokusName;
    bool offen = false;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        eingeben(d, name, passwort);
        offen = d.isVisible();
        QWidget* w = d.focusWidget();
        fokusName = w == d.Textpwfrage                             ? "Textpwfrage"
                    : (w == d.Combo1 || w == d.Combo1->lineEdit()) ? "Combo1"
                                                                   : "?";
        d.Command1_Click();
    });
    env.app->formClavido().laden();
    QVERIFY(offen);
    QCOMPARE(env.meldungen.meldungen.size(), 1);
    QCOMPARE(env.meldungen.meldungen[0].text, meldung);
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation));
    QCOMPARE(env.meldungen.meldungen[0].title, kTitel);
    QCOMPARE(fokusName, fokus);
}

void TestLogin::countsWrongPasswordsAcrossNames() {
    Umgebung env;
    env.zeilen({{"anna", "a", "K", "1"}, {"bert", "b", "K", "1"}});
    QStringList boxNachFehler;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        eingeben(d, "anna", "falsch");
        boxNachFehler << d.Textpwfrage->text();
        eingeben(d, "bert", "a");
        boxNachFehler << d.Textpwfrage->text();
        eingeben(d, "anna", "b");
    });
    env.app->formClavido().laden();
    QCOMPARE(env.meldungen.texte(),
             (QStringList{
                 "1. Versuch: Das Passwort ist ungültig!", "2. Versuch: Das Passwort ist ungültig!",
                 "3. Versuch: Das Passwort ist ungültig! Das Programm wird abgebrochen."}));
    for (const Meldung& m : env.meldungen.meldungen) {
        QCOMPARE(m.style, int(msg::Exclamation));
        QCOMPARE(m.title, kTitel);
    }
    QCOMPARE(boxNachFehler, (QStringList{"", ""}));
    QCOMPARE(env.prozesse.beendet, 1);
    QVERIFY(!env.app->formClavido().isVisible());
}

void TestLogin::endPaths_data() {
    QTest::addColumn<int>("weg");
    QTest::newRow("Beenden") << 0;
    QTest::newRow("both boxes empty") << 1;
    QTest::newRow("close box") << 2;
}

void TestLogin::endPaths() {
    QFETCH(int, weg);
    Umgebung env;
    env.zeilen({{"anna", "a", "K", "1"}});
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        if (weg == 0)
            d.Command1->click();
        else if (weg == 1)
            eingeben(d, "", "");
        else
            d.close();
    });
    env.app->formClavido().laden();
    QCOMPARE(env.prozesse.beendet, 1);
    QVERIFY(env.meldungen.meldungen.isEmpty());
    QVERIFY(!env.app->formClavido().isVisible());
    QVERIFY(!env.app->formPwfrage().isVisible());
}

void TestLogin::unknownNameOffersRegistration() {
    Umgebung env;
    env.zeilen({{"anna", "a", "K", "1"}});
    QString name, passwort;
    bool offen = false;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        eingeben(d, "Anna", "a"); // letter case counts
        name = d.Combo1->currentText();
        passwort = d.Textpwfrage->text();
        offen = d.isVisible();
        d.Command1_Click();
    });
    env.meldungen.antworte({msg::No});
    env.app->formClavido().laden();
    QCOMPARE(env.meldungen.meldungen.size(), 1);
    QCOMPARE(env.meldungen.meldungen[0].style, int(msg::Exclamation | msg::YesNo));
    QVERIFY(offen);
    QCOMPARE(name, QStringLiteral("Anna"));
    QCOMPARE(passwort, QStringLiteral("a"));
}

void TestLogin::helpText() {
    Umgebung env;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        d.Command2->click();
        d.Command1_Click();
    });
    env.app->formClavido().laden();
    QCOMPARE(env.meldungen.meldungen.size(), 1);
    const Meldung& m = env.meldungen.meldungen[0];
    QCOMPARE(m.style, int(msg::Information));
    QCOMPARE(m.title, kTitel);
    QCOMPARE(
        m.text,
        QStringLiteral(
            "Hinweis:\r\n\r\n"
            "Wenn Sie das Programm schon einmal benutzt haben, können Sie sich hier mit Ihrem    "
            "\r\n"
            "Benutzernamen anmelden. Den Benutzernamen können Sie in der Kombibox auswählen\r\n"
            "oder neu eingeben. Geben Sie außerdem das dazu gehörige Passwort ein.\r\n"
            "Sind beide Angaben gültig, erhalten Sie sofort Zugang zum Programm.\r\n"
            "Ist der Benutzername dem Programm noch nicht bekannt, wird ein Fenster eingeblendet,  "
            "  \r\n"
            "in dem Sie sich neu anmelden können.\r\n"));
}

void TestLogin::unopenableFileEndsWithoutTouchingIt_data() {
    QTest::addColumn<QString>("fall");
    QTest::addColumn<QString>("meldung"); // %1: the file, %2: a link's target; empty: it opens
    const QString kopf = QStringLiteral("Die Datenbankdatei\r\n%1\r\n");
    const QString ende =
        QStringLiteral("\r\n\r\nDas Programm wird beendet. Die Datei bleibt unverändert.");
    // Damage offers to bring a saved file back; the answer here is No.
    const QString reparatur = QStringLiteral(
        "\r\n\r\nMöchten Sie eine gesicherte Datenbank wieder herstellen?\r\nBei \u201ENein\u201C "
        "wird das Programm beendet, die Datei bleibt unverändert.");
    QTest::newRow("damaged") << "damaged"
                             << kopf +
                                    "kann nicht geöffnet werden: Sie ist beschädigt oder keine "
                                    "Datenbank von lumoClavido." +
                                    reparatur;
    // Windows files that cannot be taken over go the same way.
    const QString fremd = kopf +
                          "kann nicht geöffnet werden: Sie ist beschädigt oder keine "
                          "Datenbank von lumoClavido." +
                          reparatur;
    QTest::newRow("damaged: Windows file of another password") << "damaged windows fremd" << fremd;
    QTest::newRow("damaged: Windows file cut short") << "damaged windows kurz" << fremd;
    QTest::newRow("Windows file, not taken over")
        << "windows nein"
        << kopf + "stammt aus der Windows-Version von lumoClavido.\r\n\r\nMöchten Sie die Daten "
                  "jetzt übernehmen?\r\nDie Windows-Datei bleibt dabei unverändert als\r\n"
                  "Clavido61-Windows.mdb\r\nneben der neuen Datenbankdatei erhalten. Haben Sie die"
                  "\r\nübernommenen Daten geprüft, können Sie diese Kopie löschen.\r\n\r\nBei "
                  "\u201ENein\u201C wird das Programm beendet, die Datei bleibt unverändert.";
    QTest::newRow("damaged table")
        << "damaged table"
        << kopf + "kann nicht gelesen werden: Die Datenbankdatei ist beschädigt." + reparatur;
    QTest::newRow("locked for a moment") << "locked for a moment" << QString();
    QTest::newRow("locked for long")
        << "locked for long"
        << kopf +
               "kann nicht geöffnet werden: Sie wird gerade von einem anderen Programm "
               "benutzt. Bitte versuchen Sie es etwas später noch einmal." +
               ende;
    QTest::newRow("not readable")
        << "not readable"
        << kopf +
               "kann nicht gelesen werden.\r\nDer Zugriff auf die Datenbankdatei wurde "
               "verweigert." +
               ende;
    QTest::newRow("folder") << "folder"
                            << kopf + "kann nicht geöffnet werden: An ihrer Stelle steht ein "
                                      "Ordner dieses Namens.\r\n\r\nDas Programm wird beendet. "
                                      "Der Ordner bleibt unverändert.";
    QTest::newRow("dangling link")
        << "dangling link"
        << kopf + "kann nicht geöffnet werden: Sie ist eine Verknüpfung auf\r\n%2\r\nund dort "
                  "ist keine Datei vorhanden. Ist der Datenträger angeschlossen?\r\n\r\n"
                  "Das Programm wird beendet. Die Verknüpfung bleibt unverändert.";
}

void TestLogin::unopenableFileEndsWithoutTouchingIt() {
    QFETCH(QString, fall);
    QFETCH(QString, meldung);
    Umgebung env;
    const QString pfad = env.dbPfad();
    const QString stick = env.ordner.filePath(QStringLiteral("Stick/Clavido61.mdb"));
    std::optional<FremdeSperre> sperre;
    if (fall == "damaged") {
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else if (fall.contains("windows")) {
        const QString name = fall.endsWith("fremd") ? "fremd-passwort.mdb" : "Clavido61.mdb";
        windowsdateien::kopieren(name, env.ordner.path(), recordfile::kDateiName);
        if (fall.endsWith("kurz"))
            QVERIFY(QFile::resize(pfad, 8192));
    } else if (fall == "damaged table") {
        std::vector<Eintrag> viele;
        for (int i = 0; i < 400; ++i)
            viele.push_back({"anna", "a", "K", QString::number(i), QString(100, u'x')});
        env.zeilen(viele);
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(100, '\0'));
    } else if (fall == "not readable") {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        env.zeilen({{"anna", "a", "K", "1"}});
        QVERIFY(QFile::setPermissions(pfad, QFile::WriteOwner));
    } else if (fall == "folder") {
        QVERIFY(QDir(env.ordner.path()).mkdir(recordfile::kDateiName));
    } else if (fall == "dangling link") {
        QVERIFY(QFile::link(stick, pfad));
    } else {
        env.zeilen({{"anna", "a", "K", "1"}});
        sperre.emplace(pfad, fall == "locked for a moment" ? 300 : 0);
        QVERIFY(sperre->gehalten);
    }
    const QString vorher = zustand(pfad);
    QStringList benutzer;
    if (meldung.isEmpty()) {
        env.modal.erwarte<pwfrage>([&](pwfrage& d) {
            benutzer = listenEintraege(d.Combo1);
            d.Command1_Click();
        });
    }
    env.app->formClavido().laden();
    sperre.reset();

    QCOMPARE(env.prozesse.beendet, 1);
    QCOMPARE(zustand(pfad), vorher);
    QCOMPARE(
        QDir(env.ordner.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
        QStringList{recordfile::kDateiName});
    QVERIFY(env.modal.ungeplant.isEmpty());
    if (meldung.isEmpty()) {
        QVERIFY(env.meldungen.meldungen.isEmpty());
        QCOMPARE(benutzer, QStringList{"anna"});
        return;
    }
    QCOMPARE(env.meldungen.meldungen.size(), 1);
    const Meldung& m = env.meldungen.meldungen[0];
    meldung.replace(QStringLiteral("%1"), QDir::toNativeSeparators(pfad));
    QCOMPARE(m.text, meldung.replace(QStringLiteral("%2"), QDir::toNativeSeparators(stick)));
    QCOMPARE(m.style, fall == "windows nein"
                          ? int(msg::Question | msg::YesNo)
                          : int(msg::Critical | (fall.startsWith("damaged") ? msg::YesNo : 0)));
    QCOMPARE(m.title, kTitel);
    QVERIFY(!env.app->formPwfrage().isVisible());
}

void TestLogin::aPrefixOfAnotherNameStaysAsTyped() {
    Umgebung env;
    env.zeilen({{"anna", "a", "K", "1"}});
    QString name;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        d.Combo1->lineEdit()->clear();
        QApplication::setActiveWindow(&d);
        d.Combo1->setFocus();
        QTest::keyClicks(d.Combo1->lineEdit(), "ANN");
        d.Textpwfrage->setText("a");
        QTest::keyClick(d.Textpwfrage, Qt::Key_Return);
        name = env.app->sitzung.aktBenutzer;
        d.Command1_Click();
    });
    env.app->formClavido().laden();
    QCOMPARE(name, QStringLiteral("ANN"));
    QCOMPARE(env.meldungen.texte().value(0).left(45),
             QStringLiteral("Sie sind noch nicht als Benutzer registriert!"));
}

void TestLogin::enterKeysCheck_data() {
    QTest::addColumn<QString>("wo");
    QTest::newRow("password box") << "Textpwfrage";
    QTest::newRow("name box") << "Combo1";
    // Enter on a focused button presses that button, not the check.
    QTest::newRow("help button") << "Command2";
    QTest::newRow("end button") << "Command1";
}

void TestLogin::enterKeysCheck() {
    QFETCH(QString, wo);
    Umgebung env;
    env.zeilen({{"anna", "a", "K", "1"}, {"bert", "b", "K", "1"}});
    QWidget* fokusNachKlick = nullptr;
    env.modal.erwarte<pwfrage>([&](pwfrage& d) {
        d.Combo1->setCurrentIndex(1);
        d.Combo1->activated(1);
        fokusNachKlick = d.focusWidget();
        d.Textpwfrage->setText(wo.startsWith(u'C') && wo != "Combo1" ? "falsch" : "b");
        QWidget* ziel = wo == "Combo1"     ? d.Combo1->lineEdit()
                        : wo == "Command2" ? static_cast<QWidget*>(d.Command2)
                        : wo == "Command1" ? static_cast<QWidget*>(d.Command1)
                                           : d.Textpwfrage;
        QApplication::setActiveWindow(&d);
        ziel->setFocus();
        QTest::keyClick(ziel, Qt::Key_Return);
        if (d.isVisible())
            d.Command1_Click();
    });
    env.app->formClavido().laden();
    QCOMPARE(fokusNachKlick, static_cast<QWidget*>(env.app->formPwfrage().Textpwfrage));
    const QStringList texte = env.meldungen.texte();
    if (wo == "Command2") {
        QCOMPARE(texte.size(), 1);
        QVERIFY(texte[0].startsWith(QStringLiteral("Hinweis:")));
    } else if (wo == "Command1") {
        QVERIFY(texte.isEmpty());
        QCOMPARE(env.prozesse.beendet, 1);
    } else {
        QVERIFY(env.app->formClavido().isVisible());
        QCOMPARE(env.app->sitzung.aktBenutzer, QStringLiteral("bert"));
    }
    QCOMPARE(env.app->formPwfrage().versuch,
             qint16(wo.startsWith(QStringLiteral("Command")) ? 0 : 1));
}

CLAVIDO_TEST_MAIN(TestLogin)
#include "test_login.moc"
