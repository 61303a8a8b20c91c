#include "login/passwort.h"

namespace {

QString ohneRandLeerzeichen(const QString& text) {
    qsizetype start = 0, end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace

bool passwoerterGleich(const QString& getippt, const QString& gespeichert) {
    return ohneRandLeerzeichen(getippt) == ohneRandLeerzeichen(gespeichert);
}
