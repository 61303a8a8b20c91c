#include "platform/limited_text_edit.h"

#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

const char* const kTypingLimit = "clavidoTypingLimit";

} // namespace

LimitedTextEdit::LimitedTextEdit(QWidget* parent)
    : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { enforce(position + added); });
}

int LimitedTextEdit::length() const {
    return document()->characterCount() - 1;
}

void LimitedTextEdit::setMaxLength(int length) {
    maxLength_ = length;
    enforce(this->length());
}

void LimitedTextEdit::fillText(const QString& text) {
    // The box keeps a line break as one character; remember the stored form.
    crlf_ = text.contains(QStringLiteral("\r\n"));
    filledLength_ = int(text.size());
    setPlainText(text);
    filledLength_ = length();
}

QString LimitedTextEdit::text() const {
    QString plain = toPlainText();
    if (crlf_)
        plain.replace(u'\n', QStringLiteral("\r\n"));
    return plain;
}

void LimitedTextEdit::enforce(int insertedEnd) {
    const int length = this->length();
    const int limit = std::max(maxLength_, filledLength_);
    if (length <= limit)
        return;
    // Refuse the part of the insertion that went past the limit, as a one-line box does.
    const int excess = length - limit;
    const int end = std::clamp(insertedEnd, excess, length);
    QTextCursor cursor(document());
    cursor.setPosition(end - excess);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void setTypingLimit(QLineEdit* box, int limit) {
    box->setProperty(kTypingLimit, limit);
    box->setMaxLength(limit);
}

void fillText(QLineEdit* box, const QString& text) {
    const QVariant limit = box->property(kTypingLimit);
    // QLineEdit cuts a text to its maximum length: widen it for this text.
    if (limit.isValid())
        box->setMaxLength(std::max(limit.toInt(), int(text.size())));
    box->setText(text);
}
