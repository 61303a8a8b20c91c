// One long write of the program, in a process of its own, for test_absturz to
// kill in the middle: langes_schreiben uebernahme|umbenennen|einstellungen|
// zurueckschreiben|windows FOLDER. The program in FOLDER signs in, says "los"
// right before the click that writes and "fertig" after it. The restore reads
// the backup in FOLDER/sicherung.
#include "environment.h"
#include "login/pwform.h"
#include "login/pwfrage.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_auswahl.h"
#include "maintenance/form_einstellungen.h"
#include "maintenance/form_restore.h"
#include "maintenance/form_uebernahme.h"
#include "platform/folder_chooser.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <cstdio>

namespace {

void sage(const char* zeile) {
    std::fputs(zeile, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 3)
        return 2;
    const QString modus = QString::fromLocal8Bit(argv[1]);
    TestMessageBox meldungen;
    TestClipboard ablage;
    TestPrinter drucker;
    TestHelp hilfe;
    TestProcesses prozesse;
    Services dienste{meldungen, ablage, drucker, hilfe, prozesse};
    Clavido app(dienste, QString::fromLocal8Bit(argv[2]));
    ModalDriver modal;

    if (modus == "windows") {
        // The first start on the Windows version's file, its question answered Yes.
        meldungen.antworte({msg::Yes});
        sage("los");
        const bool offen = app.datenbankOeffnen();
        sage("fertig");
        return offen ? 0 : 1;
    }

    const QString benutzer = modus == "umbenennen" ? "anna" : "Benutzer 0";
    modal.erwarte<pwfrage>([&](pwfrage& login) {
        login.Combo1->setEditText(benutzer);
        login.Textpwfrage->setText("pw");
        login.Command3_Click();
    });
    FormClavido& haupt = app.formClavido();
    haupt.laden();
    app.sitzung.optFragen = "0";

    if (modus == "uebernahme") {
        modal.erwarte<FormÜbernahme>([](FormÜbernahme& d) {
            d.File1->findItems("Clavido6.mdb", Qt::MatchExactly).value(0)->setSelected(true);
            sage("los");
            d.Command2->click();
        });
        haupt.menu_datenübernehmen->trigger();
    } else if (modus == "umbenennen") {
        modal.erwarte<pwform>([](pwform& d) {
            d.Text7->setText("pw");
            d.Command9->click();
            d.Text3->setText("anna neu");
            d.Text1->setText("neu");
            d.Text2->setText("neu");
            sage("los");
            d.Command3->click();
        });
        haupt.Command8->click();
    } else if (modus == "zurueckschreiben") {
        const QString sicherung = QDir(QString::fromLocal8Bit(argv[2])).filePath("sicherung");
        meldungen.antworte({msg::Yes});
        modal.erwarte<FormAuswahl>([&](FormAuswahl& d) {
            modal.erwarte<FormRestore>([&](FormRestore& r) {
                r.Ordner->openFolder(sicherung);
                sage("los");
                r.Command2->click();
            });
            d.Option2->setChecked(true);
            d.Command2->click();
        });
        haupt.menu_ende->trigger();
    } else {
        modal.erwarte<FormEinstellungen>([](FormEinstellungen& d) {
            d.Option2->click();
            d.Option4->click();
            sage("los");
            d.Command2->click();
            d.Command1->click();
        });
        haupt.menu_einstellungen->trigger();
    }
    // The last message says whether the write went through.
    std::fprintf(stderr, "%s\n", qPrintable(meldungen.texte().value(meldungen.texte().size() - 1)));
    sage("fertig");
    return modal.alleErledigt() && modal.ungeplant.isEmpty() ? 0 : 1;
}
