#pragma once

#include "maintenance/ordner_formular.h"

// Backs the database file up into a folder of the user's choice.
class FormSichern : public OrdnerFormular {
    Q_OBJECT
public:
    explicit FormSichern(Clavido& app);

    void Command1_Click();
    void Command2_Click();

protected:
    void Form_Load() override;
    void reject() override { Command1_Click(); }
};
