// Draws the program's padlock as the PNG files of the desktop's icon theme
// (hicolor), for the installation: make_icons FOLDER writes
// FOLDER/NxN/apps/lumoclavido.png for every size a desktop asks for.
#include "app/pictures.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_icons FOLDER\n");
        return 2;
    }
    const QDir ziel(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString ordner = QStringLiteral("%1x%1/apps").arg(size);
        if (!ziel.mkpath(ordner) ||
            !bildPixmap(Bild::Schloss, size).save(ziel.filePath(ordner + "/lumoclavido.png")))
            return 1;
    }
    return 0;
}
