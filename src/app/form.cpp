#include "app/form.h"

#include "app/clavido.h"

Formular::Formular(Clavido& app)
    : QDialog(nullptr)
    , app(app) {
    setWindowTitle(Clavido::titel());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void Formular::laden() {
    if (geladen_)
        return;
    geladen_ = true;
    Form_Load();
}

void Formular::Unload() {
    const bool war = geladen_;
    geladen_ = false;
    done(QDialog::Rejected);
    if (war)
        zuruecksetzen();
}

void Formular::zeigeModal() {
    laden();
    if (app.beendet() || !geladen_)
        return;
    exec();
}
