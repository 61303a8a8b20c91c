#include "main_window/form_clavido.h"

#include "app/clavido.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>

FormClavido::FormClavido(Clavido& app)
    : Daten1(app.verbindung)
    , app(app) {
    setWindowTitle(Clavido::titel());
    baueFenster();
    for (QLineEdit* box : {Text5, Text4, Text9})
        app.geheimFelder.add(box);
    connect(Combo2, &QComboBox::activated, this, &FormClavido::Combo2_Click);
    connect(Combo1, &QComboBox::activated, this, &FormClavido::Combo1_Click);
}

FormClavido::~FormClavido() = default;

void FormClavido::laden() {
    if (geladen_)
        return;
    geladen_ = true;
    Form_Load();
}

void FormClavido::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The user comes back to this window, perhaps from another copy's.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && geladen_ && isVisible())
        fremdeAenderungenZeigen();
}

void FormClavido::closeEvent(QCloseEvent* event) {
    // The window never refuses to close: every way out ends the program.
    event->accept();
    Form_QueryUnload();
}
