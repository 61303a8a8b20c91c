#pragma once

#include "maintenance/ordner_formular.h"

class QLabel;

// Brings a saved database file back into the program folder.
class FormRestore : public OrdnerFormular {
    Q_OBJECT
public:
    explicit FormRestore(Clavido& app);

    void Command1_Click();
    void Command2_Click();
    void Dir1_Change();

    QLabel* Label2; // status line

    // Opened at start for a file that cannot be used: leaving without a
    // restore ends the program without starting it again.
    bool reparatur = false;

protected:
    void Form_Load() override;
    void zuruecksetzen() override;
    void reject() override { Command1_Click(); }

private:
    void pruefen(bool beimOeffnen);
    void status(const QString& text, bool gefunden);
};
