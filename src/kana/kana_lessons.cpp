#include "kana/kana_lessons.h"

#include "kana/kana_layout.h"
#include "kana/kana_text.h"
#include "keyboard/key_marks_text.h"
#include "progress/progress_series.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kestrum {

namespace {

// The letter lessons: each pair of kana (the new one mostly beside the home-row key of its
// finger) is written "aabb aabb abab abab" as the letter lessons of the romaji course pair their
// keys.
struct LetterLesson {
    const char* name;
    const char* title;
    std::u32string_view pairs;  // two kana a pair
};

constexpr std::array<LetterLesson, 6> kLetterLessons{{
    {"kana1", "ホームポジション", U"はましのとりちれきくけれ"},
    {"kana2", "上の段", U"ちたとてしいはすきかくんまなのにりられせ゛゜"},
    {"kana3", "下の段", U"ちつとさしそはひきこくみまものねりるれめけろ"},
    {"kana4", "数字の段", U"たぬてふいあいうすえかおんやなゆによらわせほ゛へ゜ー"},
    {"kana5", "濁音と半濁音", U"かがきぎさざしじただてでとどはばはぱふぶふぷほぽ"},
    {"kana6", "小さい字と記号", U"あぁいぃうぅえぇおぉやゃゆゅよょつっわをね、る。め・「」"},
}};

constexpr int kRandomSteps = 6;

std::u32string pairPattern(char32_t a, char32_t b) {
    return {a, a, b, b, U' ', a, a, b, b, U' ', a, b, a, b, U' ', a, b, a, b};
}

// A kana as the hints quote it; the brackets themselves take the other brackets.
std::string quoted(std::string_view kana) {
    if (kana == "「" || kana == "」") return "『" + std::string(kana) + "』";
    return "「" + std::string(kana) + "」";
}

// How a kana is struck: "「ち」は左手の小指", "「ぁ」はShiftと左手の中指", and a voiced kana as
// its plain kana then the mark's key, "「が」は「か」と「゛」（右手の小指）".
std::string fingerLine(char32_t kana) {
    const std::vector<KanaStroke> strokes = *strokesOf(kana);
    const KanaStroke& last = strokes.back();
    std::string line = quoted(toUtf8(std::u32string(1, kana))) + "は";
    if (strokes.size() > 1) {
        return line + quoted(kanaKeyAt(strokes.front().position)->kana) + "と" +
               quoted(kanaKeyAt(last.position)->kana) + "（" +
               spokenFinger(fingerOf(last.position)) + "）";
    }
    if (last.shift) line += "Shiftと";
    return line + spokenFinger(fingerOf(last.position));
}

KanaLesson letterLesson(const LetterLesson& letters) {
    KanaLesson lesson{letters.name, letters.title, {}, {}};
    for (std::size_t i = 0; i + 1 < letters.pairs.size(); i += 2) {
        const char32_t a = letters.pairs[i];
        const char32_t b = letters.pairs[i + 1];
        lesson.program.push_back(static_cast<std::int32_t>(lesson.items.size()));
        lesson.items.push_back({pairPattern(a, b), fingerLine(a) + "、" + fingerLine(b)});
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

std::vector<KanaLesson> buildCourse() {
    std::vector<KanaLesson> course;
    for (const LetterLesson& letters : kLetterLessons)
        course.push_back(letterLesson(letters));
    course.push_back(words());
    course.push_back(sentences());
    return course;
}

// The course's lesson of that history key, or none.
const KanaLesson* courseLesson(std::int32_t kind, std::string_view name) {
    const std::vector<KanaLesson>& course = kanaCourse();
    const auto found = std::find_if(course.begin(), course.end(), [&](const KanaLesson& lesson) {
        const ScoreKey own = kanaScoreKey(lesson);
        return own.kind == kind && own.name == name;
    });
    return found != course.end() ? &*found : nullptr;
}

}  // namespace

const std::vector<KanaLesson>& kanaCourse() {
    static const std::vector<KanaLesson> course = buildCourse();
    return course;
}

ScoreKey kanaScoreKey(const KanaLesson& lesson) {
    return scoreKeyFor(0, lesson.name);
}

bool isKanaLesson(const ScoreKey& key) {
    return courseLesson(key.kind, key.name) != nullptr;
}

std::string lessonListTitle(const LessonId& lesson) {
    const KanaLesson* own = courseLesson(lesson.kind, lesson.lesson);
    return own != nullptr ? "かな入力: " + own->title : lessonTitle(lesson);
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
