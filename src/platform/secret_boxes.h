#pragma once

#include <QClipboard>
#include <QList>
#include <QObject>
#include <QPointer>

class Clipboard;
class QLineEdit;

// The text boxes that may show a secret in plain text. Such a box copies by
// itself: every selection made with the mouse or the keyboard goes to the X
// primary selection, which a middle click pastes anywhere; Ctrl+C,
// Ctrl+Insert, Ctrl+X and the box's context menu put it on the clipboard.
// A secret in the primary selection is taken back at once, before another
// program can ask for it; a secret put on the clipboard is put there again
// through `clipboard`, marked for clipboard managers, and reported.
class SecretBoxes : public QObject {
    Q_OBJECT
public:
    explicit SecretBoxes(Clipboard& clipboard, QObject* parent = nullptr);

    void add(QLineEdit* box);

signals:
    // A box copied a secret to the clipboard by one of its own ways.
    void copied();

private:
    void changed(QClipboard::Mode mode);

    Clipboard& clipboard_;
    QList<QPointer<QLineEdit>> boxes_;
};
