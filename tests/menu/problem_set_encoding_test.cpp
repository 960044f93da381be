// Problem sets saved by an editor on this system are UTF-8, with or without a byte-order mark;
// they read as the same set written in code page 932 would.
#include "menu/problem_set_reader.h"

#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

// "桜" and "ホーム" in code page 932.
const Bytes kSakura = "\x8D\xF7";
const Bytes kHome = "\x83\x7A\x81\x5B\x83\x80";
const Bytes kBom = "\xEF\xBB\xBF";

TEST(ProblemSetEncoding, Utf8FilesReadAsTheirCodePage932Twins) {
    const Bytes utf8Body =
        "Amount=2\nText[1]=sakura\nComment[1]=桜\nText[2]=home\nComment[2]=ホーム\n";
    const Bytes cp932Body = "Amount=2\nText[1]=sakura\nComment[1]=" + kSakura +
                            "\nText[2]=home\nComment[2]=" + kHome + "\n";
    // Thirty "＝" (81 81 each in code page 932) fit a line in code page 932, not in UTF-8.
    const Bytes longComment =
        "Amount=1\r\nText[1]=a\r\nComment[1]="
        "＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝\r\n";
    struct Case {
        const char* what;
        Bytes file;
        std::vector<Bytes> comments;  // of the kept items; empty when refused
        const char* refusal;
    };
    const std::vector<Case> cases = {
        {"UTF-8", utf8Body, {kSakura, kHome}, nullptr},
        {"UTF-8 with a mark", kBom + utf8Body, {kSakura, kHome}, nullptr},
        {"ASCII with a mark", kBom + "Amount=1\r\nText[1]=abc\r\n", {""}, nullptr},
        {"code page 932", cp932Body, {kSakura, kHome}, nullptr},
        {"a long UTF-8 comment", longComment, {Bytes(60, '\x81')}, nullptr},
        {"Japanese UTF-8 text",
         "Amount=1\nText[1]=桜\n",
         {},
         "不正なファイルです。不正な文字が含まれています。"},
    };
    for (const Case& c : cases) {
        MemoryFileSystem files;
        files.files["/data/tdcs/set.tdc"] = c.file;
        Settings settings;
        settings.problem_set_name = "set";
        ProblemSet set;
        const ProblemSetLoad load = LoadProblemSet(set, files, "/data", settings);
        if (c.refusal != nullptr) {
            EXPECT_FALSE(load.ok) << c.what;
            ASSERT_FALSE(load.messages.empty()) << c.what;
            EXPECT_EQ(load.messages.back().text, c.refusal) << c.what;
            continue;
        }
        ASSERT_TRUE(load.ok) << c.what;
        EXPECT_TRUE(load.messages.empty()) << c.what;
        EXPECT_EQ(load.record.comments, c.comments) << c.what;
    }
}

}  // namespace
}  // namespace kestrum
