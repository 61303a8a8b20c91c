#pragma once

class QCoreApplication;

// German for Qt's own texts (standard dialogs, context menus), whatever the
// machine's locale says. Call before the first widget is made.
void installiereDeutsch(QCoreApplication& application);
