#pragma once
// What a Greek interface may show in Latin letters, and a walk over every text a window shows.
//
//   WidgetTexts texts;
//   texts.Collect(dialog);                    // captions, tooltips, names, headers, items
//   QVERIFY2(texts.latin().isEmpty(), ...);   // each "where: word" left over

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTabBar>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include "cpu/instruction_set.h"

// The words in Latin letters that may stand: the system's own names and captions ("About" and
// "Ok" are its own captions too), the processor's registers and mnemonics, the unit symbols a
// Greek reader uses as they are, and the names printed on a Greek keyboard's own keys, which
// menus show beside their commands.
inline const QSet<QString>& AllowedLatinWords() {
    static const QSet<QString> words = [] {
        QSet<QString> set{"Zorvan", "OK", "Ok", "About", "Debugger", "Stop", "Status", "Register",
                          "PC",     "AC", "XR", "YR",    "SP",       "PDF",  "mm",     "cm",
                          "KB",     "MB", "GB", "TB",    "byte",     "Ctrl", "Shift",  "Alt"};
        for (const auto& row : zorvan::cpu::kInstructionTable)
            set.insert(QString::fromLatin1(row.mnemonic.data(), qsizetype(row.mnemonic.size())));
        return set;
    }();
    return words;
}

class WidgetTexts {
  public:
    // Names of folders on the way to the ones shown: a path's parts are not words.
    void AllowPath(const QString& path) {
        for (const QString& part : QDir::cleanPath(path).split('/', Qt::SkipEmptyParts))
            for (const QString& word :
                 part.split(QRegularExpression("[^A-Za-z]+"), Qt::SkipEmptyParts))
                pathWords_.insert(word);
    }

    void Add(const QString& where, QString text) {
        if (text.isEmpty()) return;
        if (Qt::mightBeRichText(text)) text = QTextDocumentFragment::fromHtml(text).toPlainText();
        text.remove('&');
        // File names and patterns: paths and extensions are not words.
        static const QRegularExpression paths(R"(\S*/\S*|\*?\.[A-Za-z0-9]+\b)");
        text.replace(paths, " ");
        static const QRegularExpression word(R"(\b[A-Za-z]{2,}\b)");
        for (auto match = word.globalMatch(text); match.hasNext();) {
            const QString found = match.next().captured();
            // Hexadecimal values are numbers, not words.
            static const QRegularExpression hex(QStringLiteral("^[0-9A-F]+$"));
            if (!AllowedLatinWords().contains(found) && !pathWords_.contains(found) &&
                !hex.match(found).hasMatch())
                latin_.append(where + ": " + found + " in «" + text + "»");
        }
        ++count_;
    }

    void AddActions(const QString& where, const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            const QString at = where + "/" + action->objectName() + "[" + action->text() + "]";
            Add(at, action->text());
            Add(at, action->toolTip());
            Add(at, action->statusTip());
            Add(at, action->whatsThis());
            if (QMenu* menu = action->menu()) AddActions(at, menu->actions());
        }
    }

    // Every visible widget of root and its children.
    void Collect(QWidget* root) {
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* w : widgets) {
            if (!w->isVisible()) continue;
            const QString where =
                QString::fromLatin1(w->metaObject()->className()) + "#" + w->objectName();
            if (w->isWindow()) Add(where, w->windowTitle());
            Add(where, w->toolTip());
            Add(where, w->whatsThis());
            Add(where, w->accessibleName());
            Add(where, w->accessibleDescription());
            AddActions(where, w->actions());
            if (auto* label = qobject_cast<QLabel*>(w)) Add(where, label->text());
            if (auto* button = qobject_cast<QAbstractButton*>(w)) Add(where, button->text());
            if (auto* box = qobject_cast<QGroupBox*>(w)) Add(where, box->title());
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                Add(where, edit->placeholderText());
                Add(where, edit->text());
            }
            if (auto* spin = qobject_cast<QSpinBox*>(w)) {
                Add(where, spin->prefix());
                Add(where, spin->suffix());
            }
            if (auto* spin = qobject_cast<QDoubleSpinBox*>(w)) {
                Add(where, spin->prefix());
                Add(where, spin->suffix());
            }
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                for (int i = 0; i < combo->count(); ++i) {
                    Add(where, combo->itemText(i));
                    Add(where, combo->itemData(i, Qt::ToolTipRole).toString());
                }
            }
            if (auto* tabs = qobject_cast<QTabBar*>(w)) {
                for (int i = 0; i < tabs->count(); ++i) {
                    Add(where, tabs->tabText(i));
                    Add(where, tabs->tabToolTip(i));
                }
            }
            if (auto* text = qobject_cast<QTextEdit*>(w)) Add(where, text->toPlainText());
            if (auto* text = qobject_cast<QPlainTextEdit*>(w)) Add(where, text->toPlainText());
            if (auto* view = qobject_cast<QAbstractItemView*>(w)) CollectView(where, view);
        }
    }

    const QStringList& latin() const { return latin_; }
    int count() const { return count_; }

  private:
    // Headers and the shown items of a view, every column: the detail view shows them all.
    void CollectView(const QString& where, QAbstractItemView* view) {
        QAbstractItemModel* model = view->model();
        if (model == nullptr) return;
        const QModelIndex root = view->rootIndex();
        for (int c = 0; c < model->columnCount(root); ++c) {
            Add(where + "/header", model->headerData(c, Qt::Horizontal).toString());
            Add(where + "/header",
                model->headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString());
        }
        for (int r = 0; r < std::min(model->rowCount(root), 200); ++r) {
            for (int c = 0; c < model->columnCount(root); ++c) {
                const QModelIndex index = model->index(r, c, root);
                Add(where + "/item", model->data(index).toString());
                Add(where + "/item", model->data(index, Qt::ToolTipRole).toString());
                Add(where + "/item", model->data(index, Qt::AccessibleTextRole).toString());
            }
        }
    }

    QSet<QString> pathWords_;
    QStringList latin_;
    int count_ = 0;
};
