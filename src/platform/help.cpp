#include "platform/help.h"

#include <QApplication>
#include <QDialog>
#include <QTextBrowser>
#include <QVBoxLayout>

class HelpWindow : public QDialog {
public:
    HelpWindow() {
        setWindowTitle(QStringLiteral("Hilfe zu lumoClavido"));
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(this);
        browser->setOpenExternalLinks(true);
        browser->setSource(QUrl(QStringLiteral("qrc:/help/hilfe.html")));
        layout->addWidget(browser);
        resize(640, 560);
    }
};

QtHelp::~QtHelp() {
    delete window_.data();
}

QWidget* QtHelp::window() const {
    return window_.data();
}

void QtHelp::showContents(QWidget*) {
    if (!window_)
        window_ = new HelpWindow;
    // A modal dialog blocks every window but its own: opened from one, the help
    // becomes that dialog's window, above it and usable while it stays open.
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == window_.data())
        owner = window_->parentWidget();
    if (window_->parentWidget() != owner) {
        const bool offen = window_->isVisible();
        const QRect where = window_->geometry();
        window_->setParent(owner, Qt::Window);
        if (offen)
            window_->setGeometry(where);
    }
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void QtHelp::close() {
    if (window_)
        window_->close();
}
