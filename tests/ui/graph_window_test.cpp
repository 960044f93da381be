#include "history/graph_window.h"
#include "drill/drill_window.h"
#include "history/score_file.h"
#include "menu/menu_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"

#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

constexpr const char* kCountMessage = "練習回数が１回以下なので表示できません。";

void record(TestApplication& test, int kind, const char* name,
            std::initializer_list<std::pair<int, int>> attempts) {
    for (const auto& [speed, accuracy] : attempts) {
        ScoreKey key = scoreKeyFor(kind, name);
        key.speed = speed;
        key.accuracy = accuracy;
        QCOMPARE(test.app().context().scores.AppendScore(key).result, 1);
    }
}

// True when a pixel of exactly `colour` lies within one pixel of (x, y).
bool dotNear(const QImage& image, int x, int y, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image.pixelColor(x + dx, y + dy) == colour) return true;
        }
    }
    return false;
}

}  // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT

private slots:
    void lessonWithoutHistoryClosesAfterItsMessage();
    void drawsEveryAttemptAtItsPlace();
    void problemSetGraphFromTheMenu();
    void eraseAsksThenClearsAndCloses();
};

void GraphWindowTest::lessonWithoutHistoryClosesAfterItsMessage() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    // Lesson 0 has no graph, and a middle click is no graph request.
    test.press("Panel_le0", Qt::RightButton);
    test.press("Panel_le4", Qt::MiddleButton);
    QVERIFY(test.messages().shown().empty());
    QVERIFY(!test.exists("score.dat"));
    test.press("Panel_le2", Qt::RightButton);
    // The modal loop has ended by itself: the window closed once it had appeared.
    QVERIFY(!test.app().graph().isVisible());
    QCOMPARE(test.messages().shownTexts(), std::vector<std::string>{kCountMessage});
    QCOMPARE(test.app().graph().windowTitle(), QStringLiteral("グラフ   lesson2"));
    QVERIFY(test.exists("score.dat"));
    QVERIFY(test.app().menu().isVisible());
    QVERIFY(!watchdog.fired());
}

void GraphWindowTest::drawsEveryAttemptAtItsPlace() {
    ModalWatchdog watchdog;
    TestApplication test;
    record(test, 0, "lesson1", {{200, 100}, {500, 0}});
    QVERIFY(test.showMenu());
    QImage picture;
    ModalDriver driver([&](QWidget* modal) {
        picture = test.app().graph().picture();
        QCOMPARE(modal->size(), QSize(581, 422));
        TestApplication::click(modal, "BitBtn_ok");
    });
    test.press("Panel_le1", Qt::RightButton);
    QVERIFY(driver.ran());
    QVERIFY(test.messages().shown().empty());
    QCOMPARE(picture.size(), QSize(550, 355));
    // The first attempt on the left scale: accuracy 100 at y 19, speed 200 at y 177.
    QVERIFY(dotNear(picture, 20, 19, Qt::blue));
    QVERIFY(dotNear(picture, 20, 177, Qt::red));
    // The second on the right scale: accuracy 0 on the base line; speed 500 is off the picture.
    QVERIFY(dotNear(picture, 530, 335, Qt::blue));
    // The frame's base line and the white ground elsewhere.
    QCOMPARE(picture.pixelColor(300, 335), QColor(Qt::black));
    QCOMPARE(picture.pixelColor(300, 60), QColor(Qt::white));
    QVERIFY(!watchdog.fired());
}

void GraphWindowTest::problemSetGraphFromTheMenu() {
    ModalWatchdog watchdog;
    TestApplication test("1,0,0,1,0,5,0\r\nsample\r\n");
    record(test, 1, "sample", {{120, 90}, {130, 95}});
    record(test, 0, "sample", {{10, 10}});
    QVERIFY(test.showMenu());
    QString title;
    QImage picture;
    ModalDriver driver([&](QWidget* modal) {
        title = modal->windowTitle();
        picture = test.app().graph().picture();
        modal->close();
    });
    test.press("Panel_tdc_file", Qt::RightButton);
    QVERIFY(driver.ran());
    QCOMPARE(title, QStringLiteral("グラフ   sample"));
    // Two attempts of the problem set, not the one of the built-in lesson of the same name.
    QVERIFY(dotNear(picture, 530, 35, Qt::blue));  // accuracy 95
    QVERIFY(!watchdog.fired());
}

// The recorder answers the first question Cancel: the graph stays and so does the history. The
// second time it answers OK: the entry stays with no attempts and the window closes.
void GraphWindowTest::eraseAsksThenClearsAndCloses() {
    ModalWatchdog watchdog;
    TestApplication test;
    record(test, 0, "lesson4", {{100, 90}, {110, 80}});
    const QByteArray before = test.readFile("score.dat");
    QVERIFY(test.showMenu());
    bool stillOpen = false;
    ModalDriver cancelled([&](QWidget* modal) {
        TestApplication::click(modal, "Button_delete");
        stillOpen = modal->isVisible();
        TestApplication::click(modal, "BitBtn_ok");
    });
    test.press("Panel_le4", Qt::RightButton);
    QVERIFY(cancelled.ran());
    QVERIFY(stillOpen);
    QCOMPARE(test.messages().questions().size(), std::size_t{1});
    QCOMPARE(test.messages().questions().front(),
             (Message{Message::Icon::Information, "このグラフデータを消去します。", "消去の確認"}));
    QVERIFY(test.messages().shown().empty());
    QCOMPARE(test.readFile("score.dat"), before);

    test.messages().answerNextQuestions({true});
    ModalDriver confirmed([&](QWidget* modal) { TestApplication::click(modal, "Button_delete"); });
    test.press("Panel_le4", Qt::RightButton);
    QVERIFY(confirmed.ran());
    QVERIFY(!test.app().graph().isVisible());
    QCOMPARE(test.messages().shownTexts(),
             std::vector<std::string>{"グラフデータを消去しました。"});
    QCOMPARE(test.readFile("score.dat"), QByteArray("\x00\x07lesson4\x00", 10));

    // Showing it again: nothing to plot any more.
    test.messages().clear();
    test.press("Panel_le4", Qt::RightButton);
    QCOMPARE(test.messages().shownTexts(), std::vector<std::string>{kCountMessage});
    QVERIFY(!watchdog.fired());
}

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
