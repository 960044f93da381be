#pragma once

#include <string>

class QSqlError;

namespace kestrum {

// Why the attempt store could not do what it was asked, as far as the learner can act on it.
enum class StoreFault {
    None,
    Busy,      // another program holds the file locked
    ReadOnly,  // the file or its folder may not be written
    DiskFull,
    Io,          // the system could not read or write the file
    CannotOpen,  // no file can be opened there (a folder in its place, a missing folder)
    OutOfMemory,
    TooSlow,   // a query ran past its time budget and was stopped
    Damaged,   // SQLite found the file is not a database, or a damaged page
    NoDriver,  // Qt's SQLite plug-in is not installed
    Newer,     // a later version of the program made the file
    CannotSetAside,
    Other,
};

// What the store's last answer is worth to a window that shows it.
enum class StoreHealth {
    Keeps,       // read and written: the answer is the whole history
    Waits,       // read, but attempts wait in memory to be written (included in the answer)
    CannotRead,  // nothing could be read: an empty answer means nothing
};

// The fault an SQLite result code (primary or extended) stands for.
StoreFault faultOfSqliteCode(int code);
// The fault of a failed Qt SQL call: its driver's native code, else a generic failure.
StoreFault faultOf(const QSqlError& error);

// Only a file proven damaged is renamed aside; any other fault leaves it exactly as it is.
inline bool provesDamage(StoreFault fault) {
    return fault == StoreFault::Damaged;
}

// The reason, in Japanese, to follow the file's name ("成績の記録ファイル kestrum.sqlite3 は…").
std::string faultReason(StoreFault fault);

}  // namespace kestrum
