#pragma once

#include <QString>

// Passwords compare without their leading and trailing blanks, at sign-in and
// whenever the password is asked again; letter case counts.
bool passwoerterGleich(const QString& getippt, const QString& gespeichert);

class Clavido;
class QLineEdit;

// Whether a new password (typed twice, into `passwort` and `wiederholung`)
// can be stored: not of blanks alone, which the sign-in would take for no
// password, and only of characters the field cipher carries. If not, says why,
// empties both boxes or puts the focus where the fault is.
bool neuesPasswortZulaessig(Clavido& app, QLineEdit* passwort, QLineEdit* wiederholung);

// A wrong password where the password is asked again: says which attempt it
// was and empties `eingabe` for the next one. The third ends the function
// (the next try counts from 1 again): then false, and the caller closes.
bool falschesPasswort(Clavido& app, qint16& versuch, QLineEdit* eingabe);
