// The problem-set window driven with keys: what it shows after a refusal or a discard, what Return
// and Tab do, text an input method types, and a set's history following its name.
#include "problem_sets/problem_set_window.h"
#include "problem_sets/elided_label_widget.h"
#include "progress/attempt_store.h"
#include "ui/support/test_application.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

// The window shown on the sets "a" and "b" (title "file a", one item), with "a" open.
struct OpenWindow {
    OpenWindow() {
        QDir(test.path({})).mkdir(QStringLiteral("tdcs"));
        for (const QByteArray name : {"a", "b"})
            test.writeFile("tdcs/" + name + ".tdc", "Title=file " + name + "\r\nText[1]=fj\r\n");
        window.show();
        get<QTableWidget>("setList")->selectRow(0);
    }
    template <typename Widget>
    Widget* get(const char* name) {
        return window.findChild<Widget*>(QString::fromLatin1(name));
    }
    bool marked() { return get<ElidedLabel>("editingLabel")->fullText().contains("未保存"); }
    void typeTitle() { QTest::keyClicks(get<QLineEdit>("titleEdit"), " edited"); }

    TestApplication test;
    ProblemSetWindow& window = test.app().problemSets();
};

}  // namespace

class ProblemSetWindowTest : public QObject {
    Q_OBJECT

private slots:
    void editsAreKeptOrTheFileShown_data();
    void editsAreKeptOrTheFileShown();
    void returnPressesNothingAndTabLeavesTheTable();
    void historyFollowsARename();
    void inputMethodTextAndALongName();
};

void ProblemSetWindowTest::editsAreKeptOrTheFileShown_data() {
    QTest::addColumn<QString>("button");  // empty: Escape
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("discard");
    QTest::addColumn<QString>("title");
    QTest::newRow("Escape, discard, reopen") << ""
                                             << "" << true << "file a";
    QTest::newRow("Escape, keep") << ""
                                  << "" << false << "file a edited";
    QTest::newRow("new, name taken") << "newButton"
                                     << "b" << true << "file a edited";
    QTest::newRow("copy, name taken") << "copyButton"
                                      << "b" << true << "file a edited";
    QTest::newRow("rename, name taken") << "renameButton"
                                        << "b" << true << "file a edited";
    QTest::newRow("new, not discarded") << "newButton"
                                        << "c" << false << "file a edited";
}

void ProblemSetWindowTest::editsAreKeptOrTheFileShown() {
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(bool, discard);
    QFETCH(QString, title);
    OpenWindow open;
    open.typeTitle();
    open.get<QLineEdit>("nameEdit")->setText(name);
    open.test.messages().answers = {discard};
    if (button.isEmpty()) {
        QTest::keyClick(open.get<QLineEdit>("titleEdit"), Qt::Key_Escape);
        open.window.show();
    } else {
        TestApplication::click(&open.window, button.toLatin1().constData());
    }
    QCOMPARE(open.get<QLineEdit>("titleEdit")->text(), title);
    QCOMPARE(open.marked(), title.endsWith("edited"));
    QVERIFY(!QFile::exists(open.test.path("tdcs/c.tdc")));
    QCOMPARE(open.test.readFile("tdcs/a.tdc"), QByteArray("Title=file a\r\nText[1]=fj\r\n"));
}

// Return in a field confirms it and presses no button, though the name field holds a new name.
// Tab leaves the item table, from a cell or from its editor; the arrows move between cells.
void ProblemSetWindowTest::returnPressesNothingAndTabLeavesTheTable() {
    OpenWindow open;
    QVERIFY(QTest::qWaitForWindowActive(&open.window));
    open.get<QLineEdit>("nameEdit")->setText("c");
    auto* table = open.get<QTableWidget>("itemTable");
    for (const char* field : {"nameEdit", "titleEdit", "setList", "itemTable"}) {
        QWidget* widget = open.get<QWidget>(field);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Return);
        QVERIFY2(open.window.isVisible() && open.test.messages().shown.empty(), field);
    }
    QVERIFY(!QFile::exists(open.test.path("tdcs/c.tdc")));
    QVERIFY(!open.marked());

    table->setCurrentCell(0, 0);
    QTest::keyClick(table, Qt::Key_Right);
    QCOMPARE(table->currentColumn(), 1);
    QTest::keyClick(table, Qt::Key_Left);
    QTest::keyClick(table, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), "jf");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("jf"));
    QCOMPARE(QApplication::focusWidget(), open.get<QWidget>("addRowButton"));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), open.get<QWidget>("addRowButton"));
}

// Renaming "a" to a name a deleted set left history under asks first; the old history is then
// replaced in score.dat and the attempt store. Deleting keeps the history unless asked.
void ProblemSetWindowTest::historyFollowsARename() {
    OpenWindow open;
    ScoreFile& scores = open.test.app().context().scores;
    for (const auto& [name, speed] : {std::pair{"a", 120}, std::pair{"old", 50}}) {
        QCOMPARE(scores.AppendScore({1, 0, name, speed, 90}).result, 1);
        Attempt attempt;
        attempt.started_at = "2026-12-06T10:00:00Z";
        attempt.kind = 1;
        attempt.lesson = name;
        attempt.speed = speed;
        QVERIFY(
            AttemptStore(AttemptStore::fileIn(open.test.path({}).toStdString())).record(attempt));
    }
    open.get<QLineEdit>("nameEdit")->setText("old");
    for (const bool replace : {false, true}) {
        open.test.messages().answers = {replace};
        TestApplication::click(&open.window, "renameButton");
        QCOMPARE(QFile::exists(open.test.path("tdcs/old.tdc")), replace);
    }
    QCOMPARE(open.test.messages().questions.size(), std::size_t{2});
    QCOMPARE(scores.ReadScores({1, 0, "a", 0, 0}).result, 0);
    QCOMPARE(scores.ReadScores({1, 0, "old", 0, 0}).speeds[0], 120);
    AttemptStore store(AttemptStore::fileIn(open.test.path({}).toStdString()));
    const std::vector<Attempt> attempts = store.attempts();
    QVERIFY(attempts.size() == 1 && attempts[0].lesson == "old" && attempts[0].speed == 120);

    open.test.messages().answers = {true};  // delete, then the default: keep the history
    TestApplication::click(&open.window, "deleteButton");
    QVERIFY(!QFile::exists(open.test.path("tdcs/old.tdc")));
    QCOMPARE(scores.ReadScores({1, 0, "old", 0, 0}).count, 1);
    QCOMPARE(store.attempts().size(), std::size_t{1});
}

// The wave dash typed as U+301C is saved as 0x81 0x60. A 48-character Japanese name makes a set
// the menu can choose without a message, once kestruml.ini can be written, and never widens the
// window. A comment alone at fault is the cell marked.
void ProblemSetWindowTest::inputMethodTextAndALongName() {
    OpenWindow open;
    const int width = open.window.width();
    const QString name = QStringLiteral("練習").repeated(24);
    open.get<QLineEdit>("nameEdit")->setText(name);
    TestApplication::click(&open.window, "newButton");
    TestApplication::click(&open.window, "addRowButton");
    auto* table = open.get<QTableWidget>("itemTable");
    table->item(0, 0)->setText("fj");
    table->item(0, 1)->setText(QString::fromUtf8("\xF0\x9F\x98\x80"));
    QCOMPARE(table->item(0, 1)->background().color(), QColor(255, 210, 210));
    QCOMPARE(table->item(0, 0)->background().style(), Qt::NoBrush);
    QVERIFY(table->item(0, 2)->toolTip().startsWith(table->item(0, 2)->text()));
    table->item(0, 1)->setText(QStringLiteral("9時〜17時"));
    TestApplication::click(&open.window, "saveButton");
    QVERIFY(open.test.readFile("tdcs/" + name + ".tdc")
                .contains("Comment[1]=9\x8E\x9E\x81\x60"
                          "17\x8E\x9E\r\n"));

    QDir(open.test.path({})).mkdir("kestruml.ini");
    TestApplication::click(&open.window, "chooseButton");
    QCOMPARE(open.test.messages().shown.size(), std::size_t{1});
    QCOMPARE(open.get<ElidedLabel>("currentLabel")->fullText(), "練習する問題集: （なし）");
    QDir(open.test.path({})).rmdir("kestruml.ini");
    TestApplication::click(&open.window, "chooseButton");
    QCOMPARE(open.test.messages().shown.size(), std::size_t{1});
    QCOMPARE(fromCp932(open.test.app().context().settings.problem_set_name), name);
    QCOMPARE(open.window.width(), width);
}

QTEST_MAIN(ProblemSetWindowTest)
#include "problem_set_window_test.moc"
