#include "main_window/form_clavido.h"

#include "app/clavido.h"
#include "login/pwfrage.h"
#include "platform/limited_text_edit.h"
#include "platform/wait_cursor.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"
#include "store/statements.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include <optional>

void FormClavido::zurTabelle() {
    Daten1.SetRecordSource(statements::ganzeTabelle());
    Daten1.Refresh();
}

bool FormClavido::tabelleNachlesen() {
    const db::Mark hier = Daten1.Recordset().Bookmark();
    // Cheap when nobody wrote: a table nobody changed is not read again.
    zurTabelle();
    return zumGezeigtenEintrag(hier);
}

db::Error FormClavido::inEinerTransaktion(const std::function<db::Error(db::Recordset&)>& schreiben,
                                          const std::function<void()>& geschrieben) {
    const db::Mark hier = Daten1.Recordset().Bookmark();
    db::Error fehler;
    {
        WaitCursor warten;
        db::Transaction transaktion(Daten1.Database());
        fehler = transaktion.started();
        if (!fehler) {
            zurTabelle();
            fehler = schreiben(Daten1.Recordset());
        }
        if (!fehler)
            fehler = transaktion.commit();
        if (fehler) {
            Daten1.Recordset().CancelUpdate();
            Daten1.Forget();
        }
    }
    // The rows read before a rollback are not what the file holds.
    if (fehler)
        zurTabelle();
    else if (geschrieben)
        geschrieben();
    zumGezeigtenEintrag(hier);
    return fehler;
}

bool FormClavido::aufGezeigtemEintrag() {
    db::Recordset& rs = Daten1.Recordset();
    return !rs.Eof() && !Text6->text().isEmpty() &&
           rs.Fields(QStringLiteral("Benutzer")).Value() == app.sitzung.aktBenutzer &&
           rs.Fields(QStringLiteral("Bezeichnung")).Value() == Text6->text();
}

bool FormClavido::zumGezeigtenEintrag(const db::Mark& zeile) {
    db::Recordset& rs = Daten1.Recordset();
    if (zeile && rs.SetBookmark(zeile) && aufGezeigtemEintrag())
        return true;
    if (Text6->text().isEmpty()) {
        rs.MoveLast();
        rs.MoveNext();
        return false;
    }
    neuAufbauen();
    return false;
}

bool FormClavido::eigeneZeile() {
    if (aufGezeigtemEintrag())
        return true;
    if (Text6->text().isEmpty())
        return false;
    if (zurZeile(Text6->text()))
        return true;
    neuAufbauen();
    return false;
}

bool FormClavido::zurZeile(const QString& bezeichnung) {
    db::Recordset& rs = Daten1.Recordset();
    const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    const int iBezeichnung = rs.fieldIndex(QStringLiteral("Bezeichnung"));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(iBenutzer).Value() == app.sitzung.aktBenutzer &&
            rs.Fields(iBezeichnung).Value() == bezeichnung)
            return true;
    }
    return false;
}

void FormClavido::listenStandMerken() {
    listenStand_ = Daten1.Database().changeStamp().dataVersion;
}

void FormClavido::fremdeAenderungenZeigen() {
    if (Daten1.Database().changeStamp().dataVersion == listenStand_)
        return;
    WaitCursor warten;
    const QString eintrag = Text6->text();
    zurTabelle();
    if (eintrag.isEmpty() || !zurZeile(eintrag)) {
        neuAufbauen();
        return;
    }
    const QString kategorie = Daten1.Recordset().Fields(QStringLiteral("Kategorie")).Value();
    kategorienAufbauen();
    zurTabelle();
    kategorieWaehlen(kategorie);
    eintragWaehlen(eintrag);
    zaehlerAktualisieren();
    zurZeile(eintrag);
    listenStandMerken();
}

void FormClavido::kategorienAufbauen() {
    Daten1.SetRecordSource(statements::kategorienDesBenutzers(app.sitzung.aktBenutzer));
    Daten1.Refresh();
    QStringList kategorien;
    for (db::Recordset& k = Daten1.Recordset(); !k.Eof(); k.MoveNext())
        kategorien << k.Fields(0).Value();
    widgets::setItems(Combo2, widgets::sortedItems(kategorien));
}

void FormClavido::zaehlerAktualisieren() {
    Daten1.SetRecordSource(statements::anzahlEintraege(app.sitzung.aktBenutzer));
    Daten1.Refresh();
    Label3->setText(QString::number(Combo1->count()));
    Label2->setText(Daten1.Recordset().Fields(QStringLiteral("izahl")).Value());
    zurTabelle();
}

void FormClavido::Form_Load() {
    app.formPwfrage().zeigeModal();
    if (app.beendet())
        return;
    fensterFuellen();
}

void FormClavido::fensterFuellen() {
    WaitCursor warten;
    Sitzung& s = app.sitzung;

    // The settings come from the user's first row. After a registration the
    // current row may belong to someone else, so look the user's row up.
    db::Recordset& rs = Daten1.Recordset();
    if (rs.Eof() || rs.Fields(QStringLiteral("Benutzer")).Value() != s.aktBenutzer) {
        const int benutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            if (rs.Fields(benutzer).Value() == s.aktBenutzer)
                break;
        }
    }
    if (!rs.Eof()) {
        s.optSichern = rs.Fields(QStringLiteral("Sichern")).Value();
        s.optFragen = rs.Fields(QStringLiteral("fragen")).Value();
        s.optUebernommen = rs.Fields(QStringLiteral("übernommen")).Value();
    } else {
        s.optSichern = QStringLiteral("1");
        s.optFragen = QStringLiteral("1");
        s.optUebernommen = QStringLiteral("0");
    }
    rs.MoveLast();
    const bool tabelleLeer = rs.RecordCount() == 0;

    s.endeModus = 2;
    // ablageBenutzt stays: a secret copied before this load (in the first
    // entry's editor, or left on the clipboard at a new sign-in) is asked
    // about at the end all the same.
    s.eingabeAktiv = 0;

    kategorienAufbauen();

    // The category step walks the whole table; the designations of the first
    // category it lists are the ones that category's statement would deliver.
    zurTabelle();
    if (Combo2->count() > 0) {
        Combo2->setCurrentIndex(0);
        Combo2_Click();
    } else {
        Combo1->clear();
    }

    zaehlerAktualisieren();
    listenStandMerken();

    Label11->setText(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));

    if (Combo1->count() > 0) {
        Combo1->setCurrentIndex(0);
        Combo1_Click();
        app.datensatzAnzeigen();
    }
    Combo1->setEnabled(Combo1->count() > 0);
    s.listenAktion = 0;
    if (!Text6->text().isEmpty())
        Check1->setEnabled(true);

    // Without an entry of this user there is nothing to edit, delete or print;
    // the current row would be someone else's.
    if (tabelleLeer || Combo2->count() == 0) {
        Command3->setEnabled(false);
        Command5->setEnabled(false);
        Command13->setEnabled(false);
        menu_drucken->setEnabled(false);
        menu_edit->setEnabled(false);
        menu_loeschen->setEnabled(false);
    }
}

void FormClavido::Combo2_Click() {
    WaitCursor warten;
    const QString& benutzer = app.sitzung.aktBenutzer;
    const QString kategorie = Combo2->currentText();

    db::Recordset& rs = Daten1.Recordset();
    const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    const int iKategorie = rs.fieldIndex(QStringLiteral("Kategorie"));
    const int iBezeichnung = rs.fieldIndex(QStringLiteral("Bezeichnung"));
    QStringList bezeichnungen;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(iBenutzer).Value() == benutzer && rs.Fields(iKategorie).Value() == kategorie)
            bezeichnungen << rs.Fields(iBezeichnung).Value();
    }
    widgets::setItems(Combo1, widgets::sortedItems(bezeichnungen));
    for (QLineEdit* box : {Text5, Text4, Text9, Text6})
        box->clear();
    Text13->clear();

    Label3->setText(QString::number(Combo1->count()));
    if (Combo1->count() > 0) {
        Combo1->setCurrentIndex(0);
        Combo1_Click();
    }
    const bool frei = Combo1->count() > 0 && !Combo1->itemText(0).isEmpty();
    eintragsBefehleFreigeben(frei);
    Combo1->setEnabled(frei);
}

void FormClavido::Combo1_Click() {
    eintragAnzeigen(true);
}

void FormClavido::eintragAnzeigen(bool mitSanduhr) {
    std::optional<WaitCursor> warten;
    if (mitSanduhr)
        warten.emplace();
    for (QLineEdit* box : {Text4, Text5, Text6, Text9})
        box->clear();
    Text13->clear();
    if (zurZeile(Combo1->currentText()))
        zeileAnzeigen();
}

void FormClavido::zeileAnzeigen() {
    db::Recordset& rs = Daten1.Recordset();
    const QString konto = rs.Fields(QStringLiteral("Konto-Nr")).Value();
    const QString pin = rs.Fields(QStringLiteral("Pin")).Value();
    const QString zusatz = rs.Fields(QStringLiteral("Zusatz")).Value();
    if (Check1->isChecked()) {
        Text5->setText(entschluesseln(konto, kFeldSchluessel));
        Text4->setText(entschluesseln(pin, kFeldSchluessel));
        Text9->setText(entschluesseln(zusatz, kFeldSchluessel));
    } else {
        Text5->setText(konto);
        Text4->setText(pin);
        Text9->setText(zusatz);
    }
    Text6->setText(rs.Fields(QStringLiteral("Bezeichnung")).Value());
    Text13->setPlainText(rs.Fields(QStringLiteral("Bemerkungen")).Value());
    Label6->setText(rs.Fields(QStringLiteral("Bezeichnung1")).Value());
    Label7->setText(rs.Fields(QStringLiteral("Bezeichnung2")).Value());
    Label9->setText(rs.Fields(QStringLiteral("Bezeichnung3")).Value());
    eintragsBefehleFreigeben(true);
    app.sitzung.listenAktion = 0;
}

void FormClavido::eintragsBefehleFreigeben(bool frei) {
    Command5->setEnabled(frei);
    Command3->setEnabled(frei);
    menu_edit->setEnabled(frei);
    menu_loeschen->setEnabled(frei);
}

void FormClavido::kategorieWaehlen(const QString& kategorie) {
    if (widgets::selectExact(Combo2, kategorie))
        Combo2_Click();
}

void FormClavido::eintragWaehlen(const QString& bezeichnung) {
    if (widgets::selectExact(Combo1, bezeichnung))
        Combo1_Click();
}
