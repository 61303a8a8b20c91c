#include "maintenance/form_uebernahme.h"

FormÜbernahme::FormÜbernahme(Clavido& app)
    : Formular(app) {}
