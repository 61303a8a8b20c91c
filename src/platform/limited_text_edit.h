#pragma once

#include <QPlainTextEdit>

// A multi-line text box with a maximum length, like QLineEdit's.
class LimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LimitedTextEdit(QWidget* parent = nullptr);
    void setMaxLength(int length);
    int maxLength() const { return maxLength_; }

private:
    void enforce(int insertedEnd);
    int maxLength_ = 32767;
};
