#pragma once
// The language of every text shown to a person: German under a German locale, English
// otherwise. The German texts are the source texts; English comes from the embedded
// translation.
#include <QString>

namespace quorbin::platform {

enum class Language { German, English };

// The first non-empty of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG decides, as
// the C library's message catalogues do: "de…" is German, anything else English.
Language languageOf(const QString& language, const QString& lcAll, const QString& lcMessages, const QString& lang);
// The same from this process's environment.
Language userLanguage();

// Installs the translators of the user's language into the running application: the product's
// English texts, or Qt's own German texts (dialog buttons) for German. Call right after the
// application object exists, before anything is printed or shown.
void installUserLanguage();

}  // namespace quorbin::platform
