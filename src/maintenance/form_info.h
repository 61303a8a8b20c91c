#pragma once

#include "app/form.h"

class QFrame;
class QLabel;

// The about window: product, release, contact and the two links. A click
// anywhere but on a link closes it.
class FormInfo : public Formular {
    Q_OBJECT
public:
    explicit FormInfo(Clavido& app);

    static QString releaseText();

    QLabel* Label8; // product name
    QLabel* Label1; // release
    QLabel* Label2; // contact lines
    QLabel* Label5;
    QLabel* Hyperlink1; // mail
    QLabel* Label6;
    QLabel* Hyperlink2; // web
    QLabel* Label7;     // rights notice
    QLabel* Label3;     // where the database file is
    QLabel* Image2;
    QFrame* Shape1;

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void linkOeffnen(const QString& ziel);
};
