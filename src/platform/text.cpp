#include "platform/text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <utility>

namespace kestrum {

namespace {

constexpr const char* kCodePage = "windows-31j";
// Bytes A1..DF are the half-width katakana U+FF61..U+FF9F.
constexpr unsigned char kFirstHalfWidthKana = 0xA1;
constexpr unsigned char kLastHalfWidthKana = 0xDF;
constexpr char16_t kHalfWidthKanaBase = 0xFF61;

// Japanese input methods here type these code points where Windows types the ones beside them;
// Windows writes both as the same code page 932 bytes, and so does this program.
constexpr std::pair<char16_t, char16_t> kWindowsForms[] = {
    {0x301C, 0xFF5E},  // wave dash: 0x81 0x60
    {0x2212, 0xFF0D},  // minus sign: 0x81 0x7C
    {0x2016, 0x2225},  // double vertical line as parallel: 0x81 0x61
    {0x2014, 0x2015},  // em dash as horizontal bar: 0x81 0x5C
    {0x00A2, 0xFFE0},  // cent sign: 0x81 0x91
    {0x00A3, 0xFFE1},  // pound sign: 0x81 0x92
    {0x00AC, 0xFFE2},  // not sign: 0x81 0xCA
};

QString inWindowsForms(QString text) {
    for (QChar& c : text) {
        for (const auto& [typed, windows] : kWindowsForms) {
            if (c.unicode() == typed) c = QChar(windows);
        }
    }
    return text;
}

QString decodeWithConverter(std::string_view bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

QString fromCp932(std::string_view bytes) {
    // ASCII and the half-width katakana are single bytes that map by arithmetic, and most names
    // and captions hold nothing else: the converter (a large library and table) is opened only
    // for text that needs it.
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            *out++ = QChar(byte);
        } else if (byte >= kFirstHalfWidthKana && byte <= kLastHalfWidthKana) {
            *out++ = QChar(static_cast<char16_t>(kHalfWidthKanaBase + byte - kFirstHalfWidthKana));
        } else {
            return decodeWithConverter(bytes);
        }
    }
    return text;
}

Bytes toCp932(const QString& text) {
    // ASCII is the same in code page 932; a typed key is nearly always ASCII, and opening a
    // converter for it would cost more than the judgement itself.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
        return text.toLatin1().toStdString();
    }
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::ConvertInvalidToNull);
    const QByteArray encoded = encoder(inWindowsForms(text));
    return Bytes(encoded.constData(), static_cast<std::size_t>(encoded.size()));
}

Bytes utf8ToCp932(std::string_view utf8) {
    return toCp932(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

Bytes textFileToCp932(std::string_view bytes) {
    const bool marked = bytes.starts_with(kUtf8ByteOrderMark);
    if (marked) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    } else if (std::all_of(bytes.begin(), bytes.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return Bytes(bytes);
    }
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text =
        decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!marked && decoder.hasError()) return Bytes(bytes);
    return toCp932(text);
}

std::string cp932ToUtf8(std::string_view bytes) {
    return fromCp932(bytes).toStdString();
}

}  // namespace kestrum
