#pragma once

#include "app/form.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The disclaimer a new user must accept before registering.
class FormHaftung : public Formular {
    Q_OBJECT
public:
    explicit FormHaftung(Clavido& app);

    static QString haftungsText();

    void Command1_Click();
    void Command2_Click();

    QLabel* Label1;
    QPlainTextEdit* Text1;
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    void reject() override { Command2_Click(); }
};
