#include "widgets/ui_fonts.h"

#include <QFontDatabase>

#include <algorithm>
#include <array>

namespace kestrum {

namespace {

constexpr std::size_t kFaces = 3;

// A family the font database does not hold sends every new size of a font through the system's
// alias and fallback matching, which costs more than the rest of start-up. So a font names only
// the first installed family, found once per process: naming more than one makes every new size
// and style look up the system's fallback list at once, where with one it is looked up only
// for a character the family lacks. With none installed, the whole list stays, for the
// system's fallback to choose from.
const QStringList& installedFamilies(FontFace face) {
    static const std::array<QStringList, kFaces> lists = [] {
        // Not hasFamily(): it puts every name through the alias rules, the very cost avoided.
        const QStringList known = QFontDatabase::families();
        std::array<QStringList, kFaces> installed;
        for (std::size_t i = 0; i < kFaces; ++i) {
            const QStringList all = fontFamilies(static_cast<FontFace>(i));
            const auto first = std::find_if(all.begin(), all.end(), [&](const QString& family) {
                return known.contains(family, Qt::CaseInsensitive);
            });
            installed[i] = first != all.end() ? QStringList{*first} : all;
        }
        return installed;
    }();
    return lists.at(static_cast<std::size_t>(face));
}

QFont baseFont(FontFace face, FontStyle style) {
    QFont font;
    font.setFamilies(installedFamilies(face));
    switch (face) {
        case FontFace::PGothic:
            font.setStyleHint(QFont::SansSerif);
            break;
        case FontFace::Gothic:
            font.setStyleHint(QFont::TypeWriter);
            font.setFixedPitch(true);
            break;
        case FontFace::Mincho:
            font.setStyleHint(QFont::Serif);
            font.setFixedPitch(true);
            break;
    }
    const int bits = static_cast<int>(style);
    font.setBold((bits & static_cast<int>(FontStyle::Bold)) != 0);
    font.setItalic((bits & static_cast<int>(FontStyle::Italic)) != 0);
    return font;
}

}  // namespace

QStringList fontFamilies(FontFace face) {
    switch (face) {
        case FontFace::PGothic:
            return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("Noto Sans CJK JP")};
        case FontFace::Gothic:
            return {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans Mono CJK JP")};
        case FontFace::Mincho:
            return {QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"),
                    QStringLiteral("Noto Serif CJK JP")};
    }
    return {};
}

QFont pixelFont(FontFace face, int pixelSize, FontStyle style) {
    QFont font = baseFont(face, style);
    font.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    return font;
}

QFont pointFont(FontFace face, int pointSize, FontStyle style) {
    QFont font = baseFont(face, style);
    font.setPointSize(pointSize > 0 ? pointSize : 1);
    return font;
}

}  // namespace kestrum
