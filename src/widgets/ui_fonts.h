#pragma once

#include <QFont>
#include <QStringList>

namespace kestrum {

// The three Japanese faces the windows are designed for. Each comes with installed look-alikes
// so that the layout keeps its proportions where the original face is missing.
enum class FontFace {
    PGothic,  // proportional gothic, the windows' default face
    Gothic,   // fixed-pitch gothic, the keyboard's face
    Mincho,   // fixed-pitch serif, the text to type
};

enum class FontStyle { Regular = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

// The face's family and its fallbacks, preferred first.
QStringList fontFamilies(FontFace face);

// A font of the face whose first installed family wins, sized in pixels (the forms' unit). Needs
// a QGuiApplication: the installed families are looked up at the first call.
QFont pixelFont(FontFace face, int pixelSize, FontStyle style = FontStyle::Regular);

// The same sized in points (the unit of the drill's per-size tables).
QFont pointFont(FontFace face, int pointSize, FontStyle style = FontStyle::Regular);

}  // namespace kestrum
