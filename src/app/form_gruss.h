#pragma once

#include <QTimer>
#include <QWidget>

class Clavido;
class QLabel;

// The splash window: shown while the program starts, then it hands over to the main window.
class FormGruss : public QWidget {
    Q_OBJECT
public:
    explicit FormGruss(Clavido& app);

    void Timer1_Timer();

    QTimer* Timer1;
    QLabel* Label1; // product name
    QLabel* Label2; // version
    QLabel* Label3; // please wait
    QLabel* Image1;

private:
    Clavido& app;
};
