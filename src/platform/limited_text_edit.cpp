#include "platform/limited_text_edit.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

LimitedTextEdit::LimitedTextEdit(QWidget* parent)
    : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { enforce(position + added); });
}

void LimitedTextEdit::setMaxLength(int length) {
    maxLength_ = length;
    enforce(document()->characterCount() - 1);
}

void LimitedTextEdit::enforce(int insertedEnd) {
    const int length = document()->characterCount() - 1;
    if (length <= maxLength_)
        return;
    // Refuse the part of the insertion that went past the limit, as a one-line box does.
    const int excess = length - maxLength_;
    const int end = std::clamp(insertedEnd, excess, length);
    QTextCursor cursor(document());
    cursor.setPosition(end - excess);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
