#include "editor/form_daten.h"

#include "app/clavido.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/wait_cursor.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

bool FormDaten::geheimnisseSpeicherbar() {
    // The secrets are stored through the field cipher, which carries only the
    // western code page; anything else would come back changed.
    for (auto [box, label] : {std::pair{Text2, Label6}, {Text3, Label7}, {Text8, Label9}}) {
        const QString feld = QStringLiteral("Das Feld \u201E%1\u201C").arg(label->text().trimmed());
        if (!app.verschluesselbar(box->text(), feld)) {
            box->setFocus();
            return false;
        }
    }
    return true;
}

QStringList FormDaten::zeileJetzt(db::Recordset& rs) {
    QStringList werte;
    for (int i = 0; i < rs.columnCount(); ++i)
        werte << rs.Fields(i).Value();
    return werte;
}

bool FormDaten::bezeichnungVergeben() {
    Sitzung& s = app.sitzung;
    db::Recordset& rs = app.formClavido().Daten1.Recordset();
    const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(iBenutzer).Value() == s.aktBenutzer &&
            rs.Fields(0).Value() == Text1->text()) {
            app.meldung(QStringLiteral("Diese Datensatz-Bezeichnung ist für den aktuellen "
                                       "Benutzer bereits vorhanden!   \r\nBitte geben Sie eine "
                                       "andere Bezeichnug für den diesen Datensatz ein!"),
                        msg::Exclamation);
            app.formClavido().zumGezeigtenEintrag(s.merkBookmark);
            Text1->clear();
            Text1->setFocus();
            return true;
        }
    }
    return false;
}

void FormDaten::Command2_Click() {
    Sitzung& s = app.sitzung;
    FormClavido& haupt = app.formClavido();
    db::DataControl& daten = haupt.Daten1;

    if (!geheimnisseSpeicherbar())
        return;
    s.letzteKategorie = Combo1->currentText();

    // Another copy of the program may have written since the table was read:
    // the checks below look at what the file holds now.
    haupt.tabelleNachlesen();
    if (s.datenModus == 1 && bezeichnungVergeben())
        return;
    if (s.optFragen != QStringLiteral("0")) {
        const auto antwort =
            app.meldung(QStringLiteral("Möchten Sie diesen Datensatz jetzt speichern?"),
                        msg::Question | msg::YesNo);
        if (antwort != msg::Yes) {
            haupt.zumGezeigtenEintrag(s.merkBookmark);
            return;
        }
        // The question may have stood open for a while.
        haupt.tabelleNachlesen();
        if (s.datenModus == 1 && bezeichnungVergeben())
            return;
    }

    db::Recordset* rs = &daten.Recordset();
    if (s.datenModus == 1) {
        rs->AddNew();
    } else if (s.datenModus == 2) {
        // Changed by another copy since this editor was filled: not overwritten.
        const bool da = haupt.zumGezeigtenEintrag(s.merkBookmark);
        if (!da || zeileJetzt(*rs) != zeileBeimOeffnen) {
            // The main window shows what the file holds now.
            if (da)
                haupt.zeileAnzeigen();
            app.meldung(QStringLiteral("Der Datensatz konnte nicht gespeichert werden.\r\n"
                                       "Er wurde inzwischen von einem anderen Programm geändert "
                                       "oder gelöscht.\r\n\r\nBitte schließen Sie dieses Fenster "
                                       "und öffnen Sie den Datensatz erneut."),
                        msg::Exclamation);
            return;
        }
        rs->Edit();
    } else if (rs->editMode() != db::Recordset::EditMode::AddNew) {
        // The registration's new row was dropped by a refusal or a re-read: start it again.
        rs->AddNew();
    }

    leereBeschriftungenFuellen(QStringLiteral("URL"));
    rs->Fields(QStringLiteral("Konto-Nr")).SetValue(verschluesseln(Text2->text(), kFeldSchluessel));
    rs->Fields(QStringLiteral("Pin")).SetValue(verschluesseln(Text3->text(), kFeldSchluessel));
    rs->Fields(QStringLiteral("Zusatz")).SetValue(verschluesseln(Text8->text(), kFeldSchluessel));
    rs->Fields(QStringLiteral("Bezeichnung")).SetValue(Text1->text());
    rs->Fields(QStringLiteral("Bemerkungen")).SetValue(Text14->text());
    rs->Fields(QStringLiteral("Bezeichnung1")).SetValue(Text10->text());
    rs->Fields(QStringLiteral("Bezeichnung2")).SetValue(Text11->text());
    rs->Fields(QStringLiteral("Bezeichnung3")).SetValue(Text12->text());
    rs->Fields(QStringLiteral("Benutzer")).SetValue(s.aktBenutzer);
    rs->Fields(QStringLiteral("Passwort")).SetValue(verschluesseln(s.aktPasswort, kFeldSchluessel));
    rs->Fields(QStringLiteral("Sichern")).SetValue(s.optSichern);
    rs->Fields(QStringLiteral("fragen")).SetValue(s.optFragen);
    rs->Fields(QStringLiteral("Kategorie")).SetValue(Combo1->currentText());

    if (db::Error e = rs->Update()) {
        // Nothing was written: keep everything typed and leave the main window as it was.
        rs->CancelUpdate();
        haupt.zumGezeigtenEintrag(s.merkBookmark);
        app.meldung(QStringLiteral("Der Datensatz konnte nicht gespeichert werden.\r\n%1\r\n\r\n"
                                   "Ihre Eingaben bleiben in diesem Fenster erhalten.")
                        .arg(e.text),
                    msg::Exclamation);
        return;
    }

    // The saved row: a new one stands last in the rows read.
    if (s.datenModus != 2) {
        rs->MoveLast();
        s.merkBookmark = rs->Bookmark();
    }
    WaitCursor warten;
    // The entry list is rebuilt by choosing the saved entry's category below.
    haupt.kategorienAufbauen();
    haupt.zurTabelle();
    rs = &daten.Recordset();

    if (s.datenModus == 1) {
        haupt.kategorieWaehlen(Combo1->currentText());
    } else {
        haupt.kategorieWaehlen(s.letzteKategorie);
    }

    haupt.Text6->setText(Text1->text());
    haupt.Text5->setText(Text2->text());
    haupt.Text4->setText(Text3->text());
    haupt.Text9->setText(Text8->text());
    haupt.Text13->setPlainText(Text14->text());
    haupt.Label6->setText(Text10->text());
    haupt.Label7->setText(Text11->text());
    haupt.Label9->setText(Text12->text());
    haupt.menu_einstellungen->setEnabled(true);
    haupt.menu_passwort->setEnabled(true);
    // The user has an entry now, so there is a list to print.
    haupt.Command13->setEnabled(true);
    haupt.menu_drucken->setEnabled(true);
    if (!haupt.Text6->text().isEmpty())
        haupt.Check1->setEnabled(true);
    haupt.eintragWaehlen(haupt.Text6->text());

    s.eingabeAktiv = 0;
    Text1->setEnabled(true);
    Unload();

    haupt.zaehlerAktualisieren();
    haupt.zumGezeigtenEintrag(s.merkBookmark);
}
