#include "keyboard/options_dialog.h"

#include "widgets/app_context.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/glyph_icon.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace kestrum {

namespace {

constexpr int kItemLeft = 8;
constexpr int kItemTop = 16;
constexpr int kItemPitch = 22;
constexpr int kItemHeight = 17;
// The romaji check box adds one row under the two columns.
constexpr int kRomajiRowHeight = 22;

// Items reach to the group's right frame, so that widenToFit grows a group only by what even
// that width lacks.
int innerWidth(int groupWidth) {
    return groupWidth - kItemLeft - 2;
}

// A radio group: a framed caption over its items, one above the other; the item index is the
// button's id in the returned group.
QButtonGroup* radioGroup(QGroupBox* box, const QRect& geometry, const char* caption,
                         std::initializer_list<const char*> items) {
    box->setGeometry(geometry);
    box->setTitle(QString::fromUtf8(caption));
    auto* group = new QButtonGroup(box);
    int index = 0;
    for (const char* item : items) {
        auto* button = new QRadioButton(QString::fromUtf8(item), box);
        button->setGeometry(kItemLeft, kItemTop + index * kItemPitch, innerWidth(geometry.width()),
                            kItemHeight);
        group->addButton(button, index++);
    }
    return group;
}

void checkItem(QButtonGroup* group, int index) {
    if (QAbstractButton* button = group->button(index)) button->setChecked(true);
}

QPushButton* glyphButton(QWidget* parent, const QRect& geometry, const char* caption, Glyph glyph) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setGeometry(geometry);
    button->setIcon(glyphIcon(glyph));
    return button;
}

}  // namespace

OptionsDialog::OptionsDialog(AppContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      Panel1(new BevelPanel(this)),
      radio_guide(new QGroupBox(Panel1)),
      guideItems_(radioGroup(
          radio_guide, {16, 16, 161, 113}, "キーガイド",
          {"常に表示(&A)", "遅延を入れて表示(&D)", "間違えたときだけ表示(&E)", "表示しない(&N)"})),
      GroupBox1(new QGroupBox(QStringLiteral("キーボードサイズ"), Panel1)),
      sizeButtons_{new QRadioButton(QStringLiteral("小(&S)"), GroupBox1),
                   new QRadioButton(QStringLiteral("中    (800*600以上)(&M)"), GroupBox1),
                   new QRadioButton(QStringLiteral("大    (1024*768以上)(&L)"), GroupBox1),
                   new QRadioButton(QStringLiteral("特大 (1280*1024以上)(&K)"), GroupBox1)},
      radio_sound(new QGroupBox(Panel1)),
      soundItems_(radioGroup(radio_sound, {16, 136, 161, 89}, "効果音",
                             {"入力音とエラー音(&W)", "エラー音のみ(&O)", "なし(&X)"})),
      radio_letter_type(new QGroupBox(Panel1)),
      letterTypeItems_(
          radioGroup(radio_letter_type, {184, 136, 161, 89}, "表示",
                     {"そのまま表示(&P)", "すべて大文字で表示(&C)", "すべて小文字で表示(&B)"})),
      chk_distinct_shift(new QCheckBox(QStringLiteral("左右のシフトを区別する(&R)"), Panel1)),
      chk_distinct(new QCheckBox(QStringLiteral("大文字と小文字を区別する(&G)"), Panel1)),
      chk_romaji_spellings(
          new QCheckBox(QStringLiteral("ローマ字の別のつづりも正解にする(&Y)"), Panel1)),
      BitBtn1(glyphButton(this, {200, 272 + kRomajiRowHeight, 81, 33}, "OK", Glyph::Ok)),
      BitBtn2(
          glyphButton(this, {288, 272 + kRomajiRowHeight, 81, 33}, "キャンセル", Glyph::Cancel)) {
    setWindowTitle(QStringLiteral("オプション"));
    setFont(pixelFont(FontFace::PGothic, 12));
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);

    Panel1->setGeometry(8, 8, 361, 257 + kRomajiRowHeight);
    Panel1->setAccessibleName(QStringLiteral("設定"));
    Panel1->setColor(face.color(QPalette::Button));

    GroupBox1->setGeometry(184, 16, 161, 113);
    for (std::size_t i = 0; i < sizeButtons_.size(); ++i) {
        sizeButtons_[i]->setGeometry(kItemLeft, 16 + 24 * static_cast<int>(i),
                                     innerWidth(GroupBox1->width()), kItemHeight);
    }
    chk_distinct_shift->setGeometry(16, 232, 161, 17);
    chk_distinct->setGeometry(184, 232, 171, 17);
    chk_romaji_spellings->setGeometry(16, 232 + kRomajiRowHeight, 329, 17);

    radio_guide->setObjectName(QStringLiteral("radio_guide"));
    radio_sound->setObjectName(QStringLiteral("radio_sound"));
    radio_letter_type->setObjectName(QStringLiteral("radio_letter_type"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    chk_distinct->setObjectName(QStringLiteral("chk_distinct"));
    chk_distinct_shift->setObjectName(QStringLiteral("chk_distinct_shift"));
    chk_romaji_spellings->setObjectName(QStringLiteral("chk_romaji_spellings"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &OptionsDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    // Cancel first, then the panel's groups in the order the layout was designed to be walked.
    QList<QWidget*> order{BitBtn2};
    for (QButtonGroup* group : {letterTypeItems_, guideItems_}) {
        for (QAbstractButton* button : group->buttons())
            order.append(button);
    }
    order.append(chk_distinct_shift);
    for (QAbstractButton* button : soundItems_->buttons())
        order.append(button);
    order.append(chk_distinct);
    for (QRadioButton* button : sizeButtons_)
        order.append(button);
    order.append(chk_romaji_spellings);
    order.append(BitBtn1);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    fixAndCentre(*this, 377 + widenToFit(), 309 + kRomajiRowHeight, context_.screen.metrics());
}

// The installed Japanese faces and this toolkit's indicators run wider than the layout's own
// measures. Rather than cut a caption (and its access key), each column grows by what its widest
// caption lacks; the right column and the buttons move along. Returns the extra width.
int OptionsDialog::widenToFit() {
    const std::array<QWidget*, 3> left{radio_guide, radio_sound, chk_distinct_shift};
    const std::array<QWidget*, 3> right{GroupBox1, radio_letter_type, chk_distinct};
    const auto shortfall = [](const auto& column) {
        int missing = 0;
        for (QWidget* item : column) {
            QList<QAbstractButton*> captions = item->findChildren<QAbstractButton*>();
            if (auto* button = qobject_cast<QAbstractButton*>(item)) captions.append(button);
            for (QAbstractButton* caption : captions)
                missing = std::max(missing, caption->sizeHint().width() - caption->width());
        }
        return missing;
    };
    const auto widen = [](const auto& column, int extra, int shift) {
        for (QWidget* item : column) {
            item->setGeometry(item->x() + shift, item->y(), item->width() + extra, item->height());
            for (QAbstractButton* caption : item->findChildren<QAbstractButton*>())
                caption->resize(caption->width() + extra, caption->height());
        }
    };
    const int leftExtra = shortfall(left);
    const int rightExtra = shortfall(right);
    const int extra = leftExtra + rightExtra;
    if (extra == 0) return 0;
    widen(left, leftExtra, 0);
    widen(right, rightExtra, leftExtra);
    Panel1->resize(Panel1->width() + extra, Panel1->height());
    chk_romaji_spellings->resize(chk_romaji_spellings->width() + extra,
                                 chk_romaji_spellings->height());
    for (QPushButton* button : {BitBtn1, BitBtn2})
        button->move(button->x() + extra, button->y());
    return extra;
}

void OptionsDialog::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void OptionsDialog::FormShow() {
    const OptionsControls shown =
        OptionsLogic::FormShow(context_.settings, context_.screen.metrics().width);
    chk_distinct->setChecked(shown.chk_distinct);
    checkItem(letterTypeItems_, shown.radio_letter_type);
    checkItem(guideItems_, shown.radio_guide);
    chk_distinct_shift->setChecked(shown.chk_distinct_shift);
    checkItem(soundItems_, shown.radio_sound);
    chk_romaji_spellings->setChecked(shown.chk_romaji_spellings);
    for (std::size_t i = 0; i < sizeButtons_.size(); ++i) {
        sizeButtons_[i]->setEnabled(shown.sizes[i].enabled);
        if (shown.sizes[i].checked) sizeButtons_[i]->setChecked(true);
    }
    BitBtn2->setFocus();
}

OptionsControls OptionsDialog::controls() const {
    OptionsControls state;
    state.chk_distinct = chk_distinct->isChecked();
    state.radio_guide = guideItems_->checkedId();
    state.radio_letter_type = letterTypeItems_->checkedId();
    state.chk_distinct_shift = chk_distinct_shift->isChecked();
    state.radio_sound = soundItems_->checkedId();
    state.chk_romaji_spellings = chk_romaji_spellings->isChecked();
    for (std::size_t i = 0; i < sizeButtons_.size(); ++i) {
        state.sizes[i] = {sizeButtons_[i]->isEnabled(), sizeButtons_[i]->isChecked()};
    }
    return state;
}

void OptionsDialog::BitBtn1Click() {
    OptionsLogic::BitBtn1Click(controls(), context_.settings);
    accept();
}

}  // namespace kestrum
