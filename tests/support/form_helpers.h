#pragma once

#include <QStringList>

class FormClavido;
class QComboBox;

// The items of a list, in their order.
QStringList listenEintraege(const QComboBox* box);

// The main window's secrets in plain text, as its check box leaves them once
// the password was typed again.
void klartextAnzeigen(FormClavido& f);
