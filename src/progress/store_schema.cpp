#include "progress/store_schema.h"

#include <algorithm>

namespace kestrum {

namespace {

// Tables SQLite itself may add to any file (ANALYZE, AUTOINCREMENT): they hold no code.
bool isSqliteBookkeeping(const SchemaObject& object) {
    return object.type == "table" &&
           (object.name == "sqlite_stat1" || object.name == "sqlite_stat4" ||
            object.name == "sqlite_sequence");
}

}  // namespace

const std::vector<SchemaStep>& schemaSteps() {
    static const std::vector<SchemaStep> steps = {
        {{
             {"table", "attempts",
              "CREATE TABLE attempts(id INTEGER PRIMARY KEY, started_at TEXT NOT NULL, "
              "kind INTEGER NOT NULL, lesson TEXT NOT NULL, speed INTEGER, accuracy INTEGER, "
              "duration_ms INTEGER, keys INTEGER, misses INTEGER)"},
             {"table", "key_stats",
              "CREATE TABLE key_stats(attempt_id INTEGER NOT NULL REFERENCES attempts(id), "
              "ch TEXT NOT NULL, hits INTEGER, misses INTEGER)"},
             {"index", "key_stats_by_attempt",
              "CREATE INDEX key_stats_by_attempt ON key_stats(attempt_id)"},
         },
         {}},
        // What the windows ask for: one lesson's attempts (in time order), and a span of dates.
        {{
             {"index", "attempts_by_lesson",
              "CREATE INDEX attempts_by_lesson ON attempts(kind, lesson, started_at)"},
             {"index", "attempts_by_date", "CREATE INDEX attempts_by_date ON attempts(started_at)"},
         },
         {}},
        // Sums kept up to date with every attempt written, so that what the windows draw costs
        // the same however long the history: each lesson's key counts, and the attempts of each
        // lesson and of all per local day of the zone named in days_zone (none: not summed yet).
        // An upgrade leaves each lesson's key counts pending, to be summed at its first read, so
        // that it costs no more than reading the lessons' names.
        {{
             {"table", "lesson_keys",
              "CREATE TABLE lesson_keys(kind INTEGER NOT NULL, lesson TEXT NOT NULL, "
              "ch TEXT NOT NULL, hits INTEGER NOT NULL, misses INTEGER NOT NULL, "
              "PRIMARY KEY(kind, lesson, ch)) WITHOUT ROWID"},
             {"table", "lesson_keys_pending",
              "CREATE TABLE lesson_keys_pending(kind INTEGER NOT NULL, lesson TEXT NOT NULL, "
              "PRIMARY KEY(kind, lesson)) WITHOUT ROWID"},
             {"table", "lesson_days",
              "CREATE TABLE lesson_days(kind INTEGER NOT NULL, lesson TEXT NOT NULL, "
              "day TEXT NOT NULL, attempts INTEGER NOT NULL, speed INTEGER NOT NULL, "
              "accuracy INTEGER NOT NULL, PRIMARY KEY(kind, lesson, day)) WITHOUT ROWID"},
             {"table", "all_days",
              "CREATE TABLE all_days(day TEXT NOT NULL PRIMARY KEY, attempts INTEGER NOT NULL, "
              "speed INTEGER NOT NULL, accuracy INTEGER NOT NULL) WITHOUT ROWID"},
             {"table", "days_zone", "CREATE TABLE days_zone(zone TEXT NOT NULL)"},
         },
         {"INSERT INTO lesson_keys_pending SELECT DISTINCT kind, lesson FROM attempts"}},
    };
    return steps;
}

FileVerdict judgeFile(std::int32_t applicationId, std::int32_t userVersion,
                      std::vector<SchemaObject> objects) {
    if (applicationId != 0 && applicationId != kStoreApplicationId) return FileVerdict::Foreign;
    std::erase_if(objects, isSqliteBookkeeping);
    if (objects.empty()) {
        const bool blank = applicationId == 0 && userVersion == 0;
        return blank || applicationId == kStoreApplicationId ? FileVerdict::NeedsSchema
                                                             : FileVerdict::Foreign;
    }
    if (applicationId == 0 || userVersion < 1) return FileVerdict::Foreign;
    if (userVersion > kStoreSchemaVersion) return FileVerdict::Newer;

    std::vector<SchemaObject> expected;
    for (int step = 0; step < userVersion; ++step) {
        const auto& added = schemaSteps()[static_cast<std::size_t>(step)].objects;
        expected.insert(expected.end(), added.begin(), added.end());
    }
    std::sort(expected.begin(), expected.end());
    std::sort(objects.begin(), objects.end());
    if (objects != expected) return FileVerdict::Foreign;
    return userVersion == kStoreSchemaVersion ? FileVerdict::Ours : FileVerdict::NeedsUpgrade;
}

}  // namespace kestrum
