#include "form_helpers.h"

#include "main_window/form_clavido.h"
#include "platform/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

QStringList listenEintraege(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

void klartextAnzeigen(FormClavido& f) {
    f.Check1->setChecked(true);
    for (QLineEdit* box : {f.Text5, f.Text4, f.Text9})
        widgets::setPasswordChar(box, QChar());
    f.eintragAnzeigen(false);
}
