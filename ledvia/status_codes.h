// Result codes of the business-core stand-in. 0 and 5000 (end of data) are the library's
// convention; everything else is a failure the message library records.
#pragma once

namespace ledvia {

constexpr int kOk = 0;
constexpr int kEndOfData = 5000;
constexpr int kNoSession = 5101;     // no company database attached
constexpr int kBadArgument = 5102;   // null pointer, value out of range
constexpr int kNotFound = 5103;      // unknown user, data id or record
constexpr int kNotReady = 5104;      // cursor not prepared, or unknown cursor number
constexpr int kBadFind = 5105;       // find record with an item, operator or value it cannot read
constexpr int kBadData = 5106;       // the company database holds a value outside its schema
constexpr int kDatabaseBase = 5300;  // 5300 + SQLite's primary result code

// The failure code for a SQLite result code other than OK, ROW and DONE.
inline int DatabaseCode(int sqliteCode) { return kDatabaseBase + (sqliteCode & 0xff); }

}  // namespace ledvia
