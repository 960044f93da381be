#include "history/graph_window.h"
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

// The picture of the graph a right click on `panel` shows, closed by its OK button.
QImage graphFrom(TestApplication& test, const char* panel) {
    QImage picture;
    ModalDriver driver([&](QWidget* modal) {
        picture = test.app().graph().picture();
        TestApplication::click(modal, "BitBtn_ok");
    });
    test.press(panel, Qt::RightButton);
    return driver.ran() ? picture : QImage();
}

}  // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT

private slots:
    void drawsEveryAttemptAtItsPlace();
    void eraseAsksThenClearsAndCloses();
};

// The first attempt on the left scale, the newest on the right; a problem set's graph is its
// own, not that of the built-in lesson of the same name.
void GraphWindowTest::drawsEveryAttemptAtItsPlace() {
    ModalWatchdog watchdog;
    TestApplication test("1,0,0,1,0,5,0\r\nlesson1\r\n");
    record(test, 0, "lesson1", {{200, 100}, {500, 0}});
    record(test, 1, "lesson1", {{120, 90}, {130, 95}});
    QVERIFY(test.showMenu());
    QImage picture = graphFrom(test, "Panel_le1");
    QCOMPARE(picture.size(), QSize(550, 355));
    QVERIFY(dotNear(picture, 20, 19, Qt::blue));    // accuracy 100
    QVERIFY(dotNear(picture, 20, 177, Qt::red));    // speed 200
    QVERIFY(dotNear(picture, 530, 335, Qt::blue));  // accuracy 0; speed 500 is off the picture
    QCOMPARE(picture.pixelColor(300, 335), QColor(Qt::black));
    QCOMPARE(picture.pixelColor(300, 60), QColor(Qt::white));

    picture = graphFrom(test, "Panel_tdc_file");
    QVERIFY(dotNear(picture, 530, 35, Qt::blue));  // accuracy 95
    QVERIFY(test.messages().shown().empty());
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
    QVERIFY(stillOpen);
    const Message question{Message::Icon::Information, "このグラフデータを消去します。",
                           "消去の確認"};
    QCOMPARE(test.messages().questions(), std::vector<Message>{question});
    QCOMPARE(test.readFile("score.dat"), before);

    test.messages().answerNextQuestions({true});
    ModalDriver confirmed([&](QWidget* modal) { TestApplication::click(modal, "Button_delete"); });
    test.press("Panel_le4", Qt::RightButton);
    QVERIFY(confirmed.ran());
    QVERIFY(!test.app().graph().isVisible());
    QCOMPARE(test.readFile("score.dat"), QByteArray("\x00\x07lesson4\x00", 10));
    // Showing it again: nothing to plot any more, and the window closes after its message.
    test.press("Panel_le4", Qt::RightButton);
    QCOMPARE(test.messages().shownTexts(),
             (std::vector<std::string>{"グラフデータを消去しました。", kCountMessage}));
    QVERIFY(!test.app().graph().isVisible());
    QVERIFY(!watchdog.fired());
}

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
