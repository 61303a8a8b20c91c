#include "main_window/form_clavido.h"

#include "app/clavido.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>

void FormClavido::menu_kopieren_Click() {
    Clipboard& ablage = app.dienste.clipboard;
    ablage.clear();
    // The last selection in this order wins.
    QString auswahl;
    for (QLineEdit* box : {Text5, Text4, Text9}) {
        if (!box->selectedText().isEmpty()) {
            auswahl = box->selectedText();
            ablage.setSecretText(auswahl);
        }
    }
    if (auswahl.isEmpty()) {
        app.meldung(QStringLiteral("Sie haben kein Geheimwort ausgewählt!  Bitte markieren Sie ein "
                                   "Geheimwort."),
                    msg::Exclamation, QStringLiteral("lumoClavido"));
        return;
    }
    app.meldung(QStringLiteral("Das ausgewählte Geheimwort wurde in Klartext in die Zwischenablage "
                               "kopiert!\r\n\r\nAchtung:  Vergessen Sie nicht, den Inhalt der "
                               "Zwischenablage wieder zu löschen!"),
                msg::Exclamation, QStringLiteral("lumoClavido"));
    app.sitzung.ablageBenutzt = 1;
    Command12->setEnabled(false);
    menu_kopieren->setEnabled(false);
}

void FormClavido::zwischenablageSchuetzen() {
    Sitzung& s = app.sitzung;
    if (s.ablageBenutzt != 1 || !app.dienste.clipboard.hasText())
        return;
    const auto antwort =
        app.meldung(QStringLiteral("Die Zwischenablage enthält Text, evtl. ein Geheimwort!\r\n\r\n"
                                   "Soll der Inhalt der Zwischenablage jetzt gelöscht werden?"),
                    msg::Critical | msg::YesNo);
    if (antwort != msg::Yes)
        return;
    app.dienste.clipboard.clear();
    app.meldung(QStringLiteral("Die Zwischenablage ist jetzt leer!"), msg::Exclamation);
    s.ablageBenutzt = 0;
}
