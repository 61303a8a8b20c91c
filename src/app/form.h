#pragma once

#include <QDialog>

class Clavido;

// A dialog of the program. It is loaded when first touched; unloading closes
// it and puts its controls back to their stored state, while the object (and
// its form-level variables) lives on until it is released.
class Formular : public QDialog {
    Q_OBJECT
public:
    explicit Formular(Clavido& app);

    void laden();
    void Unload();
    bool geladen() const { return geladen_; }
    // Loads the form and shows it modally; returns at once if the program ended.
    void zeigeModal();

protected:
    virtual void Form_Load() {}
    virtual void zuruecksetzen() {}
    // The window's close box and Escape: by default an unload.
    void reject() override { Unload(); }

    Clavido& app;

private:
    bool geladen_ = false;
};
