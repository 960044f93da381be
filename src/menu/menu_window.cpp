#include "menu/menu_window.h"

#include "drill/lesson_catalogue.h"
#include "menu/menu_caption.h"
#include "menu/own_options_file.h"
#include "menu/settings_file.h"
#include "platform/text.h"
#include "widgets/app_context.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/glyph_icon.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <array>
#include <string>

namespace kestrum {

namespace {

constexpr int kClientWidth = 555;
const QString kPanelHint = QStringLiteral("左クリックでレッスン開始、右クリックでグラフ表示");
constexpr int kOuterHeight = 452;  // leaves the shortcut buttons at y 432 out of sight
constexpr int kRowPitch = 40;
constexpr int kShortcutTop = 432;

const QColor kBackground(255, 255, 219);
const QColor kLessonBase(182, 255, 182);

// Lesson 0 is white, lesson 1 the lightest green; 2..6 lighten the base colour less and less.
QColor lessonColour(int lessonNo) {
    if (lessonNo == 0) return Qt::white;
    if (lessonNo == 1) return {241, 255, 241};
    const int lighten = 14 * (6 - lessonNo);
    return {kLessonBase.red() + lighten, kLessonBase.green(), kLessonBase.blue() + lighten};
}

void paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLabel* label(QWidget* parent, int left, int top, const QString& text, const QFont& font) {
    auto* result = new QLabel(text, parent);
    result->setFont(font);
    result->move(left, top);
    result->adjustSize();
    return result;
}

// A one-pixel underline of a row title.
void line(QWidget* parent, int left, int top, int length, const QColor& colour) {
    auto* shape = new QFrame(parent);  // a frame, so that a screen reader skips it as a rule
    shape->setGeometry(left, top, length, 1);
    shape->setAutoFillBackground(true);
    paint(shape, QPalette::Window, colour);
}

BevelPanel* panel(QWidget* parent, const QRect& geometry, const QColor& colour, const QFont& font,
                  const char* objectName) {
    auto* result = new BevelPanel(parent);
    result->setGeometry(geometry);
    result->setColor(colour);
    result->setFont(font);
    result->setObjectName(QString::fromLatin1(objectName));
    return result;
}

QPushButton* button(QWidget* parent, const QRect& geometry, const QString& caption, int pixelSize,
                    FontStyle style, const char* objectName) {
    auto* result = new QPushButton(caption, parent);
    result->setGeometry(geometry);
    result->setFont(pixelFont(FontFace::PGothic, pixelSize, style));
    result->setObjectName(QString::fromLatin1(objectName));
    return result;
}

}  // namespace

MenuWindow::MenuWindow(AppContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      Panel_title(panel(this, {120, 0, 305, 41}, QColor(236, 236, 236),
                        pixelFont(FontFace::PGothic, 29), "Panel_title")),
      Panel_tdc_file(panel(this, {24, 352, 169, 33}, QColor(40, 255, 255),
                           pixelFont(FontFace::PGothic, 21, FontStyle::Bold), "Panel_tdc_file")),
      Button_establish(button(this, {384, 352, 153, 33}, QStringLiteral("問題集設定(&D)"), 21,
                              FontStyle::Bold, "Button_establish")),
      Button_weak_keys(button(this, {24, 392, 97, 25}, QStringLiteral("苦手キー練習(&W)"), 12,
                              FontStyle::Regular, "Button_weak_keys")),
      Button_progress(button(this, {128, 392, 97, 25}, QStringLiteral("成績の推移(&P)"), 12,
                             FontStyle::Regular, "Button_progress")),
      Button_kana(button(this, {416, 264, 121, 33}, QStringLiteral("かな入力(&K)"), 19,
                         FontStyle::Bold, "Button_kana")),
      Button_version(button(this, {232, 392, 97, 25}, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"), 13,
                            FontStyle::Regular, "Button_version")),
      Button_option(button(this, {336, 392, 97, 25}, QStringLiteral("オプション(&O)"), 13,
                           FontStyle::Regular, "Button_option")),
      BitBtn_close(button(this, {440, 392, 97, 25}, QStringLiteral("閉じる(&C)"), 12,
                          FontStyle::Regular, "BitBtn_close")) {
    setFont(pixelFont(FontFace::PGothic, 12));
    setAutoFillBackground(true);
    paint(this, QPalette::Window, kBackground);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    fixAndCentre(*this, kClientWidth, kOuterHeight - kFrameExtraHeight, context_.screen.metrics());

    setWindowTitle(QApplication::applicationName());
    Panel_title->setCaption(QApplication::applicationName());
    Panel_title->setBevelWidth(3);
    Panel_title->setCaptionColor(QColor(0, 128, 128));

    setAccessibleDescription(
        QStringLiteral("レッスンを選んで練習を始めます。Alt キーと数字でも始まります。"));
    QLabel* hint =
        label(this, 40, 40, kPanelHint, pixelFont(FontFace::PGothic, 21, FontStyle::Bold));
    paint(hint, QPalette::WindowText, Qt::red);

    createLessonRows();
    createButtons();
    createShortcutButtons();

    LoadSettings(context_.settings, context_.files, context_.dataDir,
                 context_.screen.metrics().width);
    LoadOwnOptions(context_.settings, context_.files, context_.dataDir);
    const Bytes& name = context_.settings.problem_set_name;
    problemSetNameAtLoad_ = name;
    Panel_tdc_file->setCaption(name.empty() ? QStringLiteral("---") : fromCp932(name));
}

void MenuWindow::createLessonRows() {
    constexpr std::array<int, 7> kLineLengths{257, 201, 265, 265, 321, 193, 193};
    const QFont panelFont = pixelFont(FontFace::PGothic, 21, FontStyle::BoldItalic);
    const QFont titleFont = pixelFont(FontFace::PGothic, 19, FontStyle::Bold);
    for (int n = 0; n < 7; ++n) {
        const int top = 64 + kRowPitch * n;
        const std::string name = "Panel_le" + std::to_string(n);
        BevelPanel* lessonPanel =
            panel(this, {24, top, 169, 33}, lessonColour(n), panelFont, name.c_str());
        lessonPanel->setCaption(QStringLiteral("LESSON &") + QString::number(n));
        lessonPanel->setAccessibleDescription(QString::fromUtf8(lessonMenuTitle(n)) +
                                              QStringLiteral("。") + kPanelHint);
        connect(lessonPanel, &BevelPanel::pressed, this,
                [this, n](Qt::MouseButton pressed) { lessonPanelPressed(n, pressed); });

        label(this, 208, top + 8, QString::fromUtf8(lessonMenuTitle(n)), titleFont);
        line(this, 208, top + 32, kLineLengths[static_cast<std::size_t>(n)],
             n == 0 ? QColor(128, 128, 0) : kLessonBase);
    }

    connect(Panel_tdc_file, &BevelPanel::pressed, this, &MenuWindow::Panel_tdc_fileMouseDown);
    Panel_tdc_file->setAccessibleDescription(QStringLiteral("オリジナル問題集。") + kPanelHint);
    label(this, 208, 360, QStringLiteral("オリジナル問題集"),
          pixelFont(FontFace::PGothic, 21, FontStyle::Bold));
    line(this, 208, 384, 169, Qt::blue);
}

void MenuWindow::createButtons() {
    connect(Button_establish, &QPushButton::clicked, this, &MenuWindow::Button_establishClick);
    connect(Button_version, &QPushButton::clicked, this, &MenuWindow::versionRequested);
    connect(Button_weak_keys, &QPushButton::clicked, this, &MenuWindow::weakKeyDrillRequested);
    connect(Button_progress, &QPushButton::clicked, this, &MenuWindow::progressRequested);
    connect(Button_kana, &QPushButton::clicked, this, &MenuWindow::kanaCourseRequested);
    connect(Button_option, &QPushButton::clicked, this, &MenuWindow::optionsRequested);
    // Drawn, not looked up in the icon theme: the theme costs more than the rest of the menu's
    // set-up, and a drawn cross stays sharp at any scale.
    BitBtn_close->setIcon(glyphIcon(Glyph::Close));
    connect(BitBtn_close, &QPushButton::clicked, this, &QWidget::close);
}

// Buttons outside the visible client area whose only purpose is their Alt accelerator: the
// underlined digits of the lesson panels and the U of the problem-set panel.
void MenuWindow::createShortcutButtons() {
    struct Shortcut {
        const char* name;
        const char* caption;
        int left;
        int width;
    };
    constexpr std::array<Shortcut, 8> kShortcuts{{{"Button1", "dummy&0", 8, 57},
                                                  {"Button_1", "dummy&1", 72, 65},
                                                  {"Button_2", "dummy&2", 144, 65},
                                                  {"Button_3", "dummy&3", 216, 65},
                                                  {"Button_4", "dummy&4", 288, 57},
                                                  {"Button_5", "dummy&5", 352, 57},
                                                  {"Button_6", "dummy&6", 416, 57},
                                                  {"Button_u", "dummy&U", 480, 57}}};
    for (std::size_t i = 0; i < kShortcuts.size(); ++i) {
        const Shortcut& shortcut = kShortcuts[i];
        QPushButton* hidden =
            button(this, {shortcut.left, kShortcutTop, shortcut.width, 17},
                   QString::fromLatin1(shortcut.caption), 12, FontStyle::Regular, shortcut.name);
        hidden->setFocusPolicy(Qt::NoFocus);
        // Its caption is only there for the access key; a screen reader says what it does.
        hidden->setAccessibleName(i < 7 ? QStringLiteral("LESSON %1を始める (Alt+%1)").arg(i)
                                        : QStringLiteral("オリジナル問題集を始める (Alt+U)"));
        if (i < 7) {
            const int lessonNo = static_cast<int>(i);
            connect(hidden, &QPushButton::clicked, this,
                    [this, lessonNo] { emit lessonRequested(lessonNo); });
        } else {
            connect(hidden, &QPushButton::clicked, this,
                    [this] { Panel_tdc_fileMouseDown(Qt::LeftButton); });
        }
    }
}

void MenuWindow::lessonPanelPressed(int lessonNo, Qt::MouseButton button) {
    if (button == Qt::LeftButton) {
        emit lessonRequested(lessonNo);
    } else if (button == Qt::RightButton) {
        if (const std::optional<ScoreKey> key = lessonGraphKey(lessonNo)) emit graphRequested(*key);
    }
}

void MenuWindow::Panel_tdc_fileMouseDown(Qt::MouseButton button) {
    const Bytes& name = context_.settings.problem_set_name;
    if (name.empty()) {
        context_.messages.show(plainMessage("辞書が選択されていません"));
        return;
    }
    if (button == Qt::LeftButton) {
        ProblemSetLoad load =
            LoadProblemSet(problemSet_, context_.files, context_.dataDir, context_.settings);
        context_.messages.showAll(load.messages);
        if (!load.ok) return;
        context_.problemSetLesson = std::move(load.record);
        emit lessonRequested(kProblemSetLessonNo);
    } else if (button == Qt::RightButton) {
        emit graphRequested(scoreKeyFor(1, name));
    }
}

void MenuWindow::Button_establishClick() {
    emit problemSetsRequested();
}

void MenuWindow::problemSetChanged() {
    FormActivate();
}

void MenuWindow::FormActivate() {
    Panel_tdc_file->setCaption(fromCp932(problemSetCaption(context_.settings.problem_set_name)));
}

bool MenuWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(event);
}

// Every way of closing the menu ends the program, so the settings are saved here; a file that
// cannot be written does not hold the close up.
void MenuWindow::closeEvent(QCloseEvent* event) {
    SaveSettingsAtClose(context_.settings, problemSetNameAtLoad_, context_.files, context_.dataDir);
    SaveOwnOptions(context_.settings, context_.files, context_.dataDir);
    event->accept();
    emit closed();
}

}  // namespace kestrum
