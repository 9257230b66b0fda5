#include "windows/help_window.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>

// The help pages live in a static library; naming their resource here keeps them linked in.
static void LoadHelpResources() {
    Q_INIT_RESOURCE(zorvan);
}

namespace zorvan::windows {

namespace {

const QString kWindowTitle = QStringLiteral("Βοήθεια για τον 6502");
const QString kHelpFolder = QStringLiteral(":/help/");

QString PageText(const QString& name) {
    QFile file(kHelpFolder + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// Lower case without accents, so that a search typed without tonos or in capitals still finds.
QString Folded(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) folded += c;
    }
    return folded.toCaseFolded();
}

QString FileNameOf(const QUrl& url) {
    return url.fileName();
}

const QString kOpenScheme = QStringLiteral("zorvan-open");
const QString kCheckScheme = QStringLiteral("zorvan-check");

// A browser that lets the window take the pages' own links before anything is loaded for them.
class HelpBrowser final : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;
    std::function<bool(const QUrl&)> takeLink;

  protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
        if (takeLink && takeLink(name)) return;
        QTextBrowser::doSetSource(name, type);
    }
};

}  // namespace

const QUrl HelpWindow::kContentsPage(QStringLiteral("qrc:/help/index.html"));

HelpWindow* HelpWindow::Open(QWidget* owner, const QString& page) {
    auto* window = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) window = new HelpWindow(owner);
    if (!page.isEmpty()) {
        window->browser_->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
    } else if (!window->isVisible()) {
        window->browser_->setSource(kContentsPage);
        window->browser_->clearHistory();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QStringList HelpWindow::PageOrder() {
    LoadHelpResources();
    QStringList pages{kContentsPage.fileName()};
    static const QRegularExpression kLink(QStringLiteral(R"re(href="([a-z_]+\.html))re"));
    // The contents are the index's numbered list; links in its prose may come in another order.
    const QString index = PageText(pages.front());
    const qsizetype from = index.indexOf(QStringLiteral("<ol>"));
    const QString contents = index.mid(from, index.indexOf(QStringLiteral("</ol>"), from) - from);
    for (const QRegularExpressionMatch& match : kLink.globalMatch(contents)) {
        if (!pages.contains(match.captured(1))) pages.append(match.captured(1));
    }
    return pages;
}

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window), pages_(PageOrder()) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kWindowTitle);
    resize(780, 620);

    auto* browser = new HelpBrowser(this);
    browser->takeLink = [this](const QUrl& link) { return TakeLink(link); };
    browser_ = browser;
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
    const auto add = [&](QStyle::StandardPixmap icon, const QString& text, const char* name,
                         const QList<QKeySequence>& keys) {
        QAction* action = icon == QStyle::SP_CustomBase
                              ? toolBar->addAction(text)
                              : toolBar->addAction(style()->standardIcon(icon), text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        return action;
    };

    QAction* backAction =
        add(QStyle::SP_ArrowBack, QStringLiteral("Πίσω"), "backAction", {QKeySequence::Back});
    backAction->setEnabled(false);
    QAction* forwardAction = add(QStyle::SP_ArrowForward, QStringLiteral("Εμπρός"), "forwardAction",
                                 {QKeySequence::Forward});
    forwardAction->setEnabled(false);
    QAction* contentsAction = add(QStyle::SP_DirHomeIcon, QStringLiteral("Περιεχόμενα"),
                                  "contentsAction", {QKeySequence(Qt::ALT | Qt::Key_Home)});
    toolBar->addSeparator();
    previousPageAction_ = add(QStyle::SP_MediaSkipBackward, QStringLiteral("Προηγούμενο"),
                              "previousPageAction", {QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    nextPageAction_ = add(QStyle::SP_MediaSkipForward, QStringLiteral("Επόμενο"), "nextPageAction",
                          {QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    toolBar->addSeparator();
    // Ctrl+wheel zooms as well: the browser does it itself.
    QAction* zoomInAction = add(QStyle::SP_CustomBase, QStringLiteral("Α+"), "zoomInAction",
                                {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomInAction->setToolTip(QStringLiteral("Μεγαλύτερα γράμματα (Ctrl++)"));
    QAction* zoomOutAction =
        add(QStyle::SP_CustomBase, QStringLiteral("Α−"), "zoomOutAction", {QKeySequence::ZoomOut});
    zoomOutAction->setToolTip(QStringLiteral("Μικρότερα γράμματα (Ctrl+−)"));
    QAction* printAction = add(QStyle::SP_CustomBase, QStringLiteral("Εκτύπωση"), "printAction",
                               {QKeySequence::Print});
    toolBar->addSeparator();
    searchField_ = new QLineEdit(toolBar);
    searchField_->setObjectName(QStringLiteral("helpSearch"));
    searchField_->setAccessibleName(QStringLiteral("Αναζήτηση σε όλες τις σελίδες"));
    searchField_->setPlaceholderText(QStringLiteral("Αναζήτηση…"));
    searchField_->setClearButtonEnabled(true);
    searchField_->setMaximumWidth(200);
    toolBar->addWidget(searchField_);
    QAction* findAction = new QAction(this);
    findAction->setShortcuts(QKeySequence::Find);
    addAction(findAction);

    results_ = new QListWidget(this);
    results_->setObjectName(QStringLiteral("helpSearchResults"));
    results_->setAccessibleName(QStringLiteral("Σελίδες που βρέθηκαν"));
    resultsDock_ = new QDockWidget(QStringLiteral("Αναζήτηση"), this);
    resultsDock_->setObjectName(QStringLiteral("searchDock"));
    resultsDock_->setWidget(results_);
    resultsDock_->setFeatures(QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::LeftDockWidgetArea, resultsDock_);
    resultsDock_->hide();

    connect(backAction, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forwardAction, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contentsAction, &QAction::triggered, this,
            [this] { browser_->setSource(kContentsPage); });
    connect(previousPageAction_, &QAction::triggered, this, [this] { StepPage(-1); });
    connect(nextPageAction_, &QAction::triggered, this, [this] { StepPage(1); });
    connect(zoomInAction, &QAction::triggered, browser_, [this] { browser_->zoomIn(1); });
    connect(zoomOutAction, &QAction::triggered, browser_, [this] { browser_->zoomOut(1); });
    connect(printAction, &QAction::triggered, this, &HelpWindow::PrintPage);
    connect(findAction, &QAction::triggered, searchField_, [this] {
        searchField_->setFocus();
        searchField_->selectAll();
    });
    connect(searchField_, &QLineEdit::returnPressed, this,
            [this] { Search(searchField_->text()); });
    connect(results_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenResult(item->data(Qt::UserRole).toUrl()); });
    connect(results_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenResult(item->data(Qt::UserRole).toUrl()); });
    connect(browser_, &QTextBrowser::backwardAvailable, backAction, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardAction, &QAction::setEnabled);
    // The signal comes before source() gives the new page, so the page is its argument.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& page) {
        ShowTitle();
        UpdatePageActions(page);
    });

    browser_->setSource(kContentsPage);
}

void HelpWindow::Search(const QString& text) {
    searched_ = text.trimmed();
    results_->clear();
    if (searched_.isEmpty()) {
        resultsDock_->hide();
        return;
    }
    const QString wanted = Folded(searched_);
    for (const QString& name : pages_) {
        QTextDocument page;
        page.setHtml(PageText(name));
        if (!Folded(page.toPlainText()).contains(wanted)) continue;
        auto* item = new QListWidgetItem(page.metaInformation(QTextDocument::DocumentTitle));
        item->setData(Qt::UserRole, QUrl(QStringLiteral("qrc:/help/") + name));
        results_->addItem(item);
    }
    if (results_->count() == 0) {
        auto* none = new QListWidgetItem(QStringLiteral("Δεν βρέθηκε σε καμία σελίδα."));
        none->setFlags(Qt::NoItemFlags);
        results_->addItem(none);
    }
    resultsDock_->show();
    if (results_->item(0)->flags() != Qt::NoItemFlags) {
        results_->setCurrentRow(0);
        OpenResult(results_->item(0)->data(Qt::UserRole).toUrl());
    }
}

bool HelpWindow::TakeLink(const QUrl& link) {
    const bool open = link.scheme() == kOpenScheme;
    if (!open && link.scheme() != kCheckScheme) return false;
    // Only the resources: a page cannot reach into the student's files.
    QFile file(QStringLiteral(":/") + link.path());
    if (!file.open(QIODevice::ReadOnly)) return true;
    const QByteArray bytes = file.readAll();
    if (open) {
        emit ExampleAsked(bytes);
    } else {
        emit ExerciseCheckAsked(QFileInfo(link.path()).fileName(), bytes);
    }
    return true;
}

void HelpWindow::OpenResult(const QUrl& page) {
    if (!page.isValid()) return;
    browser_->setSource(page);
    // The first place on the page, found with the page's own search; it selects what it finds.
    browser_->moveCursor(QTextCursor::Start);
    const QString plain = browser_->toPlainText();
    const QString folded = Folded(plain);
    const qsizetype at = folded.indexOf(Folded(searched_));
    if (at < 0 || folded.size() != plain.size()) {
        browser_->find(searched_);
        return;
    }
    QTextCursor cursor(browser_->document());
    cursor.setPosition(static_cast<int>(at));
    cursor.setPosition(static_cast<int>(at + Folded(searched_).size()), QTextCursor::KeepAnchor);
    browser_->setTextCursor(cursor);
}

void HelpWindow::StepPage(int by) {
    const qsizetype at = pages_.indexOf(FileNameOf(browser_->source()));
    const qsizetype next = at + by;
    if (at < 0 || next < 0 || next >= pages_.size()) return;
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/") + pages_[next]));
}

void HelpWindow::UpdatePageActions(const QUrl& page) {
    const qsizetype at = pages_.indexOf(FileNameOf(page));
    previousPageAction_->setEnabled(at > 0);
    nextPageAction_->setEnabled(at >= 0 && at + 1 < pages_.size());
}

void HelpWindow::PrintPage() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Εκτύπωση σελίδας βοήθειας"));
    if (dialog.exec() == QDialog::Accepted) browser_->print(&printer);
}

void HelpWindow::ShowTitle() {
    const QString page = browser_->documentTitle();
    setWindowTitle(page.isEmpty() ? kWindowTitle : kWindowTitle + QStringLiteral(" — ") + page);
}

}  // namespace zorvan::windows
