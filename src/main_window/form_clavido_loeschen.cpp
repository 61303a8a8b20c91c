#include "main_window/form_clavido.h"

#include "app/clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/wait_cursor.h"
#include "platform/widgets.h"
#include "store/statements.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSet>
#include <QToolButton>

void FormClavido::menu_loeschen_Click() {
    Sitzung& s = app.sitzung;
    db::Recordset& rs = Daten1.Recordset();
    s.merkBookmark = rs.Bookmark();

    const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    int zeilen = 0;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(iBenutzer).Value() == s.aktBenutzer)
            ++zeilen;
    }
    const bool letzte = zeilen == 1;
    const QString frage =
        letzte ? QStringLiteral("Dies ist der letzte Datensatz!\r\n"
                                "Wenn Sie diesen letzten Datensatz löschen und anschließend das "
                                "Programm\r\n"
                                "beenden, müssen Sie sich beim nächsten Programmstart komplett neu "
                                "anmelden!\r\n"
                                "Möchten Sie diesen Datensatz jetzt trotzdem löschen?")
               : QStringLiteral("Diesen Datensatz jetzt löschen?");
    const auto antwort = app.meldung(frage, msg::Critical | msg::YesNo);
    // The counting walk left the row: whatever the answer, stand on it again.
    // If it is not there any more, the walk has left the recordset after its
    // last row, where nothing can be deleted.
    rs.SetBookmark(s.merkBookmark);
    if (antwort != msg::Yes)
        return;

    // Only the row the user sees may go; if it is gone or cannot be deleted,
    // nothing else changes either.
    if (db::Error fehler = eigeneZeile() ? rs.Delete() : db::Error{}) {
        app.meldung(
            QStringLiteral("Der Datensatz konnte nicht gelöscht werden.\r\n%1").arg(fehler.text),
            msg::Exclamation);
        // Another copy changed or deleted it: show what the file holds now, so
        // that the next try does not meet the same refusal.
        if (tabelleNachlesen())
            zeileAnzeigen();
        return;
    }
    s.listenAktion = 0;
    if (letzte) {
        s.optSichern = QStringLiteral("3");
        menu_einstellungen->setEnabled(false);
        menu_passwort->setEnabled(false);
    }
    neuAufbauen();
}

void FormClavido::neuAufbauen() {
    WaitCursor warten;
    const Sitzung& s = app.sitzung;
    for (QLineEdit* box : {Text6, Text5, Text4, Text9})
        box->clear();
    Text13->clear();

    // The categories from the table, each once (letter case counts); the entry
    // list follows from choosing the first of them.
    zurTabelle();
    db::Recordset& rs = Daten1.Recordset();
    QStringList kategorien;
    QSet<QString> schonDa;
    const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    const int iKategorie = rs.fieldIndex(QStringLiteral("Kategorie"));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(iBenutzer).Value() != s.aktBenutzer)
            continue;
        const QString kategorie = rs.Fields(iKategorie).Value();
        if (!schonDa.contains(kategorie)) {
            schonDa.insert(kategorie);
            kategorien << kategorie;
        }
    }
    Combo2->clear();
    widgets::fillSorted(Combo2, kategorien);
    Combo1->clear();
    if (Combo2->count() > 0) {
        Combo2->setCurrentIndex(0);
        Combo2_Click();
    }

    zaehlerAktualisieren();
    listenStandMerken();
    if (Combo1->count() > 0) {
        app.datensatzAnzeigen();
        return;
    }
    // No entry of this user is left to show: the password asked for would
    // show nothing, and the recordset stands on no one's row.
    Frame2->setVisible(false);
    Text7->clear();
    Check1->setChecked(false);
    for (QLineEdit* box : {Text4, Text5, Text9})
        widgets::setPasswordChar(box, u'*');
    for (QWidget* w : {static_cast<QWidget*>(Check1), static_cast<QWidget*>(Command5),
                       static_cast<QWidget*>(Command3), static_cast<QWidget*>(Command13)})
        w->setEnabled(false);
    for (QAction* a : {menu_drucken, menu_edit, menu_loeschen, menu_einstellungen, menu_passwort})
        a->setEnabled(false);
    rs.MoveLast();
    rs.MoveNext();
}
