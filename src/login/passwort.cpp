#include "login/passwort.h"

#include "app/clavido.h"

#include <QLineEdit>

namespace {

QString ohneRandLeerzeichen(const QString& text) {
    qsizetype start = 0, end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace

bool passwoerterGleich(const QString& getippt, const QString& gespeichert) {
    return ohneRandLeerzeichen(getippt) == ohneRandLeerzeichen(gespeichert);
}

bool neuesPasswortZulaessig(Clavido& app, QLineEdit* passwort, QLineEdit* wiederholung) {
    if (passwort->text().trimmed().isEmpty()) {
        app.meldung(QStringLiteral("Das Passwort darf nicht nur aus Leerzeichen bestehen!\r\n"
                                   "Bitte geben Sie ein Passwort mit Buchstaben, Ziffern oder "
                                   "Satzzeichen ein."),
                    msg::Exclamation);
        passwort->clear();
        wiederholung->clear();
        passwort->setFocus();
        return false;
    }
    // A character the cipher cannot carry would lock the user out for good.
    if (!app.verschluesselbar(passwort->text(), QStringLiteral("Das Passwort"))) {
        passwort->setFocus();
        return false;
    }
    return true;
}

bool falschesPasswort(Clavido& app, qint16& versuch, QLineEdit* eingabe) {
    if (versuch >= 3) {
        app.meldung(QStringLiteral("3. Versuch: Das Passwort ist ungültig! Diese Funktion wird "
                                   "abgebrochen."),
                    msg::Exclamation);
        versuch = 0;
        return false;
    }
    app.meldung(QString::number(versuch) + QStringLiteral(". Versuch: Das Passwort ist ungültig!"),
                msg::Exclamation);
    eingabe->clear();
    eingabe->setFocus();
    ++versuch;
    return true;
}
