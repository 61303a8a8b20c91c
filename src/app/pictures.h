#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn rather than shipped, so that they stay sharp at any size.
enum class Bild {
    Neu,
    Editieren,
    Loeschen,
    Drucken,
    Kopieren,
    Suchen,
    Passwort,
    Info,
    Hilfe,
    Beenden,
    Speichern,
    Schliessen,
    Schloss,
    Pruefen,
};

// `size` in device-independent pixels; drawn for the screen's pixel density.
QPixmap bildPixmap(Bild bild, int size);
QIcon bildIcon(Bild bild);
