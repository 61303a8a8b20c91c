#include "main_window/form_clavido.h"

void FormClavido::menu_drucken_Click() {}
