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
    return settings;
}

}  // namespace quorbin
