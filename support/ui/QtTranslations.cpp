#include "support/ui/QtTranslations.h"

#include "support/core/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

bool LoadQtTranslations()
{
    auto translator = std::make_unique<QTranslator>();
    const QLocale language(QString::fromLatin1(InterfaceLanguage));
    if (!translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    // The application owns it from here on.
    translator->setParent(QCoreApplication::instance());
    return QCoreApplication::installTranslator(translator.release());
}
