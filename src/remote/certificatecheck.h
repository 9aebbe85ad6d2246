#pragma once
// The FTPS server's certificate, checked at every TLS handshake of one FTP client: the control
// connection, each data connection, and the logins the FTP library makes again by itself. A
// certificate that the system's trust store vouches for (chain and host name) passes. Any other
// must be one of those expected; while none is, the first one passes and is expected from then
// on. A refusal ends the handshake, so that no user name or password is sent after it. A data
// connection that resumes the control connection's TLS session shows no certificate again:
// only the server that holds that session can resume it.
#include "remote/ftpclient.h"

#include <QString>
#include <QStringList>
#include <curl/curl.h>
#include <memory>
#include <openssl/types.h>

namespace quorbin {

class CertificateCheck {
public:
    // Before a login: the host that a trusted certificate must name, and the SHA-256
    // fingerprints accepted besides trusted certificates.
    void expect(const QString& host, const QStringList& fingerprints);
    // Every TLS handshake of the handle goes through this check; the check outlives the handle's
    // transfers.
    void install(CURL* easy);

    // The certificate of the last handshake that passed.
    const ServerCertificate& accepted() const { return accepted_; }
    // The fingerprint of a certificate refused since the last forgetRefusal(), and the one it
    // was held against; empty without a refusal.
    const QString& refused() const { return refused_; }
    QString expected() const { return expected_.value(0); }
    void forgetRefusal() { refused_.clear(); }

private:
    struct StoreFree {
        void operator()(X509_STORE* store) const;
    };

    static CURLcode onContext(CURL* easy, void* sslContext, void* self);
    static int onVerify(X509_STORE_CTX* store, void* self);
    bool passes(X509_STORE_CTX* store);

    // The system's trust store, read once for all the client's connections: reading it takes
    // longer than a whole handshake, and every data connection gets a TLS context of its own.
    std::unique_ptr<X509_STORE, StoreFree> trustStore_;
    QByteArray host_;
    QStringList expected_;
    ServerCertificate accepted_;
    QString refused_;
};

}  // namespace quorbin
