#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setSecretText(const QString& text) {
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(kSecretHint, QByteArrayLiteral("secret"));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool QtClipboard::hasText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}
