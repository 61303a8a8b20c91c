#include "platform/message_box.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
    case msg::Critical:
        return QMessageBox::Critical;
    case msg::Question:
        return QMessageBox::Question;
    case msg::Exclamation:
        return QMessageBox::Warning;
    case msg::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The texts break their lines themselves: the box is made wide enough for the
// longest, instead of wrapping it again, as far as the screen allows. A line
// wider than that is wrapped at that width: QMessageBox makes no box wider than
// its own limit (the whole of a small screen, on a larger one 480 pixels less,
// at most 1000), and a text wider than the box would be cut off.
void fitToScreen(QMessageBox& box, const QString& shown) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    const QScreen* screen = box.screen();
    const int bildschirm = screen ? screen->availableGeometry().width() : 800;
    const int grenze = bildschirm <= 1024 ? bildschirm : qMin(bildschirm - 480, 1000);
    // What the box needs beside its text: icon, margins, spacing.
    label->setWordWrap(true);
    box.layout()->activate();
    const int rest = box.layout()->totalMinimumSize().width() - label->minimumSizeHint().width();
    const QFontMetrics metrik(label->font());
    int breite = 0;
    for (const QString& zeile : shown.split(u'\n'))
        breite = qMax(breite, metrik.horizontalAdvance(zeile));
    label->setMinimumWidth(qMin(breite + 2, qMin(grenze, bildschirm * 3 / 4) - rest));
}

} // namespace

msg::Answer QtMessageBox::show(const QString& text, int style, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    // Messages quote what users typed: never read it as markup.
    box.setTextFormat(Qt::PlainText);
    QString shown = text;
    box.setText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setIcon(iconOf(style));
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    if ((style & 0x7) == msg::YesNo) {
        yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        box.setDefaultButton(style & msg::DefaultButton2 ? no : yes);
        box.setEscapeButton(no);
    } else {
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    fitToScreen(box, shown);
    box.exec();
    if (ok)
        return msg::Ok;
    return box.clickedButton() == yes ? msg::Yes : msg::No;
}
