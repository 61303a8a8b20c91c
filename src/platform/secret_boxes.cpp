#include "platform/secret_boxes.h"

#include "platform/clipboard.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

SecretBoxes::SecretBoxes(Clipboard& clipboard, QObject* parent)
    : QObject(parent)
    , clipboard_(clipboard) {
    // Directly, inside the box's own copy: the primary selection is given
    // back before this process answers any other program's request for it.
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, &SecretBoxes::changed,
            Qt::DirectConnection);
}

void SecretBoxes::add(QLineEdit* box) {
    boxes_ << box;
}

void SecretBoxes::changed(QClipboard::Mode mode) {
    if (mode != QClipboard::Clipboard && mode != QClipboard::Selection)
        return;
    // Only a box that shows its text and has a selection copies; without one
    // nothing is read, so another program's copy costs nothing.
    QStringList auswahl;
    for (const QPointer<QLineEdit>& box : std::as_const(boxes_)) {
        if (box && box->echoMode() == QLineEdit::Normal && box->hasSelectedText())
            auswahl << box->selectedText();
    }
    if (auswahl.isEmpty())
        return;
    QClipboard* system = QGuiApplication::clipboard();
    // Another program's selection is not this one's to take back.
    if (mode == QClipboard::Selection && !system->ownsSelection())
        return;
    const QMimeData* data = system->mimeData(mode);
    if (!data || !data->hasText() || data->hasFormat(kSecretHint))
        return;
    const QString text = data->text();
    if (!auswahl.contains(text))
        return;
    if (mode == QClipboard::Selection) {
        system->clear(QClipboard::Selection);
        return;
    }
    clipboard_.setSecretText(text);
    emit copied();
}
