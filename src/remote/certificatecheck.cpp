#include "remote/certificatecheck.h"

#include <QUrl>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace quorbin {
namespace {

// As `openssl x509 -fingerprint -sha256` prints it.
QString fingerprintOf(X509* certificate)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha256(), digest, &length) != 1)
        return {};
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex(':').toUpper());
}

bool namesHost(X509* certificate, const QByteArray& host)
{
    // An address must stand in the certificate as an address, a name as a name.
    const int address = X509_check_ip_asc(certificate, host.constData(), 0);
    if (address != -2)
        return address == 1;
    return X509_check_host(certificate, host.constData(), size_t(host.size()), 0, nullptr) == 1;
}

}  // namespace

void CertificateCheck::expect(const QString& host, const QStringList& fingerprints)
{
    host_ = QUrl::toAce(host);
    expected_ = fingerprints;
    accepted_ = {};
    refused_.clear();
}

void CertificateCheck::install(CURL* easy)
{
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &CertificateCheck::onContext);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, this);
}

void CertificateCheck::StoreFree::operator()(X509_STORE* store) const { X509_STORE_free(store); }

CURLcode CertificateCheck::onContext(CURL*, void* sslContext, void* self)
{
    auto* check = static_cast<CertificateCheck*>(self);
    auto* context = static_cast<SSL_CTX*>(sslContext);
    if (!check->trustStore_) {
        // SSL_CERT_FILE and SSL_CERT_DIR move it; one that cannot be read vouches for nothing,
        // and the fingerprints decide alone.
        check->trustStore_.reset(X509_STORE_new());
        if (!check->trustStore_)
            return CURLE_OUT_OF_MEMORY;
        X509_STORE_set_default_paths(check->trustStore_.get());
    }
    SSL_CTX_set1_cert_store(context, check->trustStore_.get());
    // The FTP library is told to check nothing itself; the check here decides, and ends the
    // handshake when it refuses.
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_cert_verify_callback(context, &CertificateCheck::onVerify, self);
    return CURLE_OK;
}

int CertificateCheck::onVerify(X509_STORE_CTX* store, void* self)
{
    // No exception may pass through the TLS library's C frames; a check that fails refuses.
    try {
        return static_cast<CertificateCheck*>(self)->passes(store) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

bool CertificateCheck::passes(X509_STORE_CTX* store)
{
    X509* certificate = X509_STORE_CTX_get0_cert(store);
    if (!certificate)
        return false;
    const bool chain = X509_verify_cert(store) == 1;
    const bool trusted = chain && namesHost(certificate, host_);
    const QString fingerprint = fingerprintOf(certificate);
    if (fingerprint.isEmpty())
        return false;
    if (!trusted && !expected_.isEmpty() && !expected_.contains(fingerprint)) {
        refused_ = fingerprint;
        X509_STORE_CTX_set_error(store, X509_V_ERR_CERT_REJECTED);
        return false;
    }
    // The session's later connections must show this one (or one the trust store vouches for).
    if (expected_.isEmpty())
        expected_ << fingerprint;
    accepted_ = {fingerprint, trusted};
    return true;
}

}  // namespace quorbin
