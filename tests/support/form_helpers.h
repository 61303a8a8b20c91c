#pragma once

#include <QString>
#include <QStringList>

class FormClavido;
class QComboBox;

// The items of a list, in their order.
QStringList listenEintraege(const QComboBox* box);

// Ticks "Daten in Klartext" and types the password again.
void klartextAnzeigen(FormClavido& f, const QString& passwort = QStringLiteral("pw"));
