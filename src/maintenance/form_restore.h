#pragma once

#include "app/form.h"

class FolderChooser;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeView;

// Brings a saved database file back into the program folder.
class FormRestore : public Formular {
    Q_OBJECT
public:
    explicit FormRestore(Clavido& app);

    void Command1_Click();
    void Command2_Click();
    void Dir1_Change();

    QLabel* Label3;
    QLabel* Label1;
    FolderChooser* Ordner;
    QComboBox* Drive1;
    QTreeView* Dir1;
    QLabel* Label2; // status line
    QPushButton* Command2;
    QPushButton* Command1;

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
