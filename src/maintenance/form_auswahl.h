#pragma once

#include "app/form.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

// At the end of a session: back up the database file, bring a saved one back, or just end.
class FormAuswahl : public Formular {
    Q_OBJECT
public:
    explicit FormAuswahl(Clavido& app);

    void Command1_Click();
    void Command2_Click();

    QLabel* Label1;
    QLabel* Label3;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QCheckBox* Check1;
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    void zuruecksetzen() override;
    void reject() override { Command1_Click(); }

private:
    void nichtMehrAnbieten();
};
