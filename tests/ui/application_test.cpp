// The program as main starts it: the flow between its windows, the files a run leaves behind
// and the menu's ways out.
#include "drill/drill_window.h"
#include "history/result_window.h"
#include "kana/kana_course_window.h"
#include "kana/kana_drill_window.h"
#include "kana/kana_heat_board_widget.h"
#include "kana/kana_layout.h"
#include "kana/kana_text.h"
#include "menu/menu_window.h"
#include "platform/desktop_data_dir.h"
#include "support/other_connection.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"
#include "widgets/bevel_panel_widget.h"

#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

QString captionOf(QWidget* window, const char* panel) {
    return window->findChild<BevelPanel*>(QString::fromLatin1(panel))->caption();
}

// The controls of `window` a screen reader reaches but could not name: every visible node of
// its accessibility tree needs a name, except a container (its children speak), a rule or
// border, and a text that shows nothing at the moment.
QStringList unnamedControls(QWidget* window) {
    QStringList unnamed;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            if (child == nullptr || child->state().invisible) continue;
            const QAccessible::Role role = child->role();
            const bool container = child->childCount() > 0 &&
                                   (role == QAccessible::Client || role == QAccessible::Grouping);
            const bool blank =
                role == QAccessible::StaticText && child->text(QAccessible::Name).isEmpty();
            const bool rule = role == QAccessible::Border || role == QAccessible::Separator;
            if (!container && !blank && !rule && child->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << QStringLiteral("%1 (role %2)")
                               .arg(child->object()->objectName())
                               .arg(static_cast<int>(role));
            walk(child);
        }
    };
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (root->text(QAccessible::Name).isEmpty()) unnamed << QStringLiteral("the window");
    walk(root);
    return unnamed;
}

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void lessonRunsRetriesAndReturnsToMenu();
    void closingFromTheDrillRecordsNothing();
    void installedProgramKeepsFilesInThePrivateDataFolder();
    void aBusyStoreKeepsTheAttemptAndTheWindowsSaySo();
    void theAttemptIsDatedWhenTheRunEndedAndTheCloseGoesOn();
    void aKanaLessonIsTypedMappedAndShownOnTheCourse();
    void everyControlHasAnAccessibleName();
};

// A first run with two wrong keys retried, then a clean faster one whose result opens the graph
// and goes back to the menu: the result shows each run's figures and the one before, and both
// attempts are kept.
void ApplicationTest::lessonRunsRetriesAndReturnsToMenu() {
    TestApplication test;
    QVERIFY(test.showMenu());
    MenuWindow& menu = test.app().menu();
    DrillWindow& drill = test.app().drill();
    // The program's pictures, drawn at the screen's resolution (32 x 32 pixels are 64 x 64 at
    // a ratio of 2), and the toolkit's buttons in Japanese.
    QCOMPARE(
        QApplication::windowIcon().availableSizes(),
        (QList<QSize>{
            {16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    const QIcon close = menu.findChild<QPushButton*>("BitBtn_close")->icon();
    QCOMPARE(close.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
    QImage arrows[3];
    for (const Trend trend : {Trend::Up, Trend::Down, Trend::Even}) {
        const QPixmap arrow = ResultWindow::arrowPicture(trend, 2.0);
        QCOMPARE(arrow.size(), QSize(64, 64));
        QCOMPARE(arrow.deviceIndependentSize(), QSizeF(32, 32));
        arrows[static_cast<int>(trend) % 3] = arrow.toImage();
    }
    QVERIFY(arrows[0] != arrows[1] && arrows[1] != arrows[2] && arrows[0] != arrows[2]);
    QMessageBox box(QMessageBox::Information, {}, {}, QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));

    test.press("Panel_le1");
    QCOMPARE(drill.windowTitle(), QStringLiteral("ケストラムLite   lesson1"));
    QStringList shown;
    ModalDriver firstResult([&](QWidget* modal) {
        shown << captionOf(modal, "Panel_speed") << captionOf(modal, "Panel_accuracy")
              << captionOf(modal, "Panel_pre_speed");
        TestApplication::click(modal, "Button_retry");
    });
    const RunFigures first = test.typeRun(300, 2, [&] { return firstResult.ran(); });
    QVERIFY(drill.isVisible());
    QCOMPARE(drill.engine().view().lbl_sample, std::string("Press any key to start!!"));

    QString graphTitle;
    QImage accuracyArrow;
    bool backStaysDefault = false;
    ModalDriver secondResult([&](QWidget* modal) {
        shown << captionOf(modal, "Panel_speed") << captionOf(modal, "Panel_pre_speed");
        accuracyArrow =
            modal->findChild<QLabel*>(QStringLiteral("Image_accuracy"))->pixmap().toImage();
        ModalDriver graph(
            [&](QWidget* graphModal) {
                graphTitle = graphModal->windowTitle();
                TestApplication::click(graphModal, "BitBtn_ok");
            },
            modal);
        QCOMPARE(modal->focusWidget()->objectName(), QStringLiteral("Button_show_graph"));
        QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
        QVERIFY(graph.ran());
        // The default button follows the keyboard and stays where it was while another window
        // has the focus.
        const bool active = QTest::qWaitFor([&] { return modal->isActiveWindow(); }, 2000);
        QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
        QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
        auto* back = modal->findChild<QPushButton*>(QStringLiteral("Button_go_menu"));
        QDialog cover(modal);  // as a message box covers it
        cover.setModal(true);
        cover.show();
        const bool covered = QTest::qWaitFor([&] { return cover.isActiveWindow(); }, 2000);
        backStaysDefault = active && covered && back->isDefault();
        cover.close();
        TestApplication::click(modal, "Button_go_menu");
    });
    const RunFigures second = test.typeRun(200, 0, [&] { return secondResult.ran(); });
    QCOMPARE(shown,
             (QStringList{QStringLiteral("%1字/分").arg(first.speed()),
                          QStringLiteral("%1%").arg(first.accuracy()), QStringLiteral("(-----)"),
                          QStringLiteral("%1字/分").arg(second.speed()),
                          QStringLiteral("%1字/分").arg(first.speed())}));
    QCOMPARE(accuracyArrow, ResultWindow::arrowPicture(Trend::Up).toImage());
    QCOMPARE(graphTitle, QStringLiteral("グラフ   lesson1"));
    QVERIFY(backStaysDefault);
    QVERIFY(menu.isVisible());
    QVERIFY(!drill.isVisible());

    QCOMPARE(test.readFile("score.dat").left(10), QByteArray("\x00\x07lesson1\x02", 10));
    QVERIFY(test.messages().shown.empty());
}

// The drill's close box closes the hidden menu too, which saves the settings unchanged and
// records no run.
void ApplicationTest::closingFromTheDrillRecordsNothing() {
    const QByteArray ini = "0,1,2,0,1,50,0\r\nsample\r\n";
    TestApplication test(ini);
    QVERIFY(test.showMenu());
    test.press("Panel_le2");
    DrillWindow& drill = test.app().drill();
    QTest::keyClick(drill.focusWidget(), ' ');
    QTest::keyClick(drill.focusWidget(), drill.engine().state().target.at(0));
    drill.close();
    QVERIFY(!test.app().menu().isVisible());
    QCOMPARE(test.readFile("kestruml.ini"), ini);
    QVERIFY(test.readFile("score.dat").isEmpty());
}

// An installed program (the marker beside it) keeps its files under $HOME even where it could
// write its own folder, making the missing folders for its owner only and taking along the files
// a learner left beside it; a data folder that cannot be made is named in the start-up message.
void ApplicationTest::installedProgramKeepsFilesInThePrivateDataFolder() {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString(), program = root / "lib";
    std::filesystem::create_directories(program / "tdcs");
    std::filesystem::create_directory(root / "home");
    for (const char* name : {"tdcs/sample.tdc", "score.dat", "kestrum-lite.installed"})
        std::ofstream(program / name) << name;
    const QByteArray savedHome = qgetenv("HOME"), savedXdg = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QByteArray::fromStdString((root / "home").string()));
    qunsetenv("XDG_DATA_HOME");

    const ProgramDirResult installed = chooseDataDir({program.string(), std::nullopt});
    const std::filesystem::path data = root / "home/.local/share/kestrum-lite";
    QCOMPARE(installed.dir, data.string());
    QVERIFY(!installed.message);
    for (const char* made : {".local", ".local/share", ".local/share/kestrum-lite"})
        QCOMPARE(std::filesystem::status(root / "home" / made).permissions(),
                 std::filesystem::perms::owner_all);
    QVERIFY(std::filesystem::exists(data / "tdcs/sample.tdc") &&
            std::filesystem::exists(data / "score.dat") &&
            !std::filesystem::exists(data / "kestrum-lite.installed"));

    qputenv("HOME", QByteArray::fromStdString((program / "score.dat").string()));
    const ProgramDirResult unmade = chooseDataDir({program.string(), std::nullopt});
    QCOMPARE(unmade.dir, (program / "score.dat/.local/share/kestrum-lite").string());
    QVERIFY(unmade.message && unmade.message->text.find(unmade.dir) != std::string::npos);
    qputenv("HOME", savedHome);
    if (!savedXdg.isNull()) qputenv("XDG_DATA_HOME", savedXdg);
}

// Another program holds the store through a run: the result's heat map shows this attempt's
// misses and offers no lesson totals it cannot read, the store says once that it is busy, and the
// attempt waits until the weak-key drill, asked for from the menu, finds the file free and
// builds on it.
void ApplicationTest::aBusyStoreKeepsTheAttemptAndTheWindowsSaySo() {
    TestApplication test;
    const std::filesystem::path store = test.path(QStringLiteral("kestrum.sqlite3")).toStdString();
    auto lock = std::make_unique<OtherConnection>(store);
    lock->run({QStringLiteral("BEGIN EXCLUSIVE")});
    QVERIFY(test.showMenu());
    test.press("Panel_le1");
    QString worst;
    bool lessonOffered = true;
    ModalDriver result([&](QWidget* modal) {
        ModalDriver heatMap(
            [&](QWidget* dialog) {
                worst = dialog->findChild<QLabel*>(QStringLiteral("worstKeys"))->text();
                lessonOffered =
                    dialog->findChild<QRadioButton*>(QStringLiteral("wholeLesson"))->isEnabled();
                TestApplication::click(dialog, "Button_close");
            },
            modal);
        TestApplication::click(modal, "Button_weak_keys");
        QVERIFY(heatMap.ran());
        TestApplication::click(modal, "Button_go_menu");
    });
    test.typeRun(250, 2, [&] { return result.ran(); });
    QVERIFY(worst.startsWith(QStringLiteral("ミスの多いキー")));
    QVERIFY(!lessonOffered);
    QCOMPARE(test.messages().shown.size(), std::size_t{1});
    QVERIFY(test.messages().shownTexts()[0].find("ほかのプログラムが使用中です") !=
            std::string::npos);

    lock.reset();
    QTRY_VERIFY(test.app().menu().isVisible());
    test.press("Button_weak_keys");
    QVERIFY(test.app().drill().windowTitle().endsWith(QStringLiteral("苦手キー練習")));
    QCOMPARE(test.messages().shown.size(), std::size_t{1});
    QCOMPARE(OtherConnection(store).run({QStringLiteral("SELECT lesson FROM attempts")}),
             QStringList{QStringLiteral("lesson1")});
    QCOMPARE(test.readFile("score.dat").left(10), QByteArray("\x00\x07lesson1\x01", 10));
}

// A kana lesson typed by scan codes from the course, one key wrong: a key that is no kana key
// does nothing, a kana turns red as its key is struck, the result's heat map is the kana
// keyboard with the key missed listed by its kana, and the course shows the attempt. A screen
// reader finds a name for every control of the course and the drill, whose keyboard says the
// key that comes next.
void ApplicationTest::aKanaLessonIsTypedMappedAndShownOnTheCourse() {
    TestApplication test;
    QVERIFY(test.showMenu());
    KanaCourseWindow& course = test.app().kanaCourse();
    course.showCourse();
    QCOMPARE(unnamedControls(&course), QStringList{});
    auto* figures = course.findChild<QLabel*>(QStringLiteral("figures_kana1"));
    QCOMPARE(figures->text(), QStringLiteral("まだ記録がありません"));
    course.startLesson(0);
    KanaDrillWindow& drill = *course.drill();
    QVERIFY(drill.isVisible() && !course.isVisible());
    QCOMPARE(unnamedControls(&drill), QStringList{});
    const KeyPosition ha{2, 3};
    QString boardClass, worst, speed, accuracy;
    ModalDriver result([&](QWidget* modal) {
        speed = captionOf(modal, "Panel_speed");
        accuracy = captionOf(modal, "Panel_accuracy");
        ModalDriver heatMap(
            [&](QWidget* dialog) {
                boardClass =
                    QString::fromLatin1(dialog->findChild<HeatBoard*>()->metaObject()->className());
                worst = dialog->findChild<QLabel*>(QStringLiteral("worstKeys"))->text();
                TestApplication::click(dialog, "Button_close");
            },
            modal);
        TestApplication::click(modal, "Button_weak_keys");
        QVERIFY(heatMap.ran());
        TestApplication::click(modal, "Button_go_menu");
    });
    QTest::keyClick(&drill, Qt::Key_Escape);
    QVERIFY(!drill.drill().running());
    const auto row = [&] { return drill.findChild<QLabel*>(QStringLiteral("lbl_kana"))->text(); };
    TestApplication::pressKey(&drill, {2, 0});  // the start key
    QCOMPARE(row(), QStringLiteral("ははまま　ははまま　はまはま　はまはま"));
    QCOMPARE(QAccessible::queryAccessibleInterface(drill.findChild<QWidget*>("pnl_key"))
                 ->text(QAccessible::Description),
             QStringLiteral("次のキー: は、左手の人差し指。"));  // は is the F key's kana
    TestApplication::pressKey(&drill, ha);
    QVERIFY(row().startsWith(QStringLiteral("<span style=\"color:#ff0000\">は</span>は")));
    TestApplication::pressKey(&drill, {0, 0});  // ぬ, where the second は is due
    int haKeys = 2;                             // keys counted under は
    while (drill.drill().running()) {
        for (const KanaCell& cell : drill.drill().view().cells) {
            if (cell.typed) continue;
            const auto strokes = strokesOf(toUtf32(cell.kana).front());
            for (const KanaStroke& stroke : strokes.value()) {
                TestApplication::pressKey(&drill, stroke.position, stroke.shift);
                haKeys += stroke.position == ha ? 1 : 0;
            }
        }
        test.clock().advance(kPauseMs);
        QTest::qWait(200);
    }
    QTRY_VERIFY(result.ran());
    QCOMPARE(boardClass, QStringLiteral("kestrum::KanaHeatBoard"));
    QCOMPARE(worst, QStringLiteral("ミスの多いキー\n\nは   打鍵 %1回・ミス 1回（%2%）")
                        .arg(haKeys)
                        .arg(100.0 / haKeys, 0, 'f', 1));
    QTRY_VERIFY(course.isVisible());
    QCOMPARE(figures->text(), QStringLiteral("前回 %1  正解率 %2").arg(speed, accuracy));

    // The progress window lists the lesson by the course's own title.
    TestApplication::click(&course, "Button_kana_menu");
    QStringList lessons;
    ModalDriver progress([&](QWidget* dialog) {
        const auto* list = dialog->findChild<QComboBox*>(QStringLiteral("lesson"));
        for (int i = 0; i < list->count(); ++i)
            lessons << list->itemText(i);
        dialog->close();
    });
    TestApplication::click(&test.app().menu(), "Button_progress");
    QVERIFY(progress.ran());
    QCOMPARE(lessons, (QStringList{QStringLiteral("すべてのレッスン"),
                                   QStringLiteral("かな入力: ホームポジション")}));
}

// A message left open after the run (here the history cannot be written) does not move the
// attempt's date: it started when its first key was judged. A settings file that cannot be
// written has no say, and the close is not stopped.
void ApplicationTest::theAttemptIsDatedWhenTheRunEndedAndTheCloseGoesOn() {
    TestApplication test;
    for (const char* name : {"score.dat", "kestruml.ini"})
        QVERIFY(QDir(test.path({})).mkdir(QString::fromLatin1(name)));
    test.clock().utcMs = 1796169540000;  // 2026-12-01 23:59:00 UTC at tick 0
    test.messages().onShow = [&] { test.clock().utcMs += 3 * 3600 * 1000; };
    QVERIFY(test.showMenu());
    test.press("Panel_le2");
    ModalDriver result([](QWidget* modal) { TestApplication::click(modal, "Button_go_menu"); });
    test.typeRun(200, 0, [&] { return result.ran(); });
    QVERIFY(!test.messages().shown.empty());
    // The first judged key comes at tick 1000.
    const std::filesystem::path store = test.path(QStringLiteral("kestrum.sqlite3")).toStdString();
    QCOMPARE(OtherConnection(store).run({QStringLiteral("SELECT started_at FROM attempts")}),
             QStringList{QStringLiteral("2026-12-01T23:59:01Z")});
    const std::size_t shown = test.messages().shown.size();
    QSignalSpy closed(&test.app().menu(), &MenuWindow::closed);
    TestApplication::click(&test.app().menu(), "BitBtn_close");
    QCOMPARE(closed.count(), 1);
    QVERIFY(!test.app().menu().isVisible());
    QCOMPARE(test.messages().shown.size(), shown);
}

// A screen reader finds a name for every control of the menu, the drill window and the options
// dialog; the drawn keyboard says which key comes next (the kana course's: with its lesson).
void ApplicationTest::everyControlHasAnAccessibleName() {
    TestApplication test;
    QVERIFY(test.showMenu());
    MenuWindow& menu = test.app().menu();
    QCOMPARE(unnamedControls(&menu), QStringList{});
    QCOMPARE(QAccessible::queryAccessibleInterface(menu.findChild<QWidget*>("Panel_le1"))
                 ->text(QAccessible::Name),
             QStringLiteral("LESSON 1"));  // the access key's "&" is not said

    QStringList optionsUnnamed{QStringLiteral("not shown")};
    ModalDriver options([&](QWidget* dialog) {
        optionsUnnamed = unnamedControls(dialog);
        dialog->close();
    });
    TestApplication::click(&menu, "Button_option");
    QVERIFY(options.ran());
    QCOMPARE(optionsUnnamed, QStringList{});

    test.press("Panel_le1");
    DrillWindow& drill = test.app().drill();
    QTest::keyClick(drill.focusWidget(), ' ');  // the start key
    QCOMPARE(unnamedControls(&drill), QStringList{});
    const char first = static_cast<char>(std::toupper(drill.engine().state().target.at(0)));
    const QString keyboard =
        QAccessible::queryAccessibleInterface(drill.findChild<QWidget*>("pnl_key"))
            ->text(QAccessible::Description);
    QVERIFY2(keyboard.startsWith(QStringLiteral("次のキー: %1").arg(QLatin1Char(first))),
             qPrintable(keyboard));
    QVERIFY2(keyboard.contains(QStringLiteral("指")), qPrintable(keyboard));
}

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
