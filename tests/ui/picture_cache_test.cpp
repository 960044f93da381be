// The drill window's cells, keys and finger labels are drawn from kept pictures: they must show
// exactly what a fresh drawing shows, whatever looks and sizes came before.
#include "widgets/picture_cache.h"
#include "drill/char_cell_widget.h"
#include "drill/drill_window.h"
#include "keyboard/keyboard_model.h"
#include "keyboard/keyboard_widget.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/random_source.h"
#include "support/fake_services.h"
#include "ui/support/drill_services.h"
#include "widgets/app_context.h"
#include "widgets/ui_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kestrum;

namespace {

void setTextColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

// A cell and a plain label side by side, alike in everything but their drawing.
struct CellPair {
    CellPair(PictureCache& pictures, const QFont& font, QSize size)
        : cell(pictures, &parent), label(&parent) {
        for (QLabel* l : {static_cast<QLabel*>(&cell), &label}) {
            l->setFont(font);
            l->setAlignment(Qt::AlignCenter);
            l->resize(size);
        }
    }
    void show(const QString& text, const QColor& colour) {
        for (QLabel* l : {static_cast<QLabel*>(&cell), &label}) {
            l->setText(text);
            setTextColour(*l, colour);
        }
    }
    bool alike() { return cell.grab().toImage() == label.grab().toImage(); }

    QWidget parent;
    CharCellWidget cell;
    QLabel label;
};

// A drill window over fake services, in its own temporary data directory.
struct Rig : testing::DrillServices<testing::FakeClock, SeededRandom> {
    Rig() : DrillServices({1920, 1080, 96.0}, SeededRandom(3)) {}

    void start(int keyboardSize) {
        context.settings.keyboard_size = keyboardSize;
        window->StartLesson(1);
    }
    void type(char ch) {
        QWidget* focus = window->focusWidget();
        QTest::keyClick(focus != nullptr ? focus : window.get(), ch);
    }
    char expected() const {
        const DrillState& state = window->engine().state();
        return state.target.at(static_cast<std::size_t>(state.position - 1));
    }
    // The keyboard as the screen holds it, repainted piece by piece since the window was shown,
    // against a new one drawn whole, with no pictures kept, over the same state.
    bool keyboardAsFresh() const {
        KeyboardWidget fresh(window->engine().keyboard());
        fresh.arrange(window->currentLayout());
        return onScreen(keyboard()->geometry()) == asShown(fresh.grab());
    }
    // The strip of finger labels as the screen holds it.
    QImage fingerLabels() const {
        QRect strip;
        for (int hand = 0; hand < KeyboardModel::kHands; ++hand) {
            for (int finger = 0; finger < KeyboardModel::kFingers; ++finger) {
                strip |= keyboard()->fingerLabelRect({hand, finger});
            }
        }
        return onScreen(strip.translated(keyboard()->pos()));
    }

    KeyboardWidget* keyboard() const {
        return window->findChild<KeyboardWidget*>(QStringLiteral("pnl_key"));
    }
    QImage onScreen(const QRect& area) const {
        QCoreApplication::processEvents();  // the pending repaint reaches the window's buffer
        return asShown(window->screen()->grabWindow(window->winId(), area.x(), area.y(),
                                                    area.width(), area.height()));
    }
    static QImage asShown(const QPixmap& pixmap) {
        return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<DrillWindow> window = std::make_unique<DrillWindow>(context);
};

}  // namespace

class PictureCacheTest : public QObject {
    Q_OBJECT

private slots:
    void cellsLookLikeLabels_data();
    void cellsLookLikeLabels();
    // Keys and finger labels, repainted in pieces from kept pictures, match a whole fresh
    // drawing at every size, through expected and wrong keys.
    void keysFollowTheirLooksAndSizes();
    void fontsTakeTheFirstInstalledFamily();
};

void PictureCacheTest::cellsLookLikeLabels_data() {
    QTest::addColumn<int>("points");
    // Small enough for the glyph cache, and the item row's largest face, beyond it.
    QTest::newRow("small") << 14;
    QTest::newRow("large") << 58;
}

void PictureCacheTest::cellsLookLikeLabels() {
    QFETCH(int, points);
    const QFont font = pointFont(FontFace::Mincho, points, FontStyle::Bold);
    const QFontMetrics metrics(font);
    const QSize size(metrics.horizontalAdvance(QLatin1Char('a')), metrics.height());
    PictureCache pictures;
    CellPair first(pictures, font, size);
    CellPair second(pictures, font, size);

    first.show(QStringLiteral("W"), Qt::black);
    QVERIFY(first.alike());
    // A colour or character seen before must not bring back another's picture.
    first.show(QStringLiteral("W"), Qt::red);
    QVERIFY(first.alike());
    second.show(QStringLiteral("W"), Qt::black);
    QVERIFY(second.alike());
    first.show(QStringLiteral("_"), Qt::red);
    QVERIFY(first.alike());
    second.show(QString(), Qt::black);
    QVERIFY(second.alike());
}

void PictureCacheTest::keysFollowTheirLooksAndSizes() {
    Rig rig;
    int fingerChanges = 0;
    for (int size : {1, 0, 2, 1}) {
        rig.start(size);
        QVERIFY(rig.keyboardAsFresh());
        rig.type('x');  // the start key
        QTRY_COMPARE(rig.window->engine().state().accept_key, 1);
        for (int step = 0; step < 3; ++step) {
            const QImage fingers = rig.fingerLabels();
            rig.type(rig.expected());
            QVERIFY(rig.keyboardAsFresh());
            if (rig.fingerLabels() != fingers) ++fingerChanges;
        }
        rig.type(rig.expected() == 'q' ? 'p' : 'q');  // a miss greys the struck key
        QVERIFY(rig.keyboardAsFresh());
        rig.window->hide();
    }
    // The lit finger moved, so a finger label picture kept for the wrong look would have shown.
    QVERIFY(fingerChanges > 0);
}

void PictureCacheTest::fontsTakeTheFirstInstalledFamily() {
    for (FontFace face : {FontFace::PGothic, FontFace::Gothic, FontFace::Mincho}) {
        QString first;
        for (const QString& family : fontFamilies(face)) {
            if (QFontDatabase::hasFamily(family)) {
                first = family;
                break;
            }
        }
        if (first.isEmpty()) continue;  // the system's fallback decides, as for any font
        for (int pixels : {12, 77}) {
            QCOMPARE(QFontInfo(pixelFont(face, pixels, FontStyle::Bold)).family(), first);
        }
    }
}

QTEST_MAIN(PictureCacheTest)
#include "picture_cache_test.moc"
