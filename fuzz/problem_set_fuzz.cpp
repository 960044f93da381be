// Any bytes as a problem-set file: the reader never crashes, says why when it refuses, keeps
// only items the drill can type, and a second load of the same file gives the same result.
#include "check.h"
#include "drill/lesson_catalogue.h"
#include "menu/problem_set_reader.h"
#include "support/memory_file_system.h"

using namespace kestrum;
using kestrum::fuzz::check;

namespace {

void checkRecord(const lesson& record, const ProblemSet& set, const Settings& settings) {
    const auto count = static_cast<std::size_t>(record.word_count);
    check(record.word_count >= 1 && record.word_count <= kMaxProblemIndex);
    check(record.word_count == set.count && record.comment_count == set.count &&
          record.comment_index_count == set.count);
    check(record.words.size() == count && record.comments.size() == count);
    check(record.kind == 1 && record.name == settings.problem_set_name);
    check(record.program_length == settings.practice_count);
    for (std::size_t i = 0; i < count; ++i) {
        const Bytes& word = record.words[i];
        check(!word.empty() && word.size() <= static_cast<std::size_t>(kMaxWordLength));
        for (const char c : word)
            check(IsProblemChar(static_cast<unsigned char>(c)));
    }
    check(record.comment_index.size() == count + 1);
    for (std::size_t k = 0; k <= count; ++k)
        check(record.comment_index[k] == static_cast<std::int32_t>(k));
    check(record.program.size() >= 100);
    for (const std::int32_t step : record.program)
        check(step == -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem files;
    files.files["/data/tdcs/fuzz.tdc"] = Bytes(reinterpret_cast<const char*>(data), size);
    files.files["/data/tdcs/other.tdc"] =
        "Amount=199\nText[1]=stale\nText[199]=stale\nComment[50]=stale\n";
    Settings settings;
    settings.problem_set_name = "fuzz";
    settings.practice_count = 42;

    ProblemSet fresh;
    const ProblemSetLoad load = LoadProblemSet(fresh, files, "/data", settings);
    if (load.ok) {
        checkRecord(load.record, fresh, settings);
    } else {
        check(!load.messages.empty() && load.record.words.empty());
    }

    // A set that held another file first must end the same: every load starts from empty slots.
    ProblemSet reused;
    Settings other = settings;
    other.problem_set_name = "other";
    check(LoadProblemSet(reused, files, "/data", other).ok);
    const ProblemSetLoad again = LoadProblemSet(reused, files, "/data", settings);
    check(again.ok == load.ok && again.messages == load.messages);
    check(again.record.words == load.record.words && again.record.comments == load.record.comments);
    return 0;
}
