#pragma once

#include "app/form.h"

class FolderChooser;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeView;

// Backs the database file up into a folder of the user's choice.
class FormSichern : public Formular {
    Q_OBJECT
public:
    explicit FormSichern(Clavido& app);

    void Command1_Click();
    void Command2_Click();

    QLabel* Label3;
    QLabel* Label1;
    FolderChooser* Ordner;
    QComboBox* Drive1;
    QTreeView* Dir1;
    QPushButton* Command2;
    QPushButton* Command1;

protected:
    void Form_Load() override;
    void reject() override { Command1_Click(); }
};
