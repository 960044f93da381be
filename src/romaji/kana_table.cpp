#include "romaji/kana_table.h"

#include <algorithm>
#include <map>

namespace kestrum {

namespace {

// The romaji table of the common input methods, restricted to what the drill's keys can type:
// each line is a kana and its spellings, the usual one first.
constexpr std::string_view kTable = R"(あ a
い i
う u wu whu
え e
お o
か ka ca
き ki
く ku cu qu
け ke
こ ko co
さ sa
し si shi ci
す su
せ se ce
そ so
た ta
ち ti chi
つ tu tsu
て te
と to
な na
に ni
ぬ nu
ね ne
の no
は ha
ひ hi
ふ hu fu
へ he
ほ ho
ま ma
み mi
む mu
め me
も mo
や ya
ゆ yu
よ yo
ら ra
り ri
る ru
れ re
ろ ro
わ wa
ゐ wyi
ゑ wye
を wo
ん nn xn
が ga
ぎ gi
ぐ gu
げ ge
ご go
ざ za
じ zi ji
ず zu
ぜ ze
ぞ zo
だ da
ぢ di
づ du
で de
ど do
ば ba
び bi
ぶ bu
べ be
ぼ bo
ぱ pa
ぴ pi
ぷ pu
ぺ pe
ぽ po
ゔ vu
ぁ xa la
ぃ xi li xyi lyi
ぅ xu lu
ぇ xe le xye lye
ぉ xo lo
ゃ xya lya
ゅ xyu lyu
ょ xyo lyo
ゎ xwa lwa
っ xtu ltu xtsu ltsu
ヵ xka lka
ヶ xke lke
← zh
↓ zj
↑ zk
→ zl
いぇ ye
うぁ wha
うぃ wi whi
うぇ we whe
うぉ who
ゔぁ va
ゔぃ vi vyi
ゔぇ ve vye
ゔぉ vo
ゔゃ vya
ゔゅ vyu
ゔょ vyo
きゃ kya
きぃ kyi
きゅ kyu
きぇ kye
きょ kyo
ぎゃ gya
ぎぃ gyi
ぎゅ gyu
ぎぇ gye
ぎょ gyo
くぁ qa kwa
くぃ qi kwi
くぅ kwu
くぇ qe kwe
くぉ qo kwo
ぐぁ gwa
ぐぃ gwi
ぐぅ gwu
ぐぇ gwe
ぐぉ gwo
しゃ sya sha
しぃ syi
しゅ syu shu
しぇ sye she
しょ syo sho
じゃ zya ja jya
じぃ zyi jyi
じゅ zyu ju jyu
じぇ zye je jye
じょ zyo jo jyo
すぁ swa
すぃ swi
すぅ swu
すぇ swe
すぉ swo
ずぁ zwa
ずぃ zwi
ずぅ zwu
ずぇ zwe
ずぉ zwo
ちゃ tya cha cya
ちぃ tyi cyi
ちゅ tyu chu cyu
ちぇ tye che cye
ちょ tyo cho cyo
ぢゃ dya
ぢぃ dyi
ぢゅ dyu
ぢぇ dye
ぢょ dyo
つぁ tsa
つぃ tsi
つぇ tse
つぉ tso
てゃ tha
てぃ thi
てゅ thu
てぇ the
てょ tho
でゃ dha
でぃ dhi
でゅ dhu
でぇ dhe
でょ dho
とぁ twa
とぃ twi
とぅ twu
とぇ twe
とぉ two
どぁ dwa
どぃ dwi
どぅ dwu
どぇ dwe
どぉ dwo
にゃ nya
にぃ nyi
にゅ nyu
にぇ nye
にょ nyo
ひゃ hya
ひぃ hyi
ひゅ hyu
ひぇ hye
ひょ hyo
びゃ bya
びぃ byi
びゅ byu
びぇ bye
びょ byo
ぴゃ pya
ぴぃ pyi
ぴゅ pyu
ぴぇ pye
ぴょ pyo
ふぁ fa hwa
ふぃ fi hwi
ふぇ fe hwe
ふぉ fo hwo
ふゃ fya
ふゅ fyu hwyu
ふょ fyo
みゃ mya
みぃ myi
みゅ myu
みぇ mye
みょ myo
りゃ rya
りぃ ryi
りゅ ryu
りぇ rye
りょ ryo
)";

struct Table {
    std::map<std::string_view, std::vector<std::string_view>> spellings;
    std::map<std::string_view, std::string_view> kana;
};

const Table& table() {
    static const Table parsed = [] {
        Table result;
        for (std::size_t at = 0; at < kTable.size();) {
            const std::size_t end = kTable.find('\n', at);
            std::string_view line = kTable.substr(at, end - at);
            at = end + 1;
            const std::size_t blank = line.find(' ');
            const std::string_view kana = line.substr(0, blank);
            std::vector<std::string_view>& spellings = result.spellings[kana];
            for (line.remove_prefix(blank + 1); !line.empty();) {
                const std::size_t next = std::min(line.find(' '), line.size());
                spellings.push_back(line.substr(0, next));
                result.kana.emplace(spellings.back(), kana);
                line.remove_prefix(std::min(next + 1, line.size()));
            }
        }
        return result;
    }();
    return parsed;
}

}  // namespace

const std::vector<std::string_view>& spellingsOfKana(std::string_view kana) {
    static const std::vector<std::string_view> kNone;
    const auto found = table().spellings.find(kana);
    return found == table().spellings.end() ? kNone : found->second;
}

std::string_view kanaOfSpelling(std::string_view spelling) {
    const auto found = table().kana.find(spelling);
    return found == table().kana.end() ? std::string_view() : found->second;
}

}  // namespace kestrum
