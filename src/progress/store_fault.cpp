#include "progress/store_fault.h"

#include <QSqlError>

namespace kestrum {

namespace {

// SQLite's primary result codes; an extended code carries one in its low byte.
enum SqliteCode {
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kNoMem = 7,
    kReadOnly = 8,
    kInterrupt = 9,
    kIoErr = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kProtocol = 15,
    kNotADb = 26,
};

}  // namespace

StoreFault faultOfSqliteCode(int code) {
    switch (code & 0xff) {
        case kBusy:
        case kLocked:
        case kProtocol:
            return StoreFault::Busy;
        case kPerm:
        case kReadOnly:
            return StoreFault::ReadOnly;
        case kFull:
            return StoreFault::DiskFull;
        case kIoErr:
            return StoreFault::Io;
        case kCantOpen:
            return StoreFault::CannotOpen;
        case kNoMem:
            return StoreFault::OutOfMemory;
        case kInterrupt:
            return StoreFault::TooSlow;
        case kCorrupt:
        case kNotADb:
            return StoreFault::Damaged;
        default:
            return StoreFault::Other;
    }
}

StoreFault faultOf(const QSqlError& error) {
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber);
    return isNumber ? faultOfSqliteCode(code) : StoreFault::Other;
}

std::string faultReason(StoreFault fault) {
    switch (fault) {
        case StoreFault::None:
            return "使えます";
        case StoreFault::Busy:
            return "ほかのプログラムが使用中です";
        case StoreFault::ReadOnly:
            return "書き込みが許可されていません";
        case StoreFault::DiskFull:
            return "ディスクがいっぱいです";
        case StoreFault::Io:
            return "読み書きの途中でエラーが起きました";
        case StoreFault::CannotOpen:
            return "開けません";
        case StoreFault::OutOfMemory:
            return "メモリーが足りません";
        case StoreFault::TooSlow:
            return "読むのに時間がかかりすぎるため、途中でやめました";
        case StoreFault::Damaged:
            return "壊れています";
        case StoreFault::NoDriver:
            return "SQLite のドライバー（Qt の SQLite プラグイン）がないため使えません";
        case StoreFault::Newer:
            return "新しい版のプログラムで作られています";
        case StoreFault::CannotSetAside:
            return "壊れていますが、別の名前に変えられません";
        case StoreFault::Other:
            break;
    }
    return "予期しないエラーで使えません";
}

}  // namespace kestrum
