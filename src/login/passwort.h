#pragma once

#include <QString>

// Passwords compare without their leading and trailing blanks, at sign-in and
// whenever the password is asked again; letter case counts.
bool passwoerterGleich(const QString& getippt, const QString& gespeichert);
