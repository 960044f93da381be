#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

// One entry of a store file's sqlite_master: a table, an index, a view or a trigger.
struct SchemaObject {
    std::string type;
    std::string name;
    std::string sql;

    bool operator==(const SchemaObject&) const = default;
    auto operator<=>(const SchemaObject&) const = default;
};

// The schema's current version (PRAGMA user_version) and the application id of our files
// (PRAGMA application_id, "KSTR").
inline constexpr std::int32_t kStoreSchemaVersion = 3;
inline constexpr std::int32_t kStoreApplicationId = 0x4B535452;

// What one version added: its objects, each with the statement that creates it, and the
// statements that fill them from what a file of the version before already holds.
struct SchemaStep {
    std::vector<SchemaObject> objects;
    std::vector<std::string> fill;
};

// Version 1 first; a file of version v holds exactly the objects of the first v steps.
const std::vector<SchemaStep>& schemaSteps();

// What a file's header and schema say about it, read without touching its pages of data.
enum class FileVerdict {
    Ours,          // our current schema: use it
    NeedsSchema,   // ours or a new file, with no objects yet: create the schema
    NeedsUpgrade,  // ours, from an earlier version: add what later versions added
    Newer,         // ours, from a later version: leave it alone
    Foreign,       // another program's, or holds objects we never create: set it aside
};

FileVerdict judgeFile(std::int32_t applicationId, std::int32_t userVersion,
                      std::vector<SchemaObject> objects);

}  // namespace kestrum
