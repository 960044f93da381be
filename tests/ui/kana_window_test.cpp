// The kana course's windows over fake services: the kana keyboard at the four sizes, a lesson
// typed by real key events carrying scan codes, and the course's figures afterwards.
#include "history/score_file.h"
#include "kana/kana_course_window.h"
#include "kana/kana_drill_window.h"
#include "kana/kana_heat_board_widget.h"
#include "kana/kana_keyboard_widget.h"
#include "kana/kana_text.h"
#include "platform/file_system.h"
#include "platform/key_positions.h"
#include "progress/heat_map_dialog.h"
#include "support/fake_services.h"
#include "ui/support/recording_message_presenter.h"
#include "widgets/app_context.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <map>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

struct KanaRig {
    explicit KanaRig(int keyboardSize = 0) {
        context.settings.keyboard_size = keyboardSize;
        course = std::make_unique<KanaCourseWindow>(context, scores, keys);
    }

    // A key event as the X server sends it: the key's scan code, whatever character it makes.
    void press(KanaDrillWindow& drill, KeyPosition position, bool shift = false) const {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown,
                        shift ? Qt::ShiftModifier : Qt::NoModifier,
                        XKeyPositions::scanCodeOf(position), 0, 0);
        QApplication::sendEvent(&drill, &event);
    }
    QString row(KanaDrillWindow& drill) const {
        return drill.findChild<QLabel*>(QStringLiteral("lbl_kana"))->text();
    }

    QTemporaryDir dir;
    const std::string path = dir.path().toStdString();
    DiskFileSystem files;
    SteadyClock clock;
    SeededRandom random{3};
    FixedScreen screen{{1280, 1024, 96.0}};
    FakeCapsLock capsLock;
    RecordingSound sound;
    RecordingMessagePresenter messages;
    ScoreFile scores{files, path};
    AppContext context{path, files, clock, random, screen, capsLock, sound, messages, {}, {}};
    XKeyPositions keys;
    std::unique_ptr<KanaCourseWindow> course;
};

}  // namespace

class KanaWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every kana key lies inside the keyboard, apart from every other, and the longest item of
    // the course fits its row, at each size.
    void everyKeyAndItemFitsAtEverySize() {
        for (const int size : {0, 3, 2, 1}) {
            KanaRig rig(size);
            rig.course->startLesson(0);
            KanaDrillWindow& drill = *rig.course->drill();
            KanaKeyboardWidget& keyboard = drill.keyboardWidget();
            std::vector<QRect> placed;
            for (const KanaKey& key : kanaKeys()) {
                const QRect rect = keyboard.keyRect(key.position);
                QVERIFY2(!rect.isEmpty() && keyboard.rect().contains(rect), key.kana.data());
                for (const QRect& other : placed)
                    QVERIFY2(!rect.intersects(other), key.kana.data());
                placed.push_back(rect);
            }
            const QLabel* row = drill.findChild<QLabel*>(QStringLiteral("lbl_kana"));
            const QFontMetrics metrics(row->font());
            for (const KanaLesson& lesson : rig.course->lessons()) {
                for (const KanaItem& item : lesson.items) {
                    const QString text = QString::fromStdString(toUtf8(item.text));
                    QVERIFY2(metrics.horizontalAdvance(text) <= row->width(), qPrintable(text));
                }
            }
        }
    }

    // The home-row lesson typed key by key: a kana turns red as its key is struck, a key that
    // is no kana key does nothing, and the run ends in a recorded attempt the course then shows.
    void aLessonTypedByScanCodeIsRecordedAndShownOnTheCourse() {
        KanaRig rig;
        rig.course->showCourse();
        auto* figures = rig.course->findChild<QLabel*>(QStringLiteral("figures_kana1"));
        QCOMPARE(figures->text(), QStringLiteral("まだ記録がありません"));
        rig.course->startLesson(0);
        KanaDrillWindow& drill = *rig.course->drill();
        QVERIFY(drill.isVisible() && !rig.course->isVisible());
        std::vector<LessonResult> finished;
        QObject::connect(&drill, &KanaDrillWindow::lessonFinished,
                         [&finished](const LessonResult& result) { finished.push_back(result); });

        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 9, 0, 0);
        QApplication::sendEvent(&drill, &escape);
        QVERIFY(!drill.drill().running());
        rig.press(drill, {2, 0});  // the start key
        QCOMPARE(rig.row(drill), QStringLiteral("ははまま　ははまま　はまはま　はまはま"));
        rig.press(drill, {2, 3});
        QVERIFY(
            rig.row(drill).startsWith(QStringLiteral("<span style=\"color:#ff0000\">は</span>は")));
        while (drill.drill().running()) {
            const std::vector<KanaCell>& cells = drill.drill().view().cells;
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (cells[i].typed) continue;
                const auto strokes = strokesOf(toUtf32(cells[i].kana).front());
                for (const KanaStroke& stroke : strokes.value())
                    rig.press(drill, stroke.position, stroke.shift);
            }
            QTest::qWait(200);
        }
        QTRY_COMPARE(finished.size(), std::size_t{1});
        const LessonResult& result = finished.front();
        QCOMPARE(result.accuracy, 100);
        QCOMPARE(result.key.name, std::string("kana1"));

        drill.returnedToMenu();
        QTRY_VERIFY(rig.course->isVisible());
        QVERIFY(figures->text().startsWith(QStringLiteral("前回 %1字/分").arg(result.speed)));
        QVERIFY(figures->text().endsWith(QStringLiteral("正解率 100%")));
    }

    // Before a run Tab reaches "メニューに戻る" and Enter presses it; during a run Tab is no way
    // out, and the button takes clicks only.
    void tabAndEnterLeaveOnlyAWaitingLesson() {
        KanaRig rig;
        rig.course->showCourse();
        rig.course->startLesson(0);
        KanaDrillWindow& drill = *rig.course->drill();
        QApplication::setActiveWindow(&drill);
        auto* back = drill.findChild<QPushButton*>(QStringLiteral("Button_go_menu"));
        QTest::keyClick(&drill, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), back);
        QTest::keyClick(back, Qt::Key_Return);
        QTRY_VERIFY(rig.course->isVisible() && !drill.isVisible());

        rig.course->startLesson(0);
        QApplication::setActiveWindow(&drill);
        rig.press(drill, {2, 0});  // the start key
        QTest::keyClick(&drill, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != back);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(drill.drill().running() && drill.isVisible());
    }

    // A kana lesson's heat map is the kana keyboard: each key tinted by its own misses, the worst
    // keys listed by their kana, a key's figures in its tool tip.
    void theHeatMapOfAKanaLessonTintsTheKanaKeys() {
        const ScreenMetrics screen{1280, 1024, 96.0};
        const std::vector<KeyTally> attempt{{"ｶ", 1, 0}, {"ﾂ", 2, 1}, {"ﾞ", 1, 1}};
        const std::vector<KeyTally> lesson{{"ﾞ", 9, 1}};
        HeatMapDialog dialog(QStringLiteral("kana5"), attempt, lesson, screen,
                             std::make_unique<KanaHeatBoard>(screen));
        dialog.show();
        auto* keyboard = dialog.findChild<KanaKeyboardWidget*>();
        const auto background = [&](KeyPosition key) {
            // The colour most of the key's face takes, its kana and bevel aside.
            const QImage image = keyboard->grab().toImage();
            std::map<QRgb, int> counts;
            const QRect face = keyboard->keyRect(key).adjusted(4, 4, -4, -4);
            for (int y = face.top(); y <= face.bottom(); ++y) {
                for (int x = face.left(); x <= face.right(); ++x)
                    ++counts[image.pixel(x, y)];
            }
            return QColor(std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                              return a.second < b.second;
                          })->first);
        };
        const KeyPosition ka{1, 4}, voicing{1, 10}, tsu{3, 0}, chi{2, 0};
        const QColor red(255, 0, 0), white(255, 255, 255), unstruck(228, 228, 228);
        QCOMPARE(background(ka), white);
        QCOMPARE(background(voicing), red);
        QCOMPARE(background(tsu), red);
        QCOMPARE(background(chi), unstruck);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("worstKeys"))->text(),
                 QStringLiteral("ミスの多いキー\n\n゛   打鍵 2回・ミス 1回（50.0%）\n"
                                "つ（っ）   打鍵 3回・ミス 1回（33.3%）"));

        dialog.findChild<QRadioButton*>(QStringLiteral("wholeLesson"))->click();
        QCOMPARE(background(voicing), QColor(255, 255, 51));  // a tenth missed
        QCOMPARE(background(tsu), unstruck);
        auto* board = dialog.findChild<HeatBoard*>();
        const QPoint over = keyboard->keyRect(voicing).center();
        QHelpEvent help(QEvent::ToolTip, over, board->mapToGlobal(over));
        QApplication::sendEvent(board, &help);
        QCOMPARE(QToolTip::text(), QStringLiteral("゛: 打鍵 10回・ミス 1回（10.0%）"));
    }
};

QTEST_MAIN(KanaWindowTest)
#include "kana_window_test.moc"
