#pragma once

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

private:
    HelpWindow* window_ = nullptr;
};
