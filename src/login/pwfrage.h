#pragma once

#include "app/form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The sign-in dialog: user name and password, three attempts.
class pwfrage : public Formular {
    Q_OBJECT
public:
    explicit pwfrage(Clavido& app);

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Combo1_Click();

    QComboBox* Combo1;
    QComboBox* Combo2;
    QLineEdit* Textpwfrage;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QLabel* Label1; // heading
    QLabel* Label2; // product name
    QLabel* Label3; // caption of the name box
    QLabel* Label4; // caption of the password box
    QLabel* Image1;

    // Wrong passwords in this dialog, for whatever names; 0 until the first check.
    qint16 versuch = 0;

protected:
    void Form_Load() override;
    void zuruecksetzen() override;
    void showEvent(QShowEvent* event) override;
    void reject() override { Command1_Click(); }
};
