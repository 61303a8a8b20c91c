#include "platform/message_box.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

msg::Answer QtMessageBox::show(const QString& text, int style, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    // Messages quote what users typed: never read it as markup.
    box.setTextFormat(Qt::PlainText);
    QString shown = text;
    box.setText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // The texts break their lines themselves: the box is made wide enough for
    // the longest, as far as the screen allows, instead of wrapping it again.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        const QFontMetrics metrik(label->font());
        int breite = 0;
        for (const QString& zeile : shown.split(u'\n'))
            breite = qMax(breite, metrik.horizontalAdvance(zeile));
        const QScreen* screen = box.screen();
        const int grenze = screen ? screen->availableGeometry().width() * 3 / 4 : 800;
        label->setMinimumWidth(qMin(breite + 2, grenze));
    }
    switch (style & 0x70) {
    case msg::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case msg::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case msg::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case msg::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
    }
    if ((style & 0x7) == msg::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        box.setDefaultButton(style & msg::DefaultButton2 ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? msg::Yes : msg::No;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return msg::Ok;
}
