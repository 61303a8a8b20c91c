// Saves the whole screen of the X display as a PNG: screenshots of the real
// program running under Xvfb, for the README and for checking a window's look.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screen_grab FILE.png [x y width height]\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap shot = screen->grabWindow(0);
    if (argc >= 6)
        shot = shot.copy(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
