#include "platform/help.h"

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

class HelpWindow : public QDialog {
public:
    HelpWindow() {
        setWindowTitle(QStringLiteral("Hilfe zu lumoClavido"));
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
    delete window_;
}

void QtHelp::showContents(QWidget*) {
    // A window of its own (not owned by the caller), so that it stays while dialogs close.
    if (!window_)
        window_ = new HelpWindow;
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void QtHelp::close() {
    if (window_)
        window_->close();
}
