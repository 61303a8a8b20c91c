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
    // A window whose step is still running (waiting, say) is not driven twice.
    if (planned || !modal || !modal->isVisible() || laufend.contains(modal)) {
        wartezeit = 0;
        return;
    }
    if (!schritte.empty()) {
        // Run the step from a timer of its own: it may open the next modal
        // window, whose loop this (then busy) timer could not drive.
        planned = true;
        QTimer::singleShot(0, this, [this, w = QPointer<QWidget>(modal)] {
            planned = false;
            if (!w || schritte.empty())
                return;
            auto schritt = schritte.front();
            schritte.pop_front();
            laufend.append(w.data());
            const bool passt = schritt(w);
            laufend.removeOne(w.data());
            if (!passt) {
                ungeplant << QString::fromLatin1(w->metaObject()->className()) +
                                 QStringLiteral(" statt des erwarteten Fensters");
                schritte.clear();
            }
        });
        wartezeit = 0;
        return;
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
