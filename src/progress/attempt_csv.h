#pragma once

class QIODevice;

namespace kestrum {

class AttemptStore;

// Every attempt as CSV for a spreadsheet, written in pieces as they are read: UTF-8 with a
// byte-order mark, a header row of the column names, one row per attempt, lines ending CR LF;
// started_at in UTC and beside it the same moment in local time. A field with a comma, a quote
// or a line break is quoted, its quotes doubled; a text a spreadsheet would take for a formula
// (one starting with = + - @, a tab or a carriage return, or their full-width forms) is quoted
// behind an apostrophe, so that it stays text. False when the store or `out` failed.
bool exportAttemptsCsv(AttemptStore& store, QIODevice& out);

}  // namespace kestrum
