#pragma once

#include <chrono>

class QSqlDatabase;

namespace kestrum {

// The moment after which a statement on a connection is stopped; none while nothing is armed.
struct QueryDeadline {
    std::chrono::steady_clock::time_point at = std::chrono::steady_clock::time_point::max();
};

// Arms an open connection before it reads a page of the file: views, triggers and untrusted
// schema code off, defensive mode on, small limits on one value, one statement and attached
// files, and a progress check that stops a statement once `deadline` has passed. SQLite's
// calls are taken from the library Qt's plug-in loaded; without them only the PRAGMA defences
// hold, and the answer is false.
bool armConnection(QSqlDatabase& db, const QueryDeadline& deadline);

// Sets the deadline `budget` from now for as long as it lives.
class QueryBudget {
public:
    QueryBudget(QueryDeadline& deadline, std::chrono::milliseconds budget);
    ~QueryBudget();
    QueryBudget(const QueryBudget&) = delete;
    QueryBudget& operator=(const QueryBudget&) = delete;

private:
    QueryDeadline& deadline_;
    std::chrono::steady_clock::time_point previous_;
};

}  // namespace kestrum
