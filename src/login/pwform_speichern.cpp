#include "login/pwform.h"

#include "app/clavido.h"
#include "login/passwort.h"
#include "main_window/form_clavido.h"
#include "platform/wait_cursor.h"
#include "store/field_cipher.h"

#include <QApplication>
#include <QLineEdit>

#include <sqlcipher/sqlite3.h>

namespace {

// Whether a row of the table carries this name.
bool nameInTabelle(db::Recordset& rs, const QString& name) {
    const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(iBenutzer).Value() == name)
            return true;
    }
    return false;
}

} // namespace

void pwform::nameVergeben() {
    app.meldung(QStringLiteral("Den Benutzernamen \u201E%1\u201C gibt es bereits: Er gehört "
                               "einem anderen Benutzer.\r\nBitte wählen Sie einen anderen "
                               "Namen.")
                    .arg(Text3->text()),
                msg::Exclamation);
    Text3->setFocus();
}

bool pwform::eingabenZulaessig() {
    // As at registration: blanks alone are no name and no password. A name is
    // stored as it is, so any character will do.
    if (Text3->text().trimmed().isEmpty()) {
        app.meldung(QStringLiteral("Bitte geben Sie einen Benutzernamen ein, der nicht nur aus "
                                   "Leerzeichen besteht!"),
                    msg::Exclamation);
        Text3->setFocus();
        return false;
    }
    if (!neuesPasswortZulaessig(app, Text1, Text2))
        return false;
    // Checked again in the write itself, on the table as the file holds it then.
    if (Text3->text() != app.sitzung.aktBenutzer) {
        FormClavido& haupt = app.formClavido();
        const db::Mark hier = haupt.Daten1.Recordset().Bookmark();
        const bool vergeben = nameInTabelle(haupt.Daten1.Recordset(), Text3->text());
        haupt.Daten1.Recordset().SetBookmark(hier);
        if (vergeben) {
            nameVergeben();
            return false;
        }
    }
    return true;
}

// Every row of the user gets the new name and password, in one transaction:
// all of them or, on a failure, none. Whose rows these are and whether the new
// name is free is decided on the table as the file holds it inside that
// transaction: another copy may have renamed or deleted rows meanwhile.
bool pwform::zeilenUmschreiben(const QString& alterName) {
    enum class Befund { Frei, Vergeben, KeineZeilen } befund = Befund::Frei;
    Sitzung& s = app.sitzung;
    const QString name = Text3->text();
    const QString passwort = verschluesseln(Text1->text(), kFeldSchluessel);
    const db::Error fehler = app.formClavido().inEinerTransaktion(
        [&](db::Recordset& rs) {
            if (name != alterName && nameInTabelle(rs, name))
                befund = Befund::Vergeben;
            else if (!nameInTabelle(rs, alterName))
                befund = Befund::KeineZeilen;
            if (befund != Befund::Frei)
                return db::errorFrom(SQLITE_CONSTRAINT);
            return rs.SetzeAlle(
                {{QStringLiteral("Benutzer"), name}, {QStringLiteral("Passwort"), passwort}},
                QStringLiteral("Benutzer"), alterName);
        },
        // The window finds the user's rows under the new name.
        [&] {
            s.aktBenutzer = name;
            s.aktPasswort = Text1->text();
        });
    if (befund == Befund::Vergeben) {
        nameVergeben();
        return false;
    }
    if (befund == Befund::KeineZeilen) {
        app.meldung(QStringLiteral("Benutzername und Passwort konnten nicht gespeichert werden.\r\n"
                                   "Unter dem Namen \u201E%1\u201C sind keine Einträge mehr "
                                   "vorhanden: Ein anderes Programm hat sie inzwischen gelöscht "
                                   "oder umbenannt.\r\n\r\nEs wurde nichts geändert.")
                        .arg(alterName),
                    msg::Exclamation);
        return false;
    }
    if (fehler) {
        app.meldung(QStringLiteral("Benutzername und Passwort konnten nicht gespeichert werden.\r\n"
                                   "%1\r\n\r\nEs wurde nichts geändert.")
                        .arg(fehler.text),
                    msg::Exclamation);
        return false;
    }
    return true;
}

void pwform::Command3_Click() {
    Sitzung& s = app.sitzung;
    if (Text1->text().isEmpty() && Text2->text().isEmpty() && Text3->text().isEmpty()) {
        app.meldung(QStringLiteral("Sie haben noch keine Eingaben gemacht!"), msg::Exclamation);
        return;
    }
    if (Text1->text().isEmpty() || Text2->text().isEmpty()) {
        app.meldung(QStringLiteral("Sie müssen das Passwort 2 x eingegeben!"), msg::Exclamation);
        return;
    }
    if (Text1->text() != Text2->text()) {
        QApplication::beep();
        app.meldung(QStringLiteral("Ihre beiden Eingaben sind nicht identisch!"), msg::Exclamation);
        Text1->clear();
        Text2->clear();
        return;
    }
    if (!eingabenZulaessig())
        return;
    if (s.optFragen != QStringLiteral("0") &&
        app.meldung(QStringLiteral("Benutzername und Passwort jetzt speichern?"),
                    msg::Question | msg::YesNo) != msg::Yes)
        return;
    if (Text1->text().isEmpty() || Text2->text().isEmpty() || Text3->text().isEmpty() ||
        Text1->text() != Text2->text())
        return;

    if (!zeilenUmschreiben(s.aktBenutzer))
        return;
    app.formClavido().setWindowTitle(Clavido::fensterTitel() + s.aktBenutzer);
    app.meldung(QStringLiteral("Benutzername und  Passwort wurden gespeichert!"), msg::Exclamation);
    Unload();
}
