#include "kana/kana_lessons.h"

#include "kana/kana_layout.h"
#include "kana/kana_text.h"

#include <algorithm>
#include <utility>

namespace kestrum {

namespace {

// Two kana practised together, written "aabb aabb abab abab" as the letter lessons of the romaji
// course pair their keys; the comment names the fingers.
struct KanaPair {
    char32_t first;
    char32_t second;
};

constexpr int kRandomSteps = 6;

std::u32string pairPattern(KanaPair pair) {
    const char32_t a = pair.first;
    const char32_t b = pair.second;
    return {a, a, b, b, U' ', a, a, b, b, U' ', a, b, a, b, U' ', a, b, a, b};
}

const char* handName(int hand) {
    return hand == KeyboardModel::kLeftHand ? "左手" : "右手";
}

const char* fingerName(int finger) {
    static constexpr const char* kNames[] = {"人差し指", "中指", "薬指", "小指", "親指"};
    return kNames[finger];
}

// "「ち」は左手の小指" for the kana's first key.
std::string fingerLine(char32_t kana) {
    const auto strokes = strokesOf(kana);
    const Finger finger = fingerOf(strokes->front().position);
    return "「" + toUtf8(std::u32string(1, kana)) + "」は" + handName(finger.hand) + "の" +
           fingerName(finger.finger);
}

KanaLesson letterLesson(std::string name, std::string title, const std::vector<KanaPair>& pairs) {
    KanaLesson lesson{std::move(name), std::move(title), {}, {}};
    for (const KanaPair& pair : pairs) {
        lesson.program.push_back(static_cast<std::int32_t>(lesson.items.size()));
        lesson.items.push_back(
            {pairPattern(pair), fingerLine(pair.first) + "、" + fingerLine(pair.second)});
    }
    lesson.program.insert(lesson.program.end(), kRandomSteps, kKanaRandomItem);
    return lesson;
}

struct Written {
    const char32_t* text;
    const char* comment;
};

KanaLesson writtenLesson(std::string name, std::string title, const std::vector<Written>& items,
                         std::size_t steps) {
    KanaLesson lesson{std::move(name), std::move(title), {}, {}};
    for (const Written& item : items)
        lesson.items.push_back({item.text, item.comment});
    lesson.program.assign(steps, kKanaRandomItem);
    return lesson;
}

KanaLesson homeRow() {
    return letterLesson("kana1", "ホームポジション",
                        {{U'は', U'ま'},
                         {U'し', U'の'},
                         {U'と', U'り'},
                         {U'ち', U'れ'},
                         {U'き', U'く'},
                         {U'け', U'れ'}});
}

KanaLesson upperRow() {
    return letterLesson("kana2", "上の段",
                        {{U'ち', U'た'},
                         {U'と', U'て'},
                         {U'し', U'い'},
                         {U'は', U'す'},
                         {U'き', U'か'},
                         {U'く', U'ん'},
                         {U'ま', U'な'},
                         {U'の', U'に'},
                         {U'り', U'ら'},
                         {U'れ', U'せ'},
                         {U'゛', U'゜'}});
}

KanaLesson lowerRow() {
    return letterLesson("kana3", "下の段",
                        {{U'ち', U'つ'},
                         {U'と', U'さ'},
                         {U'し', U'そ'},
                         {U'は', U'ひ'},
                         {U'き', U'こ'},
                         {U'く', U'み'},
                         {U'ま', U'も'},
                         {U'の', U'ね'},
                         {U'り', U'る'},
                         {U'れ', U'め'},
                         {U'け', U'ろ'}});
}

KanaLesson numberRow() {
    return letterLesson("kana4", "数字の段",
                        {{U'た', U'ぬ'},
                         {U'て', U'ふ'},
                         {U'い', U'あ'},
                         {U'い', U'う'},
                         {U'す', U'え'},
                         {U'か', U'お'},
                         {U'ん', U'や'},
                         {U'な', U'ゆ'},
                         {U'に', U'よ'},
                         {U'ら', U'わ'},
                         {U'せ', U'ほ'},
                         {U'゛', U'へ'},
                         {U'゜', U'ー'}});
}

KanaLesson voicedKana() {
    return letterLesson("kana5", "濁音と半濁音",
                        {{U'か', U'が'},
                         {U'き', U'ぎ'},
                         {U'さ', U'ざ'},
                         {U'し', U'じ'},
                         {U'た', U'だ'},
                         {U'て', U'で'},
                         {U'と', U'ど'},
                         {U'は', U'ば'},
                         {U'は', U'ぱ'},
                         {U'ふ', U'ぶ'},
                         {U'ふ', U'ぷ'},
                         {U'ほ', U'ぽ'}});
}

KanaLesson smallKana() {
    return letterLesson("kana6", "小さい字と記号",
                        {{U'あ', U'ぁ'},
                         {U'い', U'ぃ'},
                         {U'う', U'ぅ'},
                         {U'え', U'ぇ'},
                         {U'お', U'ぉ'},
                         {U'や', U'ゃ'},
                         {U'ゆ', U'ゅ'},
                         {U'よ', U'ょ'},
                         {U'つ', U'っ'},
                         {U'わ', U'を'},
                         {U'ね', U'、'},
                         {U'る', U'。'},
                         {U'め', U'・'},
                         {U'「', U'」'}});
}

KanaLesson words() {
    return writtenLesson("kana7", "単語",
                         {
                             {U"さくら", "桜"},
                             {U"ともだち", "友達"},
                             {U"でんしゃ", "電車"},
                             {U"がっこう", "学校"},
                             {U"しんぶん", "新聞"},
                             {U"てがみ", "手紙"},
                             {U"おちゃ", "お茶"},
                             {U"きっぷ", "切符"},
                             {U"じてんしゃ", "自転車"},
                             {U"たまご", "卵"},
                             {U"やさい", "野菜"},
                             {U"くだもの", "果物"},
                             {U"ゆうびんきょく", "郵便局"},
                             {U"びょういん", "病院"},
                             {U"としょかん", "図書館"},
                             {U"かいもの", "買い物"},
                             {U"りょこう", "旅行"},
                             {U"にっき", "日記"},
                             {U"めがね", "眼鏡"},
                             {U"ふとん", "布団"},
                             {U"れいぞうこ", "冷蔵庫"},
                             {U"せんたく", "洗濯"},
                             {U"ひこうき", "飛行機"},
                             {U"ぎゅうにゅう", "牛乳"},
                             {U"おべんとう", "お弁当"},
                             {U"てんきよほう", "天気予報"},
                             {U"ねこ", "猫"},
                             {U"いぬ", "犬"},
                             {U"あさごはん", "朝ご飯"},
                             {U"えんぴつ", "鉛筆"},
                             {U"はがき", "葉書"},
                             {U"ろうか", "廊下"},
                             {U"みずうみ", "湖"},
                             {U"ぱそこん", "パソコン"},
                             {U"けーき", "ケーキ"},
                             {U"かれんだー", "カレンダー"},
                             {U"ほっかいどう", "北海道"},
                             {U"おおさか", "大阪"},
                             {U"しゅくだい", "宿題"},
                             {U"ちゅうしゃじょう", "駐車場"},
                         },
                         15);
}

KanaLesson sentences() {
    return writtenLesson("kana8", "短文",
                         {
                             {U"おはようございます。", "おはようございます。"},
                             {U"きょうは、はれです。", "今日は、晴れです。"},
                             {U"あしたは、あめでしょう。", "明日は、雨でしょう。"},
                             {U"えきで、まっています。", "駅で、待っています。"},
                             {U"おちゃを、のみましょう。", "お茶を、飲みましょう。"},
                             {U"てがみを、かきました。", "手紙を、書きました。"},
                             {U"でんしゃが、きました。", "電車が、来ました。"},
                             {U"さくらが、さいています。", "桜が、咲いています。"},
                             {U"ありがとうございました。", "ありがとうございました。"},
                             {U"「はい」と、こたえた。", "「はい」と、答えた。"},
                             {U"ほんを、よみます。", "本を、読みます。"},
                             {U"ねこが、ねています。", "猫が、寝ています。"},
                             {U"やさいを、かいました。", "野菜を、買いました。"},
                             {U"しゅくだいが、おわった。", "宿題が、終わった。"},
                             {U"みずを、ください。", "水を、ください。"},
                             {U"ゆっくり、やすんでね。", "ゆっくり、休んでね。"},
                         },
                         10);
}

}  // namespace

std::vector<KanaLesson> kanaCourse() {
    return {homeRow(),    upperRow(),  lowerRow(), numberRow(),
            voicedKana(), smallKana(), words(),    sentences()};
}

ScoreKey kanaScoreKey(const KanaLesson& lesson) {
    return scoreKeyFor(0, lesson.name);
}

std::string missingKeysLine(const KanaLesson& lesson, const KeyPositions& keyboard) {
    std::vector<KeyPosition> missing;
    for (const KanaItem& item : lesson.items) {
        for (const char32_t kana : item.text) {
            const auto strokes = strokesOf(kana);
            if (!strokes) continue;
            for (const KanaStroke& stroke : *strokes) {
                if (!keyboard.hasKey(stroke.position) &&
                    std::find(missing.begin(), missing.end(), stroke.position) == missing.end())
                    missing.push_back(stroke.position);
            }
        }
    }
    if (missing.empty()) return {};
    std::string names;
    for (const KeyPosition position : missing)
        names += "「" + std::string(kanaKeyAt(position)->kana) + "」";
    return "キーボードに" + names + "がありません。";
}

}  // namespace kestrum
