#include "drill/lesson_catalogue.h"

#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace kestrum {

namespace {

// Identifiers of lessons 0..6: window caption suffix and history key.
constexpr std::array<const char*, 7> kNames{"Lesson0", "lesson1", "lesson2", "lesson3",
                                            "lesson4", "lesson5", "lesson6"};

struct WordWithComment {
    const char* word;
    const char* comment;  // UTF-8
};

lesson makeLesson(const char* name, std::vector<Bytes> words,
                  const std::vector<const char*>& commentsUtf8, std::vector<std::int32_t> index,
                  std::vector<std::int32_t> program) {
    lesson record;
    record.name = name;
    record.words = std::move(words);
    for (const char* comment : commentsUtf8)
        record.comments.push_back(utf8ToCp932(comment));
    record.kind = 0;
    record.comment_index = std::move(index);
    record.program = std::move(program);
    countLessonParts(record);
    return record;
}

std::vector<std::int32_t> repeated(std::size_t count, std::int32_t value) {
    return std::vector<std::int32_t>(count, value);
}

std::vector<std::int32_t> identity(std::size_t count) {
    std::vector<std::int32_t> values(count);
    std::iota(values.begin(), values.end(), 0);
    return values;
}

// Word i shown with comment i; extra comments (belonging to no word) follow the pairs.
lesson makeRomajiLesson(const char* name, const std::vector<WordWithComment>& pairs,
                        const std::vector<const char*>& extraComments,
                        std::size_t commentIndexCount) {
    std::vector<Bytes> words;
    std::vector<const char*> comments;
    for (const WordWithComment& pair : pairs) {
        words.emplace_back(pair.word);
        comments.push_back(pair.comment);
    }
    comments.insert(comments.end(), extraComments.begin(), extraComments.end());
    return makeLesson(name, std::move(words), comments, identity(commentIndexCount),
                      repeated(15, -1));
}

// The finger comments of the home row, shared by lessons 1 and 2.
const std::vector<const char*> kHomeRowComments = {
    "",
    "「f」は左手の人差し指、「j」は右手の人差し指",
    "「d」は左手の中指、「k」は右手の中指",
    "「s」は左手の薬指、「l」は右手の薬指",
    "「a」は左手の小指、「;」は右手の小指",
    "「g」は左手の人差し指、「h」は右手の人差し指",
};

lesson lesson1() {
    return makeLesson(kNames[1],
                      {"ffjj ffjj fjfj fjfj", "ddkk ddkk dkdk dkdk", "ssll ssll slsl slsl",
                       "aa;; aa;; a;a; a;a;", "gghh gghh ghgh ghgh", "ffkk jjdd djdj kfkf",
                       "llaa ss;; lala ;s;s", "ffll kkaa ssll dd;;"},
                      kHomeRowComments, {1, 2, 3, 4, 5, 0, 0, 0},
                      {0, 1, -1, 2, 3, -1, 4, -1, -1, -1, -1, 0, 1, 2, -1, 3, 4});
}

lesson lesson2() {
    std::vector<const char*> comments = kHomeRowComments;
    comments.insert(comments.end(), {
                                        "「r」は左手の人差し指、「u」は右手の人差し指",
                                        "「e」は左手の中指、「i」は右手の中指",
                                        "「w」は左手の薬指、「o」は右手の薬指",
                                        "「q」は左手の小指、「p」は右手の小指",
                                        "「t」は左手の人差し指、「y」は右手の人差し指",
                                    });
    return makeLesson(
        kNames[2], {"fjfjfjfj", "a;a;a;a;", "qqqqpppp", "wwwwoooo", "eeeeiiii", "rrrruuuu",
                    "ttttyyyy", "qpqpqpqp", "wowowowo", "eieieiei", "rurururu", "tytytyty",
                    "aaqqaaqq", "sswwssww", "ddeeddee", "ffrrffrr", "ffttfftt", "jjyyjjyy",
                    "jjuujjuu", "kkiikkii", "lloolloo", ";;pp;;pp"},
        comments, {1, 4, 9, 8, 7, 6, 10, 9, 8, 7, 6, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 1, 2, 3, 4, 5, 6, 7, -1, -1, -1, -1, -1, -1, 11, 0, 1, 2, 3, -1, -1, -1, -1, -1, -1});
}

lesson lesson3() {
    std::vector<std::int32_t> program = identity(12);
    program.insert(program.end(), 8, -1);
    return makeLesson(kNames[3],
                      {"fjfjfjfj", "fvfvfvfv", "dcdcdcdc", "sxsxsxsx", "azazazaz", "fbfbfbfb",
                       "jnjnjnjn", "jmjmjmjm", "k,k,k,k,", "l.l.l.l.", ";/;/;/;/", "vvvvnnnn"},
                      {""}, repeated(17, 0), std::move(program));
}

lesson lesson4() {
    return makeLesson(kNames[4],
                      {"ffttffvv", "ffrrffvv", "ddeeddcc", "sswwssxx", "aaqqaazz", "jjyyjjnn",
                       "jjuujjmm", "kkiikk,,", "llooll..", ";;pp;;//", "ffiillaa", "aappxxyy",
                       ";;oobbee", "qq,,wwxx", "mmzzpptt", "rr..uucc", "sskkggdd", "jjhhvvnn"},
                      {""}, repeated(18, 0), repeated(15, -1));
}

lesson lesson5() {
    return makeRomajiLesson(kNames[5],
                            {
                                {"sinnkannsenn", "新幹線"},
                                {"sinnbunnsi", "新聞紙"},
                                {"kannko-hi-", "缶コーヒー"},
                                {"pasokonn", "パソコン"},
                                {"yakitori", "焼き鳥"},
                                {"dennwatyou", "電話帳"},
                                {"terebi", "テレビ"},
                                {"poppuko-nn", "ポップコーン"},
                                {"hagaki", "はがき"},
                                {"iruka", "イルカ"},
                                {"ki-bo-do", "キーボード"},
                                {"jitennsya", "自転車"},
                                {"eiwajitenn", "英和辞典"},
                                {"syuugiinn", "衆議院"},
                                {"karennda-", "カレンダー"},
                                {"gyuunyuu", "牛乳"},
                                {"terebideo", "テレビデオ"},
                                {"hasiryuu", "橋龍"},
                                {"kitutuki", "きつつき"},
                                {"megane", "めがね"},
                                {"nyu-su", "ニュース"},
                                {"tokei", "時計"},
                                {"kumityou", "組長"},
                                {"kousokudouro", "高速道路"},
                                {"kare-raisu", "カレーライス"},
                                {"keisanndoriru", "計算ドリル"},
                                {"tamagoyaki", "卵焼き"},
                                {"syuukannsi", "週刊誌"},
                                {"ennpitu", "鉛筆"},
                                {"bo-nasu", "ボーナス"},
                                {"retasu", "レタス"},
                                {"kyaputenn", "キャプテン"},
                                {"kyuuri", "キュウリ"},
                                {"reizouko", "冷蔵庫"},
                                {"mausu", "マウス"},
                                {"bokusinngu", "ボクシング"},
                                {"orinnpikku", "オリンピック"},
                                {"nihonnsi", "日本史"},
                                {"jidousya", "自動車"},
                                {"mennkyosyou", "免許証"},
                                {"senntou", "銭湯"},
                                {"karaage", "からあげ"},
                                {"toukyou", "東京"},
                                {"oosaka", "大阪"},
                                {"nagoya", "名古屋"},
                                {"syuugakuryokou", "修学旅行"},
                                {"sanngiinn", "参議院"},
                                {"ju-su", "ジュース"},
                                {"kokugojitenn", "国語辞典"},
                                {"supi-ka-", "スピーカー"},
                                {"puresute", "プレステ"},
                                {"eakonn", "エアコン"},
                                {"gayousi", "画用紙"},
                                {"eiga", "映画"},
                                {"haisyasann", "歯医者さん"},
                                {"kinennhinn", "記念品"},
                                {"puroyakyuu", "プロ野球"},
                                {"kyanndhi-", "キャンディー"},
                                {"jouhou", "情報"},
                                {"supo-tu", "スポーツ"},
                                {"daitouryou", "大統領"},
                                {"kurisumasu", "クリスマス"},
                                {"osyougatu", "お正月"},
                                {"tannjoubi", "誕生日"},
                                {"doki", "土器"},
                                {"hokkyoku", "北極"},
                                {"nannkyoku", "南極"},
                                {"nettowa-ku", "ネットワーク"},
                            },
                            {"タクシー", "京都"}, 70);
}

lesson lesson6() {
    return makeRomajiLesson(kNames[6],
                            {
                                {"aoiumi", "蒼い海"},
                                {"ekimaenisyuugou", "駅前に集合"},
                                {"tyotto,ippuku", "ちょっと、一服"},
                                {"kimiha,dareda", "君は、誰だ"},
                                {"yasusabakuhatu", "安さバクハツ"},
                                {"gannbare,nipponn", "がんばれ、日本"},
                                {"atarasiihonnga,attarasii", "新しい本が、あったらしい"},
                                {"futonnga,futtonnda", "布団が、吹っ飛んだ"},
                                {"niwanihaniwaniwatorigairu", "庭には二羽鶏がいる"},
                                {"kyoumotetuyada", "今日も徹夜だ"},
                                {"syukudaiwowasureta", "宿題を忘れた"},
                                {"asitanisiyou", "明日にしよう"},
                                {"gakkouheikou", "学校へ行こう"},
                                {"basugasubakuhatu", "バスガス爆発"},
                                {"kotosinonatuha,atui", "今年の夏は、暑い"},
                                {"kyonennnofuyuha,samukatta", "去年の冬は、寒かった"},
                                {"juutaide,okuretesimatta", "渋滞で、遅れてしまった"},
                                {"mezamasiwo,settosiyou", "目覚ましを、セットしよう"},
                                {"taisyokukinn,maegari", "退職金、前借り"},
                                {"koukanndo,nannba-wann", "好感度、ナンバーワン"},
                                {"atamade,kawarawowatta", "頭で、瓦を割った"},
                                {"touhyousiyou", "投票しよう"},
                                {"gomiha,bunnbetusiyou", "ゴミは、分別しよう"},
                                {"supi-doha,hikaemeni", "スピードは、控えめに"},
                                {"gennzai,niroutyuu", "現在、二浪中"},
                                {"nennmatuno,dourokouji", "年末の、道路工事"},
                                {"mezasesinnkiroku", "目指せ新記録"},
                                {"pennginnga,koronnda", "ペンギンが、転んだ"},
                                {"inumoarukeba,bouniataru", "犬も歩けば、棒に当たる"},
                                {"sarumokikaraotiru", "猿も木から落ちる"},
                                {"kanasibarinikakatta", "かなしばりにかかった"},
                                {"hayai,umai,yasui", "早い、うまい、安い"},
                                {"otto,bikkuri", "おっと、びっくり"},
                                {"usironidarekaimasuyo", "後ろに誰かいますよ"},
                                {"attimuitehoi", "あっちむいてホイ"},
                                {"tokinihayasumukotomodaiji", "時には休むことも大事"},
                                {"tabakonopoisuteha,yameyou", "タバコのポイ捨ては、やめよう"},
                                {"ho-murannwoutta", "ホームランを打った"},
                                {"asitahaennsoku,tanosimida", "明日は遠足、楽しみだ"},
                                {"taifuukeihougadeta", "台風警報がでた"},
                                {"korekarajidaiharisaikuru", "これから時代はリサイクル"},
                            },
                            {}, 43);
}

// True when every one of the first `count` entries lies in lo..hi and the vector holds them.
bool entriesWithin(const std::vector<std::int32_t>& values, std::int32_t count, std::int64_t lo,
                   std::int64_t hi) {
    if (count > 0 && static_cast<std::size_t>(count) > values.size()) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        if (values[static_cast<std::size_t>(i)] < lo || values[static_cast<std::size_t>(i)] > hi) {
            return false;
        }
    }
    return true;
}

// The count limited to what the vector really holds, so that an index below it is always safe.
std::int64_t available(std::int32_t count, std::size_t size) {
    return std::min<std::int64_t>(count, static_cast<std::int64_t>(size));
}

Message stopMessage(const char* text, const lesson& record) {
    return {Message::Icon::Stop, text, cp932ToUtf8(record.name)};
}

}  // namespace

std::array<lesson, 7> SetUpLessons() {
    lesson lesson0;
    lesson0.name = kNames[0];
    return {std::move(lesson0), lesson1(), lesson2(), lesson3(), lesson4(), lesson5(), lesson6()};
}

std::optional<Message> CheckLesson(const lesson& record) {
    const std::int64_t words = available(record.word_count, record.words.size());
    // A word number the counts allow but the vector lacks is as invalid as one out of range.
    if (words < record.word_count ||
        !entriesWithin(record.program, record.program_length, -1, words - 1)) {
        return stopMessage("プログラムの値が不正です。", record);
    }
    if (record.comment_index_count < record.word_count ||
        available(record.word_count, record.comment_index.size()) < record.word_count) {
        return stopMessage("コメントインデックスの要素数が足りません。", record);
    }
    const std::int64_t comments = available(record.comment_count, record.comments.size());
    if (!entriesWithin(record.comment_index, record.word_count, 0, comments - 1)) {
        return stopMessage("コメントインデックスの値が不正です。", record);
    }
    for (std::int32_t i = 0; i < record.word_count; ++i) {
        if (record.words[static_cast<std::size_t>(i)].size() > kMaxWordLength) {
            return stopMessage("単語の長さが、長すぎます。", record);
        }
    }
    return std::nullopt;
}

Messages checkBuiltInLessons(const std::array<lesson, 7>& lessons) {
    Messages messages;
    for (std::size_t n = 1; n < lessons.size(); ++n) {
        if (std::optional<Message> failure = CheckLesson(lessons[n])) {
            messages.push_back(std::move(*failure));
        }
    }
    return messages;
}

std::optional<ScoreKey> lessonGraphKey(int lessonNo) {
    if (lessonNo < 1 || lessonNo >= static_cast<int>(kNames.size())) return std::nullopt;
    return scoreKeyFor(0, kNames[static_cast<std::size_t>(lessonNo)]);
}

const char* lessonMenuTitle(int lessonNo) {
    static constexpr std::array<const char*, 7> kTitles = {
        "ホームポジションってなあに？",
        "ホームポジションの練習",
        "ホームポジション＋上段の練習",
        "ホームポジション＋下段の練習",
        "ホームポジション＋上段＋下段の練習",
        "ローマ字の練習（単語）",
        "ローマ字の練習（文章）",
    };
    if (lessonNo < 0 || lessonNo >= static_cast<int>(kTitles.size())) return "";
    return kTitles[static_cast<std::size_t>(lessonNo)];
}

}  // namespace kestrum
