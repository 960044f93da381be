#include "progress/weak_key_drill.h"

#include "keyboard/keyboard_model.h"
#include "progress/weak_keys.h"

#include <array>
#include <numeric>
#include <string>

namespace kestrum {

namespace {

constexpr std::size_t kDrillSteps = 15;
constexpr std::size_t kPatternLength = 8;

// The home-position key of each finger, by hand and finger (thumbs have none).
constexpr std::array<std::array<char, 4>, 2> kHomeKeys{
    {{'f', 'd', 's', 'a'}, {'j', 'k', 'l', ';'}}};
constexpr std::array<const char*, 2> kHandNames{"左手", "右手"};

struct Pair {
    char weak;
    char partner;
    Finger finger;
};

Pair pairFor(const KeyboardModel& model, char weak) {
    const Finger finger = model.key_finger(model.keyOf(static_cast<unsigned char>(weak)));
    const auto f = static_cast<std::size_t>(std::min(finger.finger, 3));
    const auto hand = static_cast<std::size_t>(finger.hand);
    char partner = kHomeKeys[hand][f];
    if (partner == weak) partner = kHomeKeys[1 - hand][f];
    return {weak, partner, finger};
}

Bytes repeatTo(const std::string& unit, std::size_t length) {
    Bytes word;
    while (word.size() < length)
        word += unit;
    return word.substr(0, length);
}

}  // namespace

Bytes weakKeyDrillName() {
    return utf8ToCp932("苦手キー練習");
}

WeakKeyDrill buildWeakKeyDrill(const std::vector<KeyTally>& recentTotals, StoreHealth health) {
    if (health == StoreHealth::CannotRead) {
        return {std::nullopt,
                {infoMessage("成績の記録ファイルを今は読めないため、苦手なキーを選べません。"
                             "しばらくしてから、もう一度選んでください。")}};
    }
    const std::vector<WeakKey> weak = chooseWeakKeys(recentTotals);
    if (weak.empty()) {
        const char* why = enoughToJudge(recentTotals)
                              ? "最近の練習では、間違えたキーがありません。"
                                "苦手キー練習は、間違えたキーが出てきてから使えます。"
                          : health == StoreHealth::Waits
                              ? "苦手なキーを選ぶには、まだ記録が足りません。ただ、成績の記録"
                                "ファイルに今は書き込めないため、練習の記録はプログラムを閉じると"
                                "残りません。"
                              : "苦手なキーを選ぶには、まだ記録が足りません。"
                                "ほかのレッスンを何回か練習してから選んでください。";
        return {std::nullopt, {infoMessage(why)}};
    }

    KeyboardModel model;
    model.arrange();
    lesson record;
    record.name = weakKeyDrillName();
    record.kind = 0;
    std::string mixed;
    for (const WeakKey& key : weak) {
        const Pair pair = pairFor(model, key.key);
        const std::string w(1, pair.weak), p(1, pair.partner);
        for (const Bytes& word : {repeatTo(p + p + w + w, kPatternLength),
                                  repeatTo(p + w, kPatternLength), w + w + w + w + p + p + p + p})
            record.words.push_back(word);
        const auto comment = std::string("「") + pair.weak + "」は" +
                             kHandNames[static_cast<std::size_t>(pair.finger.hand)] + "の" +
                             model.fingerCaption(pair.finger);
        record.comments.push_back(utf8ToCp932(comment));
        record.comment_index.insert(record.comment_index.end(), 3,
                                    static_cast<std::int32_t>(record.comments.size() - 1));
        mixed += w + p;
    }
    if (weak.size() > 1) {
        record.words.push_back(repeatTo(mixed, kPatternLength * 2));
        record.comments.push_back(utf8ToCp932("苦手キーのまとめ"));
        record.comment_index.push_back(static_cast<std::int32_t>(record.comments.size() - 1));
    }

    record.program.resize(record.words.size());
    std::iota(record.program.begin(), record.program.end(), 0);
    record.program.resize(kDrillSteps, -1);
    countLessonParts(record);
    return {std::move(record), {}};
}

}  // namespace kestrum
