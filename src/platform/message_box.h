#pragma once

#include <QString>

class QWidget;

// The message box with the classic style numbers: buttons + icon + default.
namespace msg {

enum Style : int {
    OkOnly = 0,
    YesNo = 4,
    Critical = 16, // the stop sign
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
};

enum Answer : int { Ok = 1, Yes = 6, No = 7 };

} // namespace msg

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // `text` joins its lines with CR LF; trailing blanks belong to it.
    virtual msg::Answer show(const QString& text, int style, const QString& title) = 0;
};

// The real one: a QMessageBox with the German buttons "Ja", "Nein", "OK".
class QtMessageBox : public MessageBox {
public:
    msg::Answer show(const QString& text, int style, const QString& title) override;
};
