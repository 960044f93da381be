#include "kana/kana_text.h"

#include <QString>

namespace kestrum {

std::string toUtf8(std::u32string_view text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

std::u32string toUtf32(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU32String();
}

}  // namespace kestrum
