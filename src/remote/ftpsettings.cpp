#include "remote/ftpsettings.h"

namespace quorbin {

FtpSettings FtpSettingsFromSet(const BackupSet& set, const ProgramSettings& program)
{
    FtpSettings settings;
    settings.host = set.ftphost;
    settings.portText = set.PORT;
    settings.user = set.ftpusername;
    settings.password = set.ftppassw;
    settings.proxyHost = set.PROXY;
    settings.proxyPortText = set.PROXYPORT;
    settings.passive = set.Passive;
    settings.storeDirectory = set.verzeichnis;
    settings.basePath = set.Basis;
    settings.tls = program.MITSSL;
    settings.requireTls = program.NURSSL;
    settings.directoryService = program.MITVZ;
    settings.stallLimitSeconds = StallLimitSeconds(program);
    return settings;
}

int StallLimitSeconds(const ProgramSettings& program)
{
    bool ok = false;
    const int seconds = program.STILLSTAND.trimmed().toInt(&ok);
    return ok && seconds > 0 ? seconds : kDefaultStallLimitSeconds;
}

}  // namespace quorbin
