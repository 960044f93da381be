// The drill window's cells, keys and finger labels are drawn from kept pictures: they must show
// exactly what a fresh drawing shows, whatever looks and sizes came before.
#include "widgets/picture_cache.h"
#include "drill/char_cell_widget.h"
#include "ui/support/drill_services.h"
#include "widgets/ui_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>

using namespace kestrum;
using testing::DrillRig;

namespace {

QImage asShown(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// The area of the window as the screen holds it.
QImage onScreen(const DrillRig& rig, const QRect& area) {
    QCoreApplication::processEvents();  // the pending repaint reaches the window's buffer
    return asShown(rig.window->screen()->grabWindow(rig.window->winId(), area.x(), area.y(),
                                                    area.width(), area.height()));
}

// The keyboard as the screen holds it, repainted piece by piece since the window was shown,
// against a new one drawn whole, with no pictures kept, over the same state.
bool keyboardAsFresh(const DrillRig& rig) {
    KeyboardWidget fresh(rig.window->engine().keyboard());
    fresh.arrange(rig.window->currentLayout());
    return onScreen(rig, rig.keyboard()->geometry()) == asShown(fresh.grab());
}

QImage fingerLabels(const DrillRig& rig) {
    QRect strip;
    for (int hand = 0; hand < KeyboardModel::kHands; ++hand) {
        for (int finger = 0; finger < KeyboardModel::kFingers; ++finger)
            strip |= rig.keyboard()->fingerLabelRect({hand, finger});
    }
    return onScreen(rig, strip.translated(rig.keyboard()->pos()));
}

}  // namespace

class PictureCacheTest : public QObject {
    Q_OBJECT

private slots:
    void cellsLookLikeLabels();
    void keysFollowTheirLooksAndSizes();
    void fontsTakeTheFirstInstalledFamily();
};

// Two cells sharing one cache beside plain labels, at a size small enough for the glyph cache
// and at the item row's largest face: a colour or character seen before must not bring back
// another's picture.
void PictureCacheTest::cellsLookLikeLabels() {
    for (const int points : {14, 58}) {
        const QFont font = pointFont(FontFace::Mincho, points, FontStyle::Bold);
        const QSize size(QFontMetrics(font).horizontalAdvance(QLatin1Char('a')),
                         QFontMetrics(font).height());
        PictureCache pictures;
        QWidget parent;
        CharCellWidget first(pictures, &parent), second(pictures, &parent);
        QLabel label(&parent);
        struct Step {
            CharCellWidget* cell;
            QString text;
            QColor colour;
        };
        for (const Step& step :
             {Step{&first, QStringLiteral("W"), Qt::black},
              Step{&first, QStringLiteral("W"), Qt::red},
              Step{&second, QStringLiteral("W"), Qt::black},
              Step{&first, QStringLiteral("_"), Qt::red}, Step{&second, QString(), Qt::black}}) {
            for (QLabel* l : {static_cast<QLabel*>(step.cell), &label}) {
                l->setFont(font);
                l->setAlignment(Qt::AlignCenter);
                l->resize(size);
                l->setText(step.text);
                QPalette palette = l->palette();
                palette.setColor(QPalette::WindowText, step.colour);
                l->setPalette(palette);
            }
            QVERIFY2(step.cell->grab().toImage() == label.grab().toImage(),
                     qPrintable(QStringLiteral("%1 %2").arg(points).arg(step.text)));
        }
    }
}

// Through expected and wrong keys at every size, in an order that returns to a size seen before.
void PictureCacheTest::keysFollowTheirLooksAndSizes() {
    DrillRig rig(0, {1920, 1080, 96.0});
    int fingerChanges = 0;
    for (const int size : {1, 0, 2, 1}) {
        rig.context.settings.keyboard_size = size;
        rig.window->StartLesson(1);
        QVERIFY(keyboardAsFresh(rig));
        rig.type('x');  // the start key
        QTRY_COMPARE(rig.state().accept_key, 1);
        for (int step = 0; step < 3; ++step) {
            const QImage fingers = fingerLabels(rig);
            rig.type(rig.expected());
            QVERIFY(keyboardAsFresh(rig));
            if (fingerLabels(rig) != fingers) ++fingerChanges;
        }
        rig.type(rig.expected() == 'q' ? 'p' : 'q');  // a miss greys the struck key
        QVERIFY(keyboardAsFresh(rig));
        rig.window->hide();
    }
    // The lit finger moved, so a finger label picture kept for the wrong look would have shown.
    QVERIFY(fingerChanges > 0);
}

void PictureCacheTest::fontsTakeTheFirstInstalledFamily() {
    for (FontFace face : {FontFace::PGothic, FontFace::Gothic, FontFace::Mincho}) {
        const QStringList families = fontFamilies(face);
        const auto first = std::find_if(families.begin(), families.end(), QFontDatabase::hasFamily);
        if (first == families.end()) continue;  // the system's fallback decides, as for any font
        for (int pixels : {12, 77})
            QCOMPARE(QFontInfo(pixelFont(face, pixels, FontStyle::Bold)).family(), *first);
    }
}

QTEST_MAIN(PictureCacheTest)
#include "picture_cache_test.moc"
