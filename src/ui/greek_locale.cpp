#include "ui/greek_locale.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <QtGlobal>

// Outside any namespace, as Qt's resource macro requires.
static void InitTranslationResource() {
    Q_INIT_RESOURCE(zorvan_translations);
}

namespace zorvan::ui {

void NameGreekSystemLocale() {
    // Qt takes the system's locale from these variables; the C library has not read them yet
    // either, and no Greek locale need be installed for Qt's own data to be used.
    qputenv("LC_ALL", "el_GR.UTF-8");
    qputenv("LANGUAGE", "el_GR:el");
}

bool UseGreekLocale() {
    InitTranslationResource();
    QLocale::setDefault(QLocale(QLocale::Greek, QLocale::Greece));
    // Owned by the application, so it stays installed for as long as any window can ask for it.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/translations/qtbase_el.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace zorvan::ui
