// Renders the program's windows with sample data into PNG files for the
// README: `make screenshots` runs it under Xvfb. Not a test.
#include "app/form_gruss.h"
#include "app/form_haftung.h"
#include "app/german.h"
#include "editor/form_daten.h"
#include "environment.h"
#include "login/pwfrage.h"
#include "login/pwstartform.h"
#include "main_window/form_clavido.h"
#include "platform/help.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

QString ziel;

void bild(QWidget& w, const QString& name) {
    QTest::qWait(150);
    w.grab().save(QDir(ziel).filePath(name + QStringLiteral(".png")));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    installiereDeutsch(application);
    ziel = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(ziel);

    Umgebung env;
    Eintrag giro{"Anna Berger", "sommer24", "Bank", "Girokonto Sparkasse"};
    giro.konto = QStringLiteral("DE89 3704 0044 0532 0130 00");
    giro.pin = QStringLiteral("4711");
    giro.zusatz = QStringLiteral("https://www.sparkasse.de");
    giro.bezeichnung1 = QStringLiteral("IBAN");
    giro.bemerkungen = QStringLiteral("Online-Banking mit pushTAN-App.\nKarte gültig bis 08/28.");
    env.zeilen({giro,
                {"Anna Berger", "sommer24", "Bank", "Tagesgeld"},
                {"Anna Berger", "sommer24", "Internet", "Webmail"},
                {"Anna Berger", "sommer24", "Versicherung", "Hausrat"},
                {"Bernd Kaiser", "winter", "Bank", "Depot"}});

    env.app->Main();
    QTest::qWait(300);
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
    env.app->formClavido().close();

    Umgebung zweite;
    QFile::remove(zweite.dbPfad());
    QFile::copy(env.dbPfad(), zweite.dbPfad());
    zweite.anmelden(QStringLiteral("Anna Berger"), QStringLiteral("sommer24"));
    FormClavido& haupt = zweite.app->formClavido();
    haupt.eintragWaehlen(QStringLiteral("Girokonto Sparkasse"));
    bild(haupt, QStringLiteral("main_window"));

    QtHelp hilfe;
    hilfe.showContents(&haupt);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowTitle() == QStringLiteral("Hilfe zu lumoClavido"))
            bild(*w, QStringLiteral("help"));
    }
    return 0;
}
