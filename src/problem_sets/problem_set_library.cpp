#include "problem_sets/problem_set_library.h"

#include "menu/problem_set_reader.h"
#include "menu/settings_file.h"

#include <utility>

namespace kestrum {

namespace {

constexpr const char* kExtension = ".tdc";

LibraryResult refused(std::string text) {
    return {false, {infoMessage(std::move(text))}};
}

}  // namespace

ProblemSetLibrary::ProblemSetLibrary(FileSystem& files, Folders& folders,
                                     std::filesystem::path dataDir)
    : files_(files), folders_(folders), dataDir_(std::move(dataDir)), tdcs_(dataDir_ / "tdcs") {}

std::filesystem::path ProblemSetLibrary::pathOf(const std::string& name) const {
    return tdcs_ / (name + kExtension);
}

// A hidden name without the extension, so that a half-written copy is never listed as a set.
std::filesystem::path ProblemSetLibrary::scratchOf(const std::string& name) const {
    return tdcs_ / ("." + name + ".tmp");
}

std::vector<ProblemSetEntry> ProblemSetLibrary::list() {
    std::vector<ProblemSetEntry> entries;
    for (const std::string& file : folders_.fileNames(tdcs_)) {
        if (!file.ends_with(kExtension) || file.size() == std::string_view(kExtension).size()) {
            continue;
        }
        const std::string name = file.substr(0, file.size() - std::string_view(kExtension).size());
        const ProblemSetDocument document = load(name);
        entries.push_back({name, document.title, static_cast<int>(document.items.size())});
    }
    return entries;
}

ProblemSetDocument ProblemSetLibrary::load(const std::string& name) {
    const FileSystem::ReadResult file = files_.readFile(pathOf(name), kMaxProblemSetFileBytes);
    if (file.status != FileSystem::ReadStatus::Ok) return {};
    return readProblemSetForEditing(file.bytes);
}

std::optional<std::string> ProblemSetLibrary::newNameProblem(const std::string& name) {
    if (auto problem = setNameProblem(name)) return problem;
    if (folders_.exists(pathOf(name))) return "「" + name + "」という問題集はもうあります";
    return std::nullopt;
}

LibraryResult ProblemSetLibrary::write(const std::string& name, std::string_view bytes) {
    // Replacing would only need the folder's permission; the learner's mark on the file wins.
    if (folders_.isReadOnly(pathOf(name))) {
        return refused("問題集のファイルが読み取り専用のため、保存しませんでした:\n" +
                       pathOf(name).string());
    }
    if (!folders_.makeDirectory(tdcs_) ||
        !replaceContents(files_, pathOf(name), scratchOf(name), bytes)) {
        return refused("問題集を保存できませんでした:\n" + pathOf(name).string());
    }
    return {true, {}};
}

LibraryResult ProblemSetLibrary::create(const std::string& name) {
    if (const auto problem = newNameProblem(name)) return refused(*problem);
    return write(name, writeProblemSet({titleFromName(name), {}}));
}

LibraryResult ProblemSetLibrary::copy(const std::string& from, const std::string& to) {
    if (const auto problem = newNameProblem(to)) return refused(*problem);
    const FileSystem::ReadResult file = files_.readFile(pathOf(from), kMaxProblemSetFileBytes);
    if (file.status != FileSystem::ReadStatus::Ok) {
        return refused("問題集を読めませんでした:\n" + pathOf(from).string());
    }
    return write(to, file.bytes);
}

LibraryResult ProblemSetLibrary::rename(const std::string& from, const std::string& to,
                                        Settings& settings) {
    if (const auto problem = newNameProblem(to)) return refused(*problem);
    if (!files_.replace(pathOf(from), pathOf(to))) {
        return refused("名前を変えられませんでした:\n" + pathOf(from).string());
    }
    if (settings.problem_set_name != utf8ToCp932(from)) return {true, {}};
    return saveCurrent(settings, utf8ToCp932(to));
}

LibraryResult ProblemSetLibrary::remove(const std::string& name, Settings& settings) {
    if (!files_.remove(pathOf(name))) {
        return refused("問題集を削除できませんでした:\n" + pathOf(name).string());
    }
    if (settings.problem_set_name != utf8ToCp932(name)) return {true, {}};
    return saveCurrent(settings, {});
}

LibraryResult ProblemSetLibrary::save(const std::string& name, const ProblemSetDocument& document) {
    if (const auto problem = setNameProblem(name)) return refused(*problem);
    if (const auto problem = documentProblem(document)) return refused(*problem);
    return write(name, writeProblemSet(document));
}

LibraryResult ProblemSetLibrary::choose(const std::string& name, Settings& settings) {
    if (const auto problem = setNameProblem(name)) return refused(*problem);
    Settings trial = settings;
    trial.problem_set_name = utf8ToCp932(name);
    ProblemSet scratch;
    ProblemSetLoad load = LoadProblemSet(scratch, files_, dataDir_, trial);
    if (!load.ok) return {false, std::move(load.messages)};
    // The menu and the label follow only a name the settings file really holds.
    LibraryResult saved = saveCurrent(trial, trial.problem_set_name);
    if (saved.ok) settings = std::move(trial);
    return saved;
}

LibraryResult ProblemSetLibrary::saveCurrent(Settings& settings, Bytes currentName) {
    settings.problem_set_name = std::move(currentName);
    if (!SaveSettings(settings, files_, dataDir_)) {
        return refused("設定ファイルに書けませんでした:\n" +
                       (dataDir_ / kSettingsFileName).string());
    }
    return {true, {}};
}

}  // namespace kestrum
