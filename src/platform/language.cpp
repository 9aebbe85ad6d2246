#include "platform/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quorbin::platform {

Language languageOf(const QString& language, const QString& lcAll, const QString& lcMessages, const QString& lang)
{
    for (const QString& value : {language.section(u':', 0, 0), lcAll, lcMessages, lang}) {
        if (!value.isEmpty())
            return value.startsWith(QStringLiteral("de")) ? Language::German : Language::English;
    }
    return Language::English;
}

Language userLanguage()
{
    return languageOf(qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
                      qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG"));
}

void installUserLanguage()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    const bool loaded =
        userLanguage() == Language::English
            ? translator->load(QStringLiteral(":/i18n/quorbin_en.qm"))
            : translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded)
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace quorbin::platform
