#include "maintenance/form_einstellungen.h"

FormEinstellungen::FormEinstellungen(Clavido& app)
    : Formular(app) {}
