// Renders the program's windows with sample data into PNG files for the
// README: `make screenshots` runs it under Xvfb with a window manager, so
// that each picture shows the window with its frame and icon. Not a test.
#include "app/form_gruss.h"
#include "app/form_haftung.h"
#include "app/german.h"
#include "editor/form_daten.h"
#include "editor/form_suchen.h"
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
#include "platform/folder_chooser.h"
#include "platform/help.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"
#include "store/sicherung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

namespace {

QString ziel;

// The window as the screen shows it, frame included; `dazu` widens the picture
// to another window drawn over it (an open menu).
void bild(QWidget& w, const QString& name, QWidget* dazu = nullptr) {
    if (!QTest::qWaitForWindowExposed(&w))
        qWarning("%s: the window was not shown", qPrintable(name));
    QTest::qWait(400);
    // The frame is known once the window manager has put it around the window.
    const bool rahmen = !(w.windowFlags() & Qt::FramelessWindowHint);
    for (int i = 0; i < 20 && rahmen && w.frameGeometry() == w.geometry(); ++i)
        QTest::qWait(100);
    QRect bereich = w.frameGeometry();
    if (dazu)
        bereich = bereich.united(dazu->frameGeometry());
    QGuiApplication::primaryScreen()
        ->grabWindow(0, bereich.x(), bereich.y(), bereich.width(), bereich.height())
        .save(QDir(ziel).filePath(name + QStringLiteral(".png")));
}

Eintrag giro() {
    Eintrag e{"Anna Berger", "sommer24", "Bank", "Girokonto Sparkasse"};
    e.konto = QStringLiteral("DE89 3704 0044 0532 0130 00");
    e.pin = QStringLiteral("4711");
    e.zusatz = QStringLiteral("https://www.sparkasse.de");
    e.bezeichnung1 = QStringLiteral("IBAN");
    e.bemerkungen = QStringLiteral("Online-Banking mit pushTAN-App.\nKarte gültig bis 08/28.");
    return e;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    installiereDeutsch(application);
    ziel = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(ziel);

    Umgebung env;
    env.zeilen({giro(),
                {"Anna Berger", "sommer24", "Bank", "Tagesgeld"},
                {"Anna Berger", "sommer24", "Internet", "Webmail"},
                {"Anna Berger", "sommer24", "Versicherung", "Hausrat"},
                {"Bernd Kaiser", "winter", "Bank", "Depot"}});

    env.app->Main();
    QTest::qWait(600);
    bild(env.app->formGruss(), QStringLiteral("splash"));

    env.modal.erwarte<pwfrage>([](pwfrage& d) {
        d.Textpwfrage->setText(QStringLiteral("sommer24"));
        bild(d, QStringLiteral("login"));
        d.Combo1->setEditText(QStringLiteral("Clara Neumann"));
        d.Command3_Click();
    });
    env.modal.erwarte<FormHaftung>([](FormHaftung& d) {
        bild(d, QStringLiteral("disclaimer"));
        d.Command1->click();
    });
    env.modal.erwarte<pwstartform>([](pwstartform& d) {
        bild(d, QStringLiteral("registration"));
        d.Command3->click();
    });
    env.modal.erwarte<FormDaten>([](FormDaten& d) {
        d.Combo1->setEditText(QStringLiteral("Internet"));
        d.Text1->setText(QStringLiteral("Online-Shop"));
        d.Text2->setText(QStringLiteral("clara.neumann@example.org"));
        d.Text3->setText(QStringLiteral("Ks8#tqW2"));
        d.Text8->setText(QStringLiteral("https://shop.example.org"));
        d.Text14->setPlainText(QStringLiteral("Kundenkonto seit 2021"));
        bild(d, QStringLiteral("editor"));
        d.Command1->click();
    });
    env.meldungen.antworte({msg::Yes, msg::Yes});
    for (int i = 0; i < 100 && !(env.app->hatFormClavido() && env.app->formClavido().isVisible());
         ++i)
        QTest::qWait(100);
    env.app->formClavido().hide();

    Umgebung zweite;
    QFile::remove(zweite.dbPfad());
    QFile::copy(env.dbPfad(), zweite.dbPfad());
    zweite.anmelden(QStringLiteral("Anna Berger"), QStringLiteral("sommer24"));
    FormClavido& haupt = zweite.app->formClavido();
    haupt.move(80, 60);
    haupt.eintragWaehlen(QStringLiteral("Girokonto Sparkasse"));
    bild(haupt, QStringLiteral("main_window"));

    haupt.Check1->click();
    haupt.Text7->setText(QStringLiteral("sommer24"));
    bild(haupt, QStringLiteral("plain_text_question"));
    haupt.Command9->click();

    for (QMenu* menu :
         {haupt.Hmenu_datei, haupt.Hmenu_bearbeiten, haupt.Hmenu_optionen, haupt.Hmenu_hilfe}) {
        menu->popup(haupt.menuBar()->mapToGlobal(
            haupt.menuBar()->actionGeometry(menu->menuAction()).bottomLeft()));
        bild(haupt, QStringLiteral("menu_") + menu->title().remove(u'&').toLower(), menu);
        menu->hide();
    }

    zweite.modal.erwarte<FormSuchen>([&](FormSuchen& d) {
        d.Text1->setText(QStringLiteral("konto"));
        bild(d, QStringLiteral("search"));
        d.Command3->click();
    });
    haupt.menu_suchen_Click();

    zweite.modal.erwarte<pwform>([](pwform& d) {
        bild(d, QStringLiteral("name_and_password_question"));
        d.Text7->setText(QStringLiteral("sommer24"));
        d.Command9->click();
        bild(d, QStringLiteral("name_and_password"));
        d.Command1->click();
    });
    haupt.menu_passwort_Click();

    zweite.modal.erwarte<FormEinstellungen>([](FormEinstellungen& d) {
        bild(d, QStringLiteral("settings"));
        d.Unload();
    });
    haupt.menu_einstellungen_Click();

    zweite.modal.erwarte<FormÜbernahme>([](FormÜbernahme& d) {
        bild(d, QStringLiteral("import"));
        d.Unload();
    });
    haupt.menu_datenübernehmen_Click();

    zweite.modal.erwarte<FormInfo>([](FormInfo& d) {
        bild(d, QStringLiteral("about"));
        d.Unload();
    });
    haupt.menu_info_Click();

    QtHelp hilfe;
    hilfe.showContents(&haupt);
    bild(*hilfe.window(), QStringLiteral("help"));
    hilfe.close();

    // The dialogs at the end of a session, each shown by itself.
    QTemporaryDir sicherung;
    sicherung::kopieren(zweite.dbPfad(), sicherung.filePath(QStringLiteral("Clavido61.mdb")));
    FormAuswahl& auswahl = zweite.app->formAuswahl();
    auswahl.show();
    bild(auswahl, QStringLiteral("backup_chooser"));
    auswahl.hide();
    const std::pair<OrdnerFormular*, QString> ordnerDialoge[] = {
        {&zweite.app->formSichern(), QStringLiteral("backup")},
        {&zweite.app->formRestore(), QStringLiteral("restore")}};
    for (const auto& [dialog, name] : ordnerDialoge) {
        dialog->laden();
        dialog->Ordner->openFolder(sicherung.path());
        dialog->show();
        bild(*dialog, name);
        dialog->hide();
    }
    return 0;
}
