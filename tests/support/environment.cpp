#include "environment.h"

#include "app/german.h"
#include "login/pwfrage.h"
#include "main_window/form_clavido.h"
#include "store/record_file.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

ModalDriver::ModalDriver() {
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, &ModalDriver::tick);
    timer.start();
}

void ModalDriver::tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        wartezeit = 0;
        return;
    }
    if (!schritte.empty()) {
        auto schritt = schritte.front();
        schritte.pop_front();
        if (schritt(modal)) {
            wartezeit = 0;
            return;
        }
        ungeplant << QString::fromLatin1(modal->metaObject()->className()) +
                         QStringLiteral(" statt des erwarteten Fensters");
        schritte.clear();
    }
    if (++wartezeit > 400) {
        ungeplant << QString::fromLatin1(modal->metaObject()->className());
        wartezeit = 0;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
    }
}

Umgebung::Umgebung() {
    app = std::make_unique<Clavido>(dienste, ordner.path());
}

Umgebung::~Umgebung() {
    app.reset();
}

QString Umgebung::dbPfad() const {
    return recordfile::pathIn(ordner.path());
}

void Umgebung::anmelden(const QString& name, const QString& passwort) {
    modal.erwarte<pwfrage>([name, passwort](pwfrage& login) {
        login.Combo1->setEditText(name);
        login.Textpwfrage->setText(passwort);
        login.Command3_Click();
    });
    app->formClavido().laden();
}

int clavidoTestMain(int argc, char* argv[], QObject* test) {
    installiereDeutsch(*QCoreApplication::instance());
    QApplication::setQuitOnLastWindowClosed(false);
    return QTest::qExec(test, argc, argv);
}
