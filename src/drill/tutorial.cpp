#include "drill/tutorial.h"

#include "drill/drill_host.h"
#include "keyboard/key_guide.h"

#include <array>
#include <cstddef>

namespace kestrum {

namespace {

// The blanks push the prompt to the right-hand side of the message panel.
constexpr std::string_view kContinue = "                            (スペースキーで次へ進む)";

// The last page's way back for a learner without a mouse.
constexpr std::string_view kKeyboardWayBack = "(Tabキーを押してからEnterキーでも戻れます)";

constexpr Tutorial::PageLines kIntroduction{"このLESSONでは、",
                                            "ホームポジションについて説明します。", "", kContinue};

// clang-format off
constexpr std::array<Tutorial::PageLines, Tutorial::kShownPages + 1> kExplanationPages{{
    {"キーボードを見ないで打つには、指を常に", "キーボードの同じ位置に置く必要があります。", "この位置をホームポジションといいます。", kContinue},
    {"画面のキーボードの点滅しているキーが", "ホームポジションです。", "", kContinue},
    {"左手の人差し指は「F」に、", "右手の人差し指は「J」に置きます。", "", kContinue},
    {"他の指は「F」と「J」を基準にして、", "１つずつ、ずらして置きます。", "", kContinue},
    {"つまり左手は、小指を「Ａ」、薬指を「Ｓ」、", "中指を「Ｄ」、人差し指を「Ｆ」に置きます。", "", kContinue},
    {"同じように右手は、人差し指を「Ｊ」、中指を「Ｋ」、", "薬指を「Ｌ」、小指を「；」に置きます。", "", kContinue},
    {"普通「F」と「J」のキーには、", "突起のようなものがついているので、手元を見ずに", "手探りでホームポジションを探すことができます。", kContinue},
    {"ホームポジション以外のキーは、", "色分けしてある通りに、", "ホームポジションから、指を伸ばしてタイプします。", kContinue},
    {"例えば、「1」、「Q」、「A」、「Z」は、", "左手の小指でタイプします。", "", kContinue},
    {"またキーを打ったあとは、", "常にホームポジションに指を戻すようにします。", "", kContinue},
    {"ホームポジション以外のキーを打つとき、", "他の指をホームポジションに保てば", "打った後、素早くホームポジションに戻せます。", kContinue},
    {"しかし、キーを打つ指以外全てを", "ホームポジションに保つ必要はありません。", "", kContinue},
    {"例えば、「B」を打つとき、", "人差し指だけ動かそうとすると", "指が裂けそうになります。", kContinue},
    {"このときは、小指だけホームポジションに", "保っておけば、小指を基準にして", "ホームポジションに戻すことができます。", kContinue},
    {"キーがわからなくなっても、", "手元を見ずに、画面のキーボードを見て", "手探りで、キーを探して下さい。", kContinue},
    {"このLESSONは、これで終了です。", "画面右下の「メニューに戻る」ボタンをクリックして、", "LESSON 1から、練習を始めて下さい。", kKeyboardWayBack},
    {"", "", "", ""},
}};
// clang-format on

}  // namespace

void Tutorial::begin(DrillHost& host) {
    page_ = 0;
    lines_ = &introduction();
    host.startTimer(DrillTimer::timer_special, kSpecialIntervalMs);
}

void Tutorial::keyPress(unsigned char key) {
    if (key == ' ') ShowNextPage();
}

void Tutorial::ShowNextPage() {
    if (page_ >= kShownPages) return;
    lines_ = &explanationPage(page_);
    ++page_;
}

void Tutorial::blink(KeyGuide& guide) const {
    guide.blinkTick(page_);
}

const Tutorial::PageLines& Tutorial::introduction() {
    return kIntroduction;
}

const Tutorial::PageLines& Tutorial::explanationPage(int n) {
    if (n < 0 || n > kShownPages) return kExplanationPages.back();
    return kExplanationPages[static_cast<std::size_t>(n)];
}

}  // namespace kestrum
