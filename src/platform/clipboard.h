#pragma once

#include <QString>

// The mime type that marks a text as a secret for clipboard managers.
inline const QString kSecretHint = QStringLiteral("x-kde-passwordManagerHint");

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // Marks the text as a secret, so that clipboard managers keep it out of their history.
    virtual void setSecretText(const QString& text) = 0;
    virtual bool hasText() const = 0;
};

class QtClipboard : public Clipboard {
public:
    void clear() override;
    void setSecretText(const QString& text) override;
    bool hasText() const override;
};
