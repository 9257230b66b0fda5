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
        window->Browser->setSource(kContentsPage);
        window->Browser->clearHistory();
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

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setAccessibleName(QStringLiteral("Κείμενο βοήθειας"));
    // Every link leads to another help page; nothing is handed to an outside program.
    Browser->setOpenExternalLinks(false);
    Browser->setOpenLinks(true);
    setCentralWidget(Browser);

    auto* toolBar = addToolBar(QStringLiteral("Πλοήγηση"));
    toolBar->setObjectName(QStringLiteral("NavigationBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    BackAction =
        toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Πίσω"));
    BackAction->setObjectName(QStringLiteral("BackAction"));
    BackAction->setShortcut(QKeySequence::Back);
    BackAction->setEnabled(false);

    ForwardAction = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                       QStringLiteral("Εμπρός"));
    ForwardAction->setObjectName(QStringLiteral("ForwardAction"));
    ForwardAction->setShortcut(QKeySequence::Forward);
    ForwardAction->setEnabled(false);

    ContentsAction = toolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                        QStringLiteral("Περιεχόμενα"));
    ContentsAction->setObjectName(QStringLiteral("ContentsAction"));
    ContentsAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    connect(BackAction, &QAction::triggered, Browser, &QTextBrowser::backward);
    connect(ForwardAction, &QAction::triggered, Browser, &QTextBrowser::forward);
    connect(ContentsAction, &QAction::triggered, this,
            [this] { Browser->setSource(kContentsPage); });
    connect(Browser, &QTextBrowser::backwardAvailable, BackAction, &QAction::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardAction, &QAction::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] { ShowTitle(); });

    Browser->setSource(kContentsPage);
}

void HelpWindow::ShowTitle() {
    const QString page = Browser->documentTitle();
    setWindowTitle(page.isEmpty() ? kWindowTitle : kWindowTitle + QStringLiteral(" — ") + page);
}

}  // namespace zorvan::windows
