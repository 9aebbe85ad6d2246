#pragma once
#include "platform/job.h"

#include <QCoreApplication>
#include <QString>
#include <stdexcept>

namespace quorbin {

// A refused or failed FTP operation. The text is the server's reply (without its code) when
// there was one, else the FTP library's own description of what went wrong.
class FtpError : public std::runtime_error {
public:
    explicit FtpError(const QString& text, int replyCode = 0)
        : std::runtime_error(text.toStdString()), text_(text), replyCode_(replyCode)
    {
    }
    // An operation ended by Abort() or by its job's stop token.
    static FtpError cancellation()
    {
        FtpError error(QCoreApplication::translate("Remote", "Übertragung abgebrochen"));
        error.cause_ = Cause::Cancelled;
        return error;
    }
    // A login that TLS was required for, and the server refused TLS.
    static FtpError tlsRefusal()
    {
        FtpError error(QCoreApplication::translate(
            "Remote", "Der Server lehnt TLS ab; ohne TLS wird nicht verbunden, weil TLS vorgeschrieben ist."));
        error.cause_ = Cause::TlsRefused;
        return error;
    }

    // A TLS handshake ended because the server's certificate is neither vouched for by the
    // system's trust store nor the one expected for host and port (stored at an earlier
    // connection, or named by the user): nothing was sent after AUTH, the password least of all.
    static FtpError certificateChange(const QString& hostAndPort, const QString& expected, const QString& offered);

    const QString& text() const { return text_; }
    // The server's three-digit reply code; 0 when the failure had no reply.
    int replyCode() const { return replyCode_; }
    bool cancelled() const { return cause_ == Cause::Cancelled; }
    bool tlsRefused() const { return cause_ == Cause::TlsRefused; }
    bool certificateChanged() const { return cause_ == Cause::CertificateChanged; }
    // Of a certificate change: the SHA-256 fingerprint expected, and the one the server showed.
    const QString& expectedCertificate() const { return expectedCertificate_; }
    const QString& offeredCertificate() const { return offeredCertificate_; }

    // The same failure naming what it concerns ("/a/b.txt: …"), unless its text names it
    // already; a cancel stays as it is.
    FtpError about(const QString& what) const
    {
        if (cause_ == Cause::Cancelled || text_.contains(what))
            return *this;
        FtpError error(what + QStringLiteral(": ") + text_, replyCode_);
        error.cause_ = cause_;
        error.expectedCertificate_ = expectedCertificate_;
        error.offeredCertificate_ = offeredCertificate_;
        return error;
    }

private:
    enum class Cause { Refused, Cancelled, TlsRefused, CertificateChanged };

    QString text_;
    int replyCode_;
    Cause cause_ = Cause::Refused;
    QString expectedCertificate_;
    QString offeredCertificate_;
};

// A failed operation as a job's result: Cancelled, or Network with the server's reply.
inline JobResult FtpFailure(const FtpError& error)
{
    return JobResult::failure(error.cancelled() ? ErrorKind::Cancelled : ErrorKind::Network, error.text());
}

// Runs a step whose failure the caller passes over, as the product always did; true when it
// went through. A cancel is no such failure: it ends the caller too.
template <typename Step>
bool PassOverFailure(Step&& step)
{
    try {
        step();
        return true;
    } catch (const FtpError& error) {
        if (error.cancelled())
            throw;
        return false;
    }
}

}  // namespace quorbin
