#include "app/treechoice.h"

#include "app/radiogroup.h"
#include "engine/dirrestore.h"
#include "platform/datetime.h"
#include "platform/errors.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QRegularExpression>

namespace quorbin::app {

RadioGroup* NewArtGroup(QWidget* parent)
{
    auto* group = new RadioGroup(QCoreApplication::translate("App", "Art der Wiederherstellung"),
                                 {QCoreApplication::translate("App", "auf Ursprungspfad zurückkopieren"),
                                  QCoreApplication::translate("App", "auf neues Verzeichnis zurückkopieren")},
                                 parent);
    group->setObjectName("Art");
    group->setItemIndex(0);
    return group;
}

RadioGroup* NewVersionGroup(QWidget* parent)
{
    auto* group = new RadioGroup(QCoreApplication::translate("App", "Version"),
                                 {QCoreApplication::translate("App", "Ursprungsversion zurückladen "),
                                  QCoreApplication::translate("App", "Version bis einschl. Datum"),
                                  QCoreApplication::translate("App", "neueste Version zurückladen")},
                                 parent);
    group->setObjectName("Version");
    group->setItemIndex(kNewestVersion);
    return group;
}

QString TreeTargetRefusal(bool newPlace, const QString& newStartDirectory, const QString& startDirectory)
{
    if (!startDirectory.contains(u'$'))
        return QCoreApplication::translate("App", "Kein Backup-Pfad. Bitte neu wählen!");
    // Neither fail nor fall back to the original paths when the new place is missing.
    if (newPlace && newStartDirectory.trimmed().isEmpty())
        return QCoreApplication::translate("App", "Bitte zuerst das neue Startverzeichnis wählen!");
    switch (RefusedTargets(newPlace ? newStartDirectory : QString(), startDirectory)) {
    case TargetRefusal::InsideStore:
        return QCoreApplication::translate(
            "App", "Das neue Startverzeichnis liegt in der Datensicherung selbst. Bitte neu wählen!");
    case TargetRefusal::WholeHost:
        return QCoreApplication::translate(
            "App",
            "Die Dateien gehören auf Laufwerk Z:, das hier das ganze System ist. Bitte "
            "ein neues Startverzeichnis wählen oder das Laufwerk zuordnen (QUORBIN_DRIVES)!");
    case TargetRefusal::NotAbsolute:
        return QCoreApplication::translate("App", "Das neue Startverzeichnis ist kein vollständiger Pfad: %1")
            .arg(newStartDirectory);
    case TargetRefusal::None:
        break;
    }
    return {};
}

double VersionLimitOf(const QDateEdit* dateField, const QLineEdit* timeField)
{
    static const QRegularExpression hoursAndMinutes(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*$"));
    const QRegularExpressionMatch match = hoursAndMinutes.match(timeField->text());
    const QTime time = match.hasMatch() ? QTime(match.captured(1).toInt(), match.captured(2).toInt()) : QTime();
    if (!time.isValid())
        throw IoError(QCoreApplication::translate("App", "'%1 %2' ist kein gültiges Datum mit Uhrzeit")
                          .arg(dateField->text(), timeField->text()));
    return platform::toDayCount(QDateTime(dateField->date(), time));
}

}  // namespace quorbin::app
