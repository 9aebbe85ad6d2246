#pragma once
// The FTPS certificates trusted on first use: zertifikate.conf beside laufwerke.conf, one line
// per server, "host:port=AB:CD:…" (the certificate's SHA-256), lines with "#" for comments.
// The window and the command line read and write the same file.
#include <QString>

namespace quorbin {

QString CertificateStoreFile();

// "server:21"; an IPv6 address in brackets ("[::1]:21"). Host names are case-blind.
QString HostAndPort(const QString& host, int port);

// The fingerprint stored for a server; empty when there is none.
QString StoredCertificate(const QString& hostAndPort);

// Puts the fingerprint in place of the server's old one (or adds it), keeping every other line;
// the file is replaced whole or not at all. False with the reason when it cannot be written.
bool StoreCertificate(const QString& hostAndPort, const QString& fingerprint, QString& error);

// A SHA-256 fingerprint as openssl prints it, "AB:CD:…" in upper case, from hex in either
// case with or without colons; empty for anything that is not 32 bytes of hex.
QString NormalisedFingerprint(const QString& text);

}  // namespace quorbin
