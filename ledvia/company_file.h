// Opening a company database file, for the session, the tools and a writer about to replace
// one. A refusal comes with a one-line reason; the caller names the file.
#pragma once

#include <sqlite3.h>

#include <string>

namespace ledvia {

// How long a connection waits for a lock another process holds on the database before it
// gives up: LEDVIA_BUSY_TIMEOUT in milliseconds when set to a number, else 5000.
int BusyTimeoutMs();

struct CompanyFile {
  // Read-only connection inside one read transaction, which sees the database as it was when
  // opened until the caller ends it (EndReading) or closes the connection.
  sqlite3* db = nullptr;
  int schemaVersion = 0;
};

// Opens `path` read-only as a company database: a regular file (or a link to one) holding a
// schema of version 1 to kSchemaVersion with every table of that version. Anything else (a
// named pipe, a device, a folder) is refused before it is opened, so that it can neither block
// nor be read. Waits up to BusyTimeoutMs for another process's lock, and reads everything,
// the checks included, from the one state the file had then. 0 with `*file` filled;
// else a failure code (kNotFound: no such file; kBadArgument: not a regular file; kBadData: not
// a company database or a newer schema; kDatabaseBase + SQLite's code, SQLITE_BUSY when the
// lock was not given up in time) and `*reason` ("no such file", "locked by another process"...).
int OpenCompanyFile(const std::string& path, CompanyFile* file, std::string* reason);

// Ends the read transaction of an opened company file, so that other processes' commits are no
// longer held back by it; statements still open keep their rows until they are finalized.
void EndReading(sqlite3* db);

}  // namespace ledvia
