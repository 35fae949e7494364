// The company database the session is attached to. ClAccConnect::Initiate opens it
// (read-only) and ClAccConnect::Release closes it; every business-core object reads the open
// company data through it, all in one read transaction from the open to the close, so that an
// export sees one state of the data however other processes change it meanwhile. Internal to the
// ledvia library: the program never sees SQLite.
#pragma once

#include <string>

struct sqlite3;

namespace ledvia {

// The database file the session attaches to: LEDVIA_DATA when set, else the bundled sample,
// sample/ledvia-sample.db in the program's folder (build/bin/, or the installed program folder).
std::string CompanyDatabasePath();

// Opens `path` read-only as the session's database (see OpenCompanyFile: only a regular file
// holding a company database of a schema version this library reads). 0 on success; else a
// nonzero code, the database stays closed, and `*reason` (when given) says why in one line.
int OpenCompanyDatabase(const std::string& path, std::string* reason = nullptr);
void CloseCompanyDatabase();
// The open database, or nullptr before Initiate / after Release.
sqlite3* CompanyDatabase();
// Whether the open database keeps the journal summaries (schema version 2 and later), which
// the summing calls then read instead of the journal.
bool CompanyDatabaseHasSummaries();
// Whether it keeps the journal's sides summed by tax category (schema version 3 and later).
bool CompanyDatabaseHasSideTotals();
// Whether it keeps the sides summed by department and the taxed sides summed by rate (schema
// version 4 and later) instead of the wider account totals of versions 2 and 3.
bool CompanyDatabaseHasDepartmentTotals();
// A number that changes with every successful open, so that state chosen in one session (a
// set object's data id) is not carried into the next one.
unsigned CompanyDatabaseGeneration();

}  // namespace ledvia
