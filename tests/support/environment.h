#pragma once

#include "app/clavido.h"
#include "doubles.h"
#include "raw_db.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

// Drives modal windows from inside their own event loop: each planned step
// runs once the expected window is the active modal one. A modal window no
// step was planned for is closed after a while and counted, so that a test
// never hangs.
class ModalDriver : public QObject {
public:
    ModalDriver();
    template <typename T> void erwarte(std::function<void(T&)> schritt) {
        schritte.push_back([schritt](QWidget* w) {
            T* form = dynamic_cast<T*>(w);
            if (!form)
                return false;
            schritt(*form);
            return true;
        });
    }
    bool alleErledigt() const { return schritte.empty(); }

    std::deque<std::function<bool(QWidget*)>> schritte;
    QStringList ungeplant;

private:
    void tick();
    QTimer timer;
    bool planned = false;
    QList<QWidget*> laufend;
    int wartezeit = 0;
};

// A program instance on a temporary program folder with test doubles.
struct Umgebung {
    Umgebung();
    ~Umgebung();

    QString dbPfad() const;
    void zeilen(const std::vector<Eintrag>& rows) { rawdb::schreibe(dbPfad(), rows); }
    std::vector<RohZeile> lesen() const { return rawdb::lese(dbPfad()); }

    // Loads the main window with the sign-in answered by this name and password.
    void anmelden(const QString& name, const QString& passwort);
    bool beendet() const { return prozesse.beendet > 0; }

    QTemporaryDir ordner;
    TestMessageBox meldungen;
    TestClipboard ablage;
    TestPrinter drucker;
    TestHelp hilfe;
    TestProcesses prozesse;
    Services dienste{meldungen, ablage, drucker, hilfe, prozesse};
    std::unique_ptr<Clavido> app;
    ModalDriver modal;
};

// QTEST_MAIN with German for Qt's own texts, set before any widget exists.
int clavidoTestMain(int argc, char* argv[], QObject* test);

#define CLAVIDO_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char* argv[]) {                                                             \
        QApplication application(argc, argv);                                                      \
        TestClass test;                                                                            \
        return clavidoTestMain(argc, argv, &test);                                                 \
    }
