#include "windows/help_window.h"

#include <QAction>
#include <QKeySequence>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

// The help pages live in a static library; naming their resource here keeps them linked in.
static void LoadHelpResources() {
    Q_INIT_RESOURCE(zorvan);
}

namespace zorvan::windows {

namespace {

const QString kWindowTitle = QStringLiteral("Βοήθεια για τον 6502");

}  // namespace

const QUrl HelpWindow::kContentsPage(QStringLiteral("qrc:/help/index.html"));

HelpWindow* HelpWindow::Open(QWidget* owner) {
    auto* window = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) window = new HelpWindow(owner);
    if (!window->isVisible()) {
        window->browser_->setSource(kContentsPage);
        window->browser_->clearHistory();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    LoadHelpResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kWindowTitle);
    resize(780, 620);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setAccessibleName(QStringLiteral("Κείμενο βοήθειας"));
    // Every link leads to another help page; nothing is handed to an outside program.
    browser_->setOpenExternalLinks(false);
    browser_->setOpenLinks(true);
    setCentralWidget(browser_);

    auto* toolBar = addToolBar(QStringLiteral("Πλοήγηση"));
    toolBar->setObjectName(QStringLiteral("navigationBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    QAction* backAction =
        toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Πίσω"));
    backAction->setObjectName(QStringLiteral("backAction"));
    backAction->setShortcut(QKeySequence::Back);
    backAction->setEnabled(false);

    QAction* forwardAction = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                                QStringLiteral("Εμπρός"));
    forwardAction->setObjectName(QStringLiteral("forwardAction"));
    forwardAction->setShortcut(QKeySequence::Forward);
    forwardAction->setEnabled(false);

    QAction* contentsAction = toolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                                 QStringLiteral("Περιεχόμενα"));
    contentsAction->setObjectName(QStringLiteral("contentsAction"));
    contentsAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    connect(backAction, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forwardAction, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contentsAction, &QAction::triggered, this,
            [this] { browser_->setSource(kContentsPage); });
    connect(browser_, &QTextBrowser::backwardAvailable, backAction, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardAction, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { ShowTitle(); });

    browser_->setSource(kContentsPage);
}

void HelpWindow::ShowTitle() {
    const QString page = browser_->documentTitle();
    setWindowTitle(page.isEmpty() ? kWindowTitle : kWindowTitle + QStringLiteral(" — ") + page);
}

}  // namespace zorvan::windows
