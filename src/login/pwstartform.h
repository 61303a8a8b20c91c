#pragma once

#include "app/form.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Registration of a new user name with its password; the first entry follows.
class pwstartform : public Formular {
    Q_OBJECT
public:
    explicit pwstartform(Clavido& app);

    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    QLineEdit* Text3; // user name, locked
    QLineEdit* Text1; // password
    QLineEdit* Text2; // password again
    QCheckBox* Check1;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QLabel* Label1; // instruction
    QLabel* Label2; // caption of Text3
    QLabel* Label3; // caption of Text1
    QLabel* Label4; // caption of Text2

protected:
    void Form_Load() override;
    void zuruecksetzen() override;
    void showEvent(QShowEvent* event) override;
    void reject() override { Command1_Click(); }
};
