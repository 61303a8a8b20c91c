#pragma once

#include <QPlainTextEdit>

class QLineEdit;

// Input limits stop typing only: a text the program puts into a box is kept
// whole, however long, so that saving it again loses nothing.

// A multi-line text box with a maximum length, like QLineEdit's.
class LimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LimitedTextEdit(QWidget* parent = nullptr);
    void setMaxLength(int length);
    int maxLength() const { return maxLength_; }

    // Puts a stored text into the box, beyond the limit if need be; its line
    // breaks come back from text() as they went in.
    void fillText(const QString& text);
    QString text() const;

private:
    void enforce(int insertedEnd);
    int length() const;
    int maxLength_ = 32767;
    int filledLength_ = 0;
    bool crlf_ = false;
};

// The same for a one-line box: `limit` stops typing, fillText() keeps all.
void setTypingLimit(QLineEdit* box, int limit);
void fillText(QLineEdit* box, const QString& text);
