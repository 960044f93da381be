#include "app/ui_fonts.h"

namespace kestrum {

namespace {

QFont baseFont(FontFace face, FontStyle style) {
    QFont font;
    font.setFamilies(fontFamilies(face));
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
