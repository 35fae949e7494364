// The company database the session is attached to. ClAccConnect::Initiate opens it
// (read-only) and ClAccConnect::Release closes it; every business-core object reads the open
// company data through it. Internal to the ledvia library: the program never sees SQLite.
#pragma once

#include <string>

struct sqlite3;

namespace ledvia {

// The database file the session attaches to: LEDVIA_DATA when set, else the bundled sample.
std::string CompanyDatabasePath();

// Opens `path` read-only and checks that it is a company database of a schema version this
// library reads. 0 on success, else a nonzero code (and the database stays closed).
int OpenCompanyDatabase(const std::string& path);
void CloseCompanyDatabase();
// The open database, or nullptr before Initiate / after Release.
sqlite3* CompanyDatabase();
// A number that changes with every successful open, so that state chosen in one session (a
// set object's data id) is not carried into the next one.
unsigned CompanyDatabaseGeneration();

}  // namespace ledvia
