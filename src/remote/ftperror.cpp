#include "remote/ftperror.h"

#include "remote/certificatestore.h"

namespace quorbin {

FtpError FtpError::certificateChange(const QString& hostAndPort, const QString& expected, const QString& offered)
{
    FtpError error(QCoreApplication::translate("Remote",
                                               "Das Zertifikat von %1 ist nicht das erwartete (SHA-256 erwartet: %2, "
                                               "erhalten: %3). Es wird nicht angemeldet, denn jemand könnte die "
                                               "Verbindung abhören. Hat der Server wirklich ein neues Zertifikat: den "
                                               "Eintrag %1 aus %4 entfernen oder auf der Kommandozeile "
                                               "--trust-certificate %3 angeben.")
                       .arg(hostAndPort, expected, offered, CertificateStoreFile()));
    error.cause_ = Cause::CertificateChanged;
    error.expectedCertificate_ = expected;
    error.offeredCertificate_ = offered;
    return error;
}

}  // namespace quorbin
