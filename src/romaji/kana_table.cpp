#include "romaji/kana_table.h"

#include <array>
#include <string>
#include <utility>

namespace kestrum {

namespace {

// The spellings the common input methods agree on.
std::vector<KanaUnit> makeUnits() {
    std::vector<KanaUnit> units = {
        {"あ", {"a"}, {}, {}},
        {"い", {"i"}, {}, {}},
        {"う", {"u"}, {}, {}},
        {"え", {"e"}, {}, {}},
        {"お", {"o"}, {}, {}},
        {"か", {"ka", "ca"}, {}, {}},
        {"き", {"ki"}, {}, {}},
        {"く", {"ku", "cu", "qu"}, {}, {}},
        {"け", {"ke"}, {}, {}},
        {"こ", {"ko", "co"}, {}, {}},
        {"さ", {"sa"}, {}, {}},
        {"し", {"si", "shi", "ci"}, {}, {}},
        {"す", {"su"}, {}, {}},
        {"せ", {"se", "ce"}, {}, {}},
        {"そ", {"so"}, {}, {}},
        {"た", {"ta"}, {}, {}},
        {"ち", {"ti", "chi"}, {}, {}},
        {"つ", {"tu", "tsu"}, {}, {}},
        {"て", {"te"}, {}, {}},
        {"と", {"to"}, {}, {}},
        {"な", {"na"}, {}, {}},
        {"に", {"ni"}, {}, {}},
        {"ぬ", {"nu"}, {}, {}},
        {"ね", {"ne"}, {}, {}},
        {"の", {"no"}, {}, {}},
        {"は", {"ha"}, {}, {}},
        {"ひ", {"hi"}, {}, {}},
        {"ふ", {"hu", "fu"}, {}, {}},
        {"へ", {"he"}, {}, {}},
        {"ほ", {"ho"}, {}, {}},
        {"ま", {"ma"}, {}, {}},
        {"み", {"mi"}, {}, {}},
        {"む", {"mu"}, {}, {}},
        {"め", {"me"}, {}, {}},
        {"も", {"mo"}, {}, {}},
        {"や", {"ya"}, {}, {}},
        {"ゆ", {"yu"}, {}, {}},
        {"よ", {"yo"}, {}, {}},
        {"ら", {"ra"}, {}, {}},
        {"り", {"ri"}, {}, {}},
        {"る", {"ru"}, {}, {}},
        {"れ", {"re"}, {}, {}},
        {"ろ", {"ro"}, {}, {}},
        {"わ", {"wa"}, {}, {}},
        {"を", {"wo"}, {}, {}},
        {"が", {"ga"}, {}, {}},
        {"ぎ", {"gi"}, {}, {}},
        {"ぐ", {"gu"}, {}, {}},
        {"げ", {"ge"}, {}, {}},
        {"ご", {"go"}, {}, {}},
        {"ざ", {"za"}, {}, {}},
        {"じ", {"zi", "ji"}, {}, {}},
        {"ず", {"zu"}, {}, {}},
        {"ぜ", {"ze"}, {}, {}},
        {"ぞ", {"zo"}, {}, {}},
        {"だ", {"da"}, {}, {}},
        {"ぢ", {"di"}, {}, {}},
        {"づ", {"du"}, {}, {}},
        {"で", {"de"}, {}, {}},
        {"ど", {"do"}, {}, {}},
        {"ば", {"ba"}, {}, {}},
        {"び", {"bi"}, {}, {}},
        {"ぶ", {"bu"}, {}, {}},
        {"べ", {"be"}, {}, {}},
        {"ぼ", {"bo"}, {}, {}},
        {"ぱ", {"pa"}, {}, {}},
        {"ぴ", {"pi"}, {}, {}},
        {"ぷ", {"pu"}, {}, {}},
        {"ぺ", {"pe"}, {}, {}},
        {"ぽ", {"po"}, {}, {}},
        {"ゔ", {"vu"}, {}, {}},
        {"ぁ", {"xa", "la"}, {}, {}},
        {"ぃ", {"xi", "li"}, {}, {}},
        {"ぅ", {"xu", "lu"}, {}, {}},
        {"ぇ", {"xe", "le"}, {}, {}},
        {"ぉ", {"xo", "lo"}, {}, {}},
        {"ゃ", {"xya", "lya"}, {}, {}},
        {"ゅ", {"xyu", "lyu"}, {}, {}},
        {"ょ", {"xyo", "lyo"}, {}, {}},
        {"ゎ", {"xwa", "lwa"}, {}, {}},
        {"っ", {"xtu", "ltu", "xtsu", "ltsu"}, {}, {}},
        {"ん", {"nn", "xn"}, {}, {}},
        {"ー", {"-"}, {}, {}},
        {"、", {","}, {}, {}},
        {"。", {"."}, {}, {}},
        {"しぇ", {"sye", "she"}, "し", "ぇ"},
        {"じぇ", {"zye", "je", "jye"}, "じ", "ぇ"},
        {"ちぇ", {"tye", "che", "cye"}, "ち", "ぇ"},
        {"ふぁ", {"fa"}, "ふ", "ぁ"},
        {"ふぃ", {"fi"}, "ふ", "ぃ"},
        {"ふぇ", {"fe"}, "ふ", "ぇ"},
        {"ふぉ", {"fo"}, "ふ", "ぉ"},
        {"てぃ", {"thi"}, "て", "ぃ"},
        {"でぃ", {"dhi"}, "で", "ぃ"},
        {"とぅ", {"twu"}, "と", "ぅ"},
        {"どぅ", {"dwu"}, "ど", "ぅ"},
        {"うぃ", {"wi", "whi"}, "う", "ぃ"},
        {"うぇ", {"we", "whe"}, "う", "ぇ"},
        {"いぇ", {"ye"}, "い", "ぇ"},
    };
    // The ya, yu, yo sounds of each row, built from the row's i-kana and its usual spellings.
    struct YRow {
        std::string_view base;
        std::vector<std::string_view> a, u, o;
    };
    const std::vector<YRow> rows = {
        {"き", {"kya"}, {"kyu"}, {"kyo"}},
        {"ぎ", {"gya"}, {"gyu"}, {"gyo"}},
        {"し", {"sya", "sha"}, {"syu", "shu"}, {"syo", "sho"}},
        {"じ", {"zya", "ja", "jya"}, {"zyu", "ju", "jyu"}, {"zyo", "jo", "jyo"}},
        {"ち", {"tya", "cha", "cya"}, {"tyu", "chu", "cyu"}, {"tyo", "cho", "cyo"}},
        {"ぢ", {"dya"}, {"dyu"}, {"dyo"}},
        {"に", {"nya"}, {"nyu"}, {"nyo"}},
        {"ひ", {"hya"}, {"hyu"}, {"hyo"}},
        {"び", {"bya"}, {"byu"}, {"byo"}},
        {"ぴ", {"pya"}, {"pyu"}, {"pyo"}},
        {"み", {"mya"}, {"myu"}, {"myo"}},
        {"り", {"rya"}, {"ryu"}, {"ryo"}},
    };
    for (const YRow& row : rows) {
        const std::array<std::pair<std::string_view, const std::vector<std::string_view>*>, 3>
            sounds{{{"ゃ", &row.a}, {"ゅ", &row.u}, {"ょ", &row.o}}};
        for (const auto& [small, spellings] : sounds) {
            units.push_back(
                {std::string(row.base) + std::string(small), *spellings, row.base, small});
        }
    }
    return units;
}

}  // namespace

const std::vector<KanaUnit>& kanaUnits() {
    static const std::vector<KanaUnit> units = makeUnits();
    return units;
}

int unitOfKana(std::string_view kana) {
    const std::vector<KanaUnit>& units = kanaUnits();
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i].kana == kana) return static_cast<int>(i);
    }
    return -1;
}

int syllabicN() {
    static const int unit = unitOfKana("ん");
    return unit;
}

int smallTsu() {
    static const int unit = unitOfKana("っ");
    return unit;
}

const std::vector<std::string>& spellingsOf(int unit) {
    static const std::vector<std::vector<std::string>> all = [] {
        const std::vector<KanaUnit>& units = kanaUnits();
        std::vector<std::vector<std::string>> result;
        for (const KanaUnit& u : units) {
            result.emplace_back(u.spellings.begin(), u.spellings.end());
            if (u.base.empty()) continue;
            // Base and small kana are plain units, listed before the combined sounds.
            for (std::string_view base :
                 units[static_cast<std::size_t>(unitOfKana(u.base))].spellings) {
                for (std::string_view small :
                     units[static_cast<std::size_t>(unitOfKana(u.small))].spellings)
                    result.back().push_back(std::string(base) + std::string(small));
            }
        }
        return result;
    }();
    return all[static_cast<std::size_t>(unit)];
}

}  // namespace kestrum
