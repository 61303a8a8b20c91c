#pragma once

#include "platform/db/db_error.h"

#include <QString>

class Clavido;

// The way out of every backup and restore dialog: the help is told, the
// program starts anew when the user is changing the sign-in, and this one ends.
void endeNachSicherung(Clavido& app);

// "Fehler " with the classic error number and the description, as the
// drive, folder and copy failures of these dialogs are reported.
QString fehlerText(int nummer, const QString& beschreibung);
QString fehlerText(const db::Error& fehler);
