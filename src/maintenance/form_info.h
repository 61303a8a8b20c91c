#pragma once

#include "app/form.h"

// The about window: product, release, contact and the two links.
class FormInfo : public Formular {
    Q_OBJECT
public:
    explicit FormInfo(Clavido& app);
};
