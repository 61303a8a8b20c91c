#include "login/pwform.h"

#include "app/clavido.h"
#include "login/passwort.h"
#include "main_window/form_clavido.h"
#include "platform/wait_cursor.h"
#include "store/field_cipher.h"

#include <QApplication>
#include <QLineEdit>

bool pwform::eingabenZulaessig() {
    // As at registration: blanks alone are no name and no password.
    if (Text3->text().trimmed().isEmpty()) {
        app.meldung(QStringLiteral("Bitte geben Sie einen Benutzernamen ein, der nicht nur aus "
                                   "Leerzeichen besteht!"),
                    msg::Exclamation);
        Text3->setFocus();
        return false;
    }
    const Sitzung& s = app.sitzung;
    const bool neuerName = Text3->text() != s.aktBenutzer;
    if (neuerName && !app.verschluesselbar(Text3->text(), QStringLiteral("Der Benutzername"))) {
        Text3->setFocus();
        return false;
    }
    if (!neuesPasswortZulaessig(app, Text1, Text2))
        return false;
    // Rows given another user's name would join his: each would see the
    // other's entries.
    if (neuerName) {
        db::Recordset& rs = app.formClavido().Daten1.Recordset();
        const db::Mark hier = rs.Bookmark();
        const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
        bool vergeben = false;
        for (rs.MoveFirst(); !rs.Eof() && !vergeben; rs.MoveNext())
            vergeben = rs.Fields(iBenutzer).Value() == Text3->text();
        rs.SetBookmark(hier);
        if (vergeben) {
            app.meldung(
                QStringLiteral("Den Benutzernamen \u201E%1\u201C gibt es bereits: Er gehört "
                               "einem anderen Benutzer.\r\nBitte wählen Sie einen anderen "
                               "Namen.")
                    .arg(Text3->text()),
                msg::Exclamation);
            Text3->setFocus();
            return false;
        }
    }
    return true;
}

// Every row of the user gets the new name and password, in one transaction:
// all of them or, on a failure, none.
bool pwform::zeilenUmschreiben(const QString& alterName) {
    const QString name = Text3->text();
    const QString passwort = verschluesseln(Text1->text(), kFeldSchluessel);
    const db::Error fehler = app.formClavido().inEinerTransaktion([&](db::Recordset& rs) {
        return rs.SetzeAlle(
            {{QStringLiteral("Benutzer"), name}, {QStringLiteral("Passwort"), passwort}},
            QStringLiteral("Benutzer"), alterName);
    });
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
    s.aktBenutzer = Text3->text();
    s.aktPasswort = Text1->text();
    app.formClavido().setWindowTitle(Clavido::fensterTitel() + s.aktBenutzer);
    app.meldung(QStringLiteral("Benutzername und  Passwort wurden gespeichert!"), msg::Exclamation);
    Unload();
}
