// The menu and the windows it opens, as only an offscreen test can see them: layouts, colours,
// the pixels of the graph, and what the options dialog shows and writes.
#include "menu/menu_window.h"
#include "history/graph_window.h"
#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "keyboard/options_dialog.h"
#include "menu/version_dialog.h"
#include "platform/text.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"
#include "widgets/bevel_panel_widget.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

BevelPanel* panel(TestApplication& test, const QString& name) {
    return test.app().menu().findChild<BevelPanel*>(name);
}

// Opens a modal window with a click on the menu's button of that name and lets `act` leave it.
void withModal(TestApplication& test, const char* button,
               const std::function<void(QWidget*)>& act) {
    ModalDriver driver(act);
    TestApplication::click(&test.app().menu(), button);
    QVERIFY(driver.ran());
}

QAbstractButton* titled(QWidget* dialog, const char* text) {
    for (auto* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == QString::fromUtf8(text)) return button;
    }
    qFatal("no button %s", text);
}

void record(TestApplication& test, int kind, const char* name,
            std::initializer_list<std::pair<int, int>> attempts) {
    for (const auto& [speed, accuracy] : attempts)
        QCOMPARE(test.app().scores().AppendScore(attemptOf(kind, name, speed, accuracy)).result, 1);
}

// The graph a right click on `panel` shows, and its panel, as pictures.
std::pair<QImage, QImage> graphFrom(TestApplication& test, const char* panel) {
    std::pair<QImage, QImage> pictures;
    ModalDriver driver([&](QWidget* modal) {
        pictures = {test.app().graph().picture(),
                    modal->findChild<BevelPanel*>()->grab().toImage()};
        TestApplication::click(modal, "BitBtn_ok");
    });
    test.press(panel, Qt::RightButton);
    return pictures;
}

// True when a pixel of exactly `colour` lies within one pixel of (x, y).
bool dotNear(const QImage& image, int x, int y, const QColor& colour) {
    for (int at = 0; at < 9; ++at) {
        if (image.pixelColor(x + at % 3 - 1, y + at / 3 - 1) == colour) return true;
    }
    return false;
}

}  // namespace

class MenuWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layoutColoursAndPlace();
    void problemSetCaptionAndAMissingSet();
    void versionDialogNamesTheDataFolder();
    void optionsShowFitAndWriteOnlyOnOk();
    void graphDrawsEveryAttemptAndItsScale();
    void graphEraseAsksThenClearsAndCloses();
};

void MenuWindowTest::layoutColoursAndPlace() {
    TestApplication test;
    MenuWindow& menu = test.app().menu();
    QCOMPARE(menu.windowTitle(), QStringLiteral("ケストラムLite"));
    // Outer height 452, centred on the screen.
    QCOMPARE(menu.size(), QSize(555, 427));
    QCOMPARE(menu.minimumSize(), menu.maximumSize());
    const ScreenMetrics screen = test.app().context().screen.metrics();
    QCOMPARE(menu.pos(), QPoint((screen.width - 561) / 2, (screen.height - 452) / 2));
    const QColor colours[] = {Qt::white,       {241, 255, 241}, {238, 255, 238}, {224, 255, 224},
                              {210, 255, 210}, {196, 255, 196}, {182, 255, 182}};
    for (int n = 0; n < 7; ++n) {
        const BevelPanel* lesson = panel(test, QStringLiteral("Panel_le%1").arg(n));
        QCOMPARE(lesson->color(), colours[n]);
        QCOMPARE(lesson->geometry(), QRect(24, 64 + 40 * n, 169, 33));
        QCOMPARE(lesson->caption(), QStringLiteral("LESSON &%1").arg(n));
    }
    // The close button's cross is drawn for each mode: disabled, it is fainter where it crosses.
    const QIcon cross = menu.findChild<QPushButton*>(QStringLiteral("BitBtn_close"))->icon();
    const QImage shown = cross.pixmap(QSize(32, 32), QIcon::Normal).toImage();
    const QImage faint = cross.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
    QVERIFY(qAlpha(faint.pixel(16, 16)) < qAlpha(shown.pixel(16, 16)));
}

// The caption is cut to fit only when the menu is activated; byte 11 would be the second half of
// ド, so 9 bytes are kept. A set that cannot be read keeps the menu up with the file's path.
void MenuWindowTest::problemSetCaptionAndAMissingSet() {
    const QByteArray name = "abcdefghi" + QByteArray::fromStdString(utf8ToCp932("ドリル"));
    TestApplication test("1,0,0,1,0,5,0\r\n" + name + "\r\n");
    QCOMPARE(panel(test, "Panel_tdc_file")->caption(), QStringLiteral("abcdefghiドリル"));
    QVERIFY(test.showMenu());
    QCOMPARE(panel(test, "Panel_tdc_file")->caption(), QStringLiteral("abcdefghi... (&U)"));
    test.press("Panel_tdc_file");
    const std::vector<std::string> texts = test.messages().shownTexts();
    QCOMPARE(texts.size(), std::size_t{2});
    QCOMPARE(texts[0], std::string("ファイルが存在しません"));
    QVERIFY(texts[1].ends_with("tdcs/abcdefghiドリル.tdc"));
    QVERIFY(test.app().menu().isVisible());
}

// The version dialog names the folder where the sets and the history live.
void MenuWindowTest::versionDialogNamesTheDataFolder() {
    TestApplication test;
    QVERIFY(test.showMenu());
    bool hasIcon = false;
    withModal(test, "Button_version", [&](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(modal->size(), QSize(302, 151));
        for (QLabel* image : modal->findChildren<QLabel*>())
            hasIcon = hasIcon || image->pixmap().size() == QSize(32, 32);
        TestApplication::click(modal, "BitBtn1");
    });
    QVERIFY(hasIcon);
    QCOMPARE(test.app().version().versionText(), QStringLiteral("ケストラムLite Ver 2.01"));
    QCOMPARE(test.app().version().dataDirText(),
             QStringLiteral("データの保存先: ") + QDir(test.path({})).path());
}

// The offscreen screen is 800 pixels wide: only the small and medium keyboards fit. Cancel and
// the close box change nothing; OK takes every control, and the file follows when the menu closes.
void MenuWindowTest::optionsShowFitAndWriteOnlyOnOk() {
    const QByteArray ini = "0,2,1,1,2,5,2\r\n";
    TestApplication test(ini);
    QVERIFY(test.showMenu());
    auto change = [](QWidget* dialog) {
        for (const char* text : {"表示しない(&N)", "エラー音のみ(&O)", "すべて大文字で表示(&C)",
                                 "中    (800*600以上)(&M)"})
            titled(dialog, text)->setChecked(true);
        titled(dialog, "大文字と小文字を区別する(&G)")->setChecked(false);
        titled(dialog, "左右のシフトを区別する(&R)")->setChecked(false);
    };
    const Settings before = test.app().context().settings;
    withModal(test, "Button_option", [&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("オプション"));
        // The layout's size, widened only as much as the installed fonts need so that no
        // caption or access key is cut off.
        QCOMPARE(dialog->height(), 331);
        QVERIFY(dialog->width() >= 377);
        // Every control as the file says, and only the sizes that fit the screen enabled.
        const QStringList checked = {"左右のシフトを区別する(&R)", "間違えたときだけ表示(&E)",
                                     "なし(&X)", "すべて大文字で表示(&C)",
                                     "中    (800*600以上)(&M)"};
        const QStringList disabled = {"大    (1024*768以上)(&L)", "特大 (1280*1024以上)(&K)"};
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (qobject_cast<QPushButton*>(button) != nullptr) continue;
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
            const QRect inDialog(button->mapTo(dialog, QPoint(0, 0)), button->size());
            QVERIFY2(dialog->rect().contains(inDialog), qPrintable(button->text()));
            QCOMPARE(button->isChecked(), checked.contains(button->text()));
            QCOMPARE(button->isEnabled(), !disabled.contains(button->text()));
        }
        QCOMPARE(dialog->focusWidget(), titled(dialog, "キャンセル"));
        change(dialog);
        TestApplication::click(dialog, "BitBtn2");
    });
    for (const bool ok : {false, true}) {
        QCOMPARE(test.app().context().settings, before);
        withModal(test, "Button_option", [&](QWidget* dialog) {
            change(dialog);
            ok ? TestApplication::click(dialog, "BitBtn1") : static_cast<void>(dialog->close());
        });
        QVERIFY(!test.app().options().isVisible());
    }
    QCOMPARE(test.readFile("kestruml.ini"), ini);
    test.app().menu().close();
    QCOMPARE(test.readFile("kestruml.ini"), QByteArray("0,3,1,0,1,5,3\r\n"));
}

// The first attempt on the left scale, the newest on the right; a problem set's graph is its
// own, not that of the built-in lesson of the same name.
void MenuWindowTest::graphDrawsEveryAttemptAndItsScale() {
    TestApplication test("1,0,0,1,0,5,0\r\nlesson1\r\n");
    record(test, 0, "lesson1", {{200, 100}, {500, 0}});
    record(test, 1, "lesson1", {{120, 90}, {130, 95}});
    record(test, 0, "lesson2", {{252, 63}, {252, 63}});  // both dots at y 136, between the labels
    QVERIFY(test.showMenu());
    auto [picture, panel] = graphFrom(test, "Panel_le1");
    QCOMPARE(picture.size(), QSize(550, 355));
    QVERIFY(dotNear(picture, 20, 19, Qt::blue));    // accuracy 100
    QVERIFY(dotNear(picture, 20, 177, Qt::red));    // speed 200
    QVERIFY(dotNear(picture, 530, 335, Qt::blue));  // accuracy 0; speed 500 is off the picture
    QCOMPARE(picture.pixelColor(300, 335), QColor(Qt::black));
    QCOMPARE(picture.pixelColor(300, 60), QColor(Qt::white));
    QVERIFY(dotNear(graphFrom(test, "Panel_tdc_file").first, 530, 35, Qt::blue));  // accuracy 95

    // Beside every scale label both scale lines run unbroken, and the label is drawn whole in
    // its margin: left of the left line, or before the picture's edge.
    std::tie(picture, panel) = graphFrom(test, "Panel_le2");
    for (const int top : {15, 93, 171, 249, 327}) {
        bool drawn = false;
        for (int y = top; y < top + 12; ++y) {
            const bool onLines = y >= 20 && y <= 335;
            QVERIFY(!onLines || picture.pixelColor(20, y) == Qt::black);
            QVERIFY(!onLines || picture.pixelColor(530, y) == Qt::black);
            QCOMPARE(picture.pixelColor(19, y), QColor(Qt::white));
            QCOMPARE(picture.pixelColor(549, y), QColor(Qt::white));
            for (int x = 533; x < 549; ++x)
                drawn = drawn || picture.pixelColor(x, y) != Qt::white;
        }
        QVERIFY2(drawn, qPrintable(QString::number(top)));
    }
    // Panel_graph: a raised bevel of 3, a flat border of 5, a lowered bevel of 3, the picture.
    const QColor flat = panel.pixelColor(3, 60);
    QVERIFY(flat != QColor(255, 255, 255) && flat != QColor(128, 128, 128));
    for (int x = 0; x < 12; ++x)
        QCOMPARE(panel.pixelColor(x, 60), x < 3    ? QColor(255, 255, 255)
                                          : x < 8  ? flat
                                          : x < 11 ? QColor(128, 128, 128)
                                                   : QColor(Qt::white));
    QVERIFY(test.messages().shown.empty());
}

// The recorder answers the first question Cancel: the graph stays and so does the history. The
// second time it answers OK: the entry stays with no attempts and the window closes.
void MenuWindowTest::graphEraseAsksThenClearsAndCloses() {
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
    QCOMPARE(test.messages().questions, std::vector<Message>{question});
    QCOMPARE(test.readFile("score.dat"), before);

    test.messages().answers = {true};
    ModalDriver confirmed([&](QWidget* modal) { TestApplication::click(modal, "Button_delete"); });
    test.press("Panel_le4", Qt::RightButton);
    QVERIFY(confirmed.ran());
    QVERIFY(!test.app().graph().isVisible());
    QCOMPARE(test.readFile("score.dat"), QByteArray("\x00\x07lesson4\x00", 10));
    QCOMPARE(test.messages().shownTexts(),
             std::vector<std::string>{"グラフデータを消去しました。"});
}

QTEST_MAIN(MenuWindowTest)
#include "menu_window_test.moc"
