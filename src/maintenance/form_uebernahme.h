#pragma once

#include "app/form.h"

// The import of the database files of older program versions. No Q_OBJECT:
// moc cannot read the umlaut of the name, and the dialog needs no meta-object
// of its own (its connections are to member functions).
class FormÜbernahme : public Formular {
public:
    explicit FormÜbernahme(Clavido& app);
};
