#include "config/ansitext.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace quorbin::config {
namespace {

// 0x80 to 0x9F of Windows-1252; the five unassigned bytes keep their C1 code, as Windows
// maps them. Written out because Qt knows this code page only when built with ICU.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kHighControlRange[b - 0x80]) : QChar(b);
    }
    return text;
}

// Text that is valid UTF-16: Qt's regular expressions match nothing in any other, so the path
// checks that use them would let anything through.
QString withoutLoneSurrogates(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString fromUtf16(const QByteArray& bytes, bool bigEndian)
{
    // An odd last byte is no character and is left out.
    const qsizetype units = bytes.size() / 2;
    QString text(units, Qt::Uninitialized);
    QChar* out = text.data();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < units; ++i, in += 2)
        *out++ = QChar(bigEndian ? char16_t(in[0] << 8 | in[1]) : char16_t(in[1] << 8 | in[0]));
    return withoutLoneSurrogates(text);
}

// A file edited on Linux is often UTF-8 without a byte-order mark; a Windows-1252 file with
// umlauts is practically never valid UTF-8.
std::optional<QString> asUtf8(const QByteArray& bytes)
{
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii)
        return {};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return {};
    return text;
}

}  // namespace

QString decodeIniBytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return fromUtf16(bytes.mid(2), false);
    if (bytes.startsWith("\xFE\xFF"))
        return fromUtf16(bytes.mid(2), true);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (auto utf8 = asUtf8(bytes))
        return *utf8;
    return fromWindows1252(bytes);
}

}  // namespace quorbin::config
