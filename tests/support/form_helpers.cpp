#include "form_helpers.h"

#include "main_window/form_clavido.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

QStringList listenEintraege(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

void klartextAnzeigen(FormClavido& f, const QString& passwort) {
    f.Check1->click();
    f.Text7->setText(passwort);
    f.Command9->click();
}
