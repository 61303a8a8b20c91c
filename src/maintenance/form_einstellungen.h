#pragma once

#include "app/form.h"

// The two settings: the backup offer at the end and the confirmation questions.
class FormEinstellungen : public Formular {
    Q_OBJECT
public:
    explicit FormEinstellungen(Clavido& app);
};
