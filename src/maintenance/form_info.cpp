#include "maintenance/form_info.h"

FormInfo::FormInfo(Clavido& app)
    : Formular(app) {}
