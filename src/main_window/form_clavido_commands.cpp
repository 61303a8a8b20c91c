#include "main_window/form_clavido.h"

#include "app/clavido.h"
#include "editor/form_daten.h"
#include "editor/form_suchen.h"
#include "login/pwform.h"
#include "maintenance/form_auswahl.h"
#include "maintenance/form_einstellungen.h"
#include "maintenance/form_info.h"
#include "maintenance/form_uebernahme.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

void FormClavido::menu_neu_Click() {
    Sitzung& s = app.sitzung;
    db::Recordset& rs = Daten1.Recordset();
    if (rs.RecordCount() > 0)
        s.merkBookmark = rs.Bookmark();
    s.listenAktion = 2;
    s.eingabeAktiv = 1;
    FormDaten& editor = app.formDaten();
    editor.Frame1->setTitle(QStringLiteral("Neuen Datensatz anlegen"));
    editor.leereBeschriftungenFuellen(QStringLiteral("Zusatz"));
    s.datenModus = 1;
    editor.zeigeModal();
}

void FormClavido::menu_edit_Click() {
    if (!widgets::passwordChar(Text5).isNull()) {
        app.meldung(QStringLiteral("Sie müssen zuerst die Daten in Klartext umwandeln!     "),
                    msg::Exclamation);
        return;
    }
    // The editor starts from what the file holds, which another copy may have changed.
    if (!tabelleNachlesen())
        return;
    zeileAnzeigen();
    Sitzung& s = app.sitzung;
    db::Recordset& rs = Daten1.Recordset();
    s.merkBookmark = rs.Bookmark();
    FormDaten& editor = app.formDaten();
    editor.Frame1->setTitle(QStringLiteral("Datensatz editieren"));
    s.listenAktion = 1;
    s.eingabeAktiv = 1;
    s.datenModus = 2;
    const QChar maske = widgets::passwordChar(Text5);
    for (QLineEdit* box : {editor.Text2, editor.Text3, editor.Text8})
        widgets::setPasswordChar(box, maske);

    // Every character of the row, even beyond what the boxes let a user type.
    fillText(editor.Text2,
             entschluesseln(rs.Fields(QStringLiteral("Konto-Nr")).Value(), kFeldSchluessel));
    fillText(editor.Text3,
             entschluesseln(rs.Fields(QStringLiteral("Pin")).Value(), kFeldSchluessel));
    fillText(editor.Text8,
             entschluesseln(rs.Fields(QStringLiteral("Zusatz")).Value(), kFeldSchluessel));
    fillText(editor.Text1, rs.Fields(QStringLiteral("Bezeichnung")).Value());
    const QString b1 = rs.Fields(QStringLiteral("Bezeichnung1")).Value();
    const QString b2 = rs.Fields(QStringLiteral("Bezeichnung2")).Value();
    const QString b3 = rs.Fields(QStringLiteral("Bezeichnung3")).Value();
    fillText(editor.Text10, b1);
    fillText(editor.Text11, b2);
    fillText(editor.Text12, b3);
    editor.Label6->setText(b1);
    editor.Label7->setText(b2);
    editor.Label9->setText(b3);
    editor.Text14->fillText(rs.Fields(QStringLiteral("Bemerkungen")).Value());
    editor.setKategorie(rs.Fields(QStringLiteral("Kategorie")).Value());
    editor.Text1->setEnabled(false);
    editor.zeileBeimOeffnen = FormDaten::zeileJetzt(rs);
    editor.zeigeModal();
}

void FormClavido::menu_suchen_Click() {
    app.formSuchen().zeigeModal();
}

void FormClavido::menu_passwort_Click() {
    app.formPwform().zeigeModal();
}

void FormClavido::menu_einstellungen_Click() {
    app.formEinstellungen().zeigeModal();
}

void FormClavido::menu_datenübernehmen_Click() {
    app.formUebernahme().zeigeModal();
}

void FormClavido::menu_info_Click() {
    app.formInfo().zeigeModal();
}

void FormClavido::menu_anmelden_Click() {
    Sitzung& s = app.sitzung;
    if (s.optFragen != QStringLiteral("0") &&
        app.meldung(QStringLiteral("Möchten Sie das Programm mit einem anderen Benutzer neu "
                                   "starten?"),
                    msg::Question | msg::YesNo) != msg::Yes)
        return;
    s.endeModus = 1;
    zwischenablageSchuetzen();
    sicherungAnbieten();
    if (app.beendet())
        return;
    app.dienste.help.close();
    Daten1.Database().close();
    if (s.endeModus == 1)
        app.dienste.processes.start(Clavido::programmDatei());
    close();
}

void FormClavido::menu_ende_Click() {
    close();
}

void FormClavido::menu_hilfe_Click() {
    app.hilfeAnzeigen(this);
}

void FormClavido::Form_QueryUnload() {
    zwischenablageSchuetzen();
    app.sitzung.endeModus = 2;
    sicherungAnbieten();
    if (app.beendet())
        return;
    app.dienste.help.close();
    app.beenden();
}

void FormClavido::sicherungAnbieten() {
    if (app.sitzung.optSichern == QStringLiteral("1"))
        app.formAuswahl().zeigeModal();
}
