// The kana course's windows: the kana keyboard at the four sizes, no Tab out of a running lesson
// and the heat map of a kana lesson (a lesson typed by scan codes is in application_test).
#include "kana/kana_course_window.h"
#include "kana/kana_drill_window.h"
#include "kana/kana_heat_board_widget.h"
#include "kana/kana_keyboard_widget.h"
#include "kana/kana_text.h"
#include "progress/heat_map_dialog.h"
#include "ui/support/test_application.h"

#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>

using namespace kestrum;
using namespace kestrum::testing;

class KanaWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every kana key lies inside the keyboard, apart from every other, and the longest item of
    // the course fits its row, at each size.
    void everyKeyAndItemFitsAtEverySize() {
        for (const int size : {0, 3, 2, 1}) {
            TestApplication test;
            test.app().context().settings.keyboard_size = size;
            KanaCourseWindow& course = test.app().kanaCourse();
            course.startLesson(0);
            KanaDrillWindow& drill = *course.drill();
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
            for (const KanaLesson& lesson : course.lessons()) {
                for (const KanaItem& item : lesson.items) {
                    const QString text = QString::fromStdString(toUtf8(item.text));
                    QVERIFY2(metrics.horizontalAdvance(text) <= row->width(), qPrintable(text));
                }
            }
        }
    }

    // During a run Tab is no way out, and "メニューに戻る" takes clicks only (before it Tab and
    // Enter leave the lesson: the screen-size pass of the end-to-end run does so); a click on it
    // leaves nothing of the run behind for the next start.
    void tabLeavesNoRunningLesson() {
        TestApplication test;
        KanaCourseWindow& course = test.app().kanaCourse();
        course.startLesson(0);
        KanaDrillWindow& drill = *course.drill();
        QApplication::setActiveWindow(&drill);
        TestApplication::pressKey(&drill, {2, 0});  // the start key
        QTest::keyClick(&drill, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() !=
                drill.findChild<QPushButton*>(QStringLiteral("Button_go_menu")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(drill.drill().running() && drill.isVisible());

        // Left mid-run and started again: the abandoned item and its count are gone.
        TestApplication::click(&drill, "Button_go_menu");
        QTRY_VERIFY(!drill.isVisible());
        course.startLesson(0);
        QVERIFY(drill.findChild<QLabel*>(QStringLiteral("lbl_sample"))->isVisible());
        QVERIFY(!drill.findChild<QLabel*>(QStringLiteral("lbl_kana"))->isVisible());
        QCOMPARE(drill.findChild<QLabel*>(QStringLiteral("Label_counter"))->text(), QString());
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
        const auto background = [&](KeyPosition key) {  // inside the bevel, clear of the kana
            const QPoint corner = keyboard->keyRect(key).topLeft() + QPoint(4, 4);
            return keyboard->grab().toImage().pixelColor(corner);
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
