#pragma once

#include <QPointer>

class QWidget;

// The program's help: German HTML shown in a window of its own.
class Help {
public:
    virtual ~Help() = default;
    virtual void showContents(QWidget* parent) = 0;
    virtual void close() = 0;
};

class HelpWindow;

class QtHelp : public Help {
public:
    ~QtHelp() override;
    void showContents(QWidget* parent) override;
    void close() override;
    // The help window, once it was opened.
    QWidget* window() const;

private:
    QPointer<HelpWindow> window_;
};
