#include "progress/sqlite_defences.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include <dlfcn.h>
#include <sqlite3.h>

namespace kestrum {

namespace {

// The statement count between two looks at the clock: a few microseconds of work.
constexpr int kProgressStep = 10000;

// SQLite's calls from the very library the plug-in uses (never a second copy), or none.
struct SqliteCalls {
    decltype(&sqlite3_db_config) dbConfig = nullptr;
    decltype(&sqlite3_limit) limit = nullptr;
    decltype(&sqlite3_progress_handler) progressHandler = nullptr;

    static const SqliteCalls& get() {
        static const SqliteCalls calls = [] {
            SqliteCalls found;
            void* library = dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_NOLOAD);
            if (library == nullptr) return found;
            found.dbConfig =
                reinterpret_cast<decltype(dbConfig)>(dlsym(library, "sqlite3_db_config"));
            found.limit = reinterpret_cast<decltype(limit)>(dlsym(library, "sqlite3_limit"));
            found.progressHandler = reinterpret_cast<decltype(progressHandler)>(
                dlsym(library, "sqlite3_progress_handler"));
            return found;
        }();
        return calls;
    }
    bool complete() const { return dbConfig && limit && progressHandler; }
};

sqlite3* handleOf(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

int stopPastDeadline(void* context) {
    const auto* deadline = static_cast<const QueryDeadline*>(context);
    return std::chrono::steady_clock::now() > deadline->at ? 1 : 0;
}

// Our rows are short texts and small numbers; nothing of ours comes near these.
void limit(const SqliteCalls& calls, sqlite3* db) {
    calls.limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
    calls.limit(db, SQLITE_LIMIT_SQL_LENGTH, 1 << 16);
    calls.limit(db, SQLITE_LIMIT_COLUMN, 64);
    calls.limit(db, SQLITE_LIMIT_EXPR_DEPTH, 64);
    calls.limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 4);
    calls.limit(db, SQLITE_LIMIT_VDBE_OP, 10000);
    calls.limit(db, SQLITE_LIMIT_FUNCTION_ARG, 8);
    calls.limit(db, SQLITE_LIMIT_ATTACHED, 0);
    calls.limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 64);
    calls.limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 1);
    calls.limit(db, SQLITE_LIMIT_WORKER_THREADS, 0);
}

}  // namespace

bool armConnection(QSqlDatabase& db, const QueryDeadline& deadline) {
    QSqlQuery pragma(db);
    for (const char* sql : {"PRAGMA trusted_schema = OFF", "PRAGMA cell_size_check = ON"})
        pragma.exec(QString::fromLatin1(sql));

    const SqliteCalls& calls = SqliteCalls::get();
    sqlite3* handle = handleOf(db);
    if (!calls.complete() || handle == nullptr) return false;
    for (const int option : {SQLITE_DBCONFIG_ENABLE_TRIGGER, SQLITE_DBCONFIG_ENABLE_VIEW,
                             SQLITE_DBCONFIG_TRUSTED_SCHEMA, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION})
        calls.dbConfig(handle, option, 0, nullptr);
    calls.dbConfig(handle, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    limit(calls, handle);
    calls.progressHandler(handle, kProgressStep, stopPastDeadline,
                          const_cast<QueryDeadline*>(&deadline));
    return true;
}

QueryBudget::QueryBudget(QueryDeadline& deadline, std::chrono::milliseconds budget)
    : deadline_(deadline), previous_(deadline.at) {
    deadline_.at = std::min(previous_, std::chrono::steady_clock::now() + budget);
}

QueryBudget::~QueryBudget() {
    deadline_.at = previous_;
}

}  // namespace kestrum
