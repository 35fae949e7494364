// The company database schema (version 1): several company data in one SQLite file. The
// tables and their meaning are described in ledvia/README.md.
#pragma once

#include <sqlite3.h>

#include <string>

namespace ledvia {

constexpr int kSchemaVersion = 1;

// Creates the file at `path` afresh (an existing file is replaced) with the tables of the
// schema but without the secondary indexes, and opens it read-write into `*db`. 0 on success,
// else a failure code with `*error` set.
int CreateCompanyDatabase(const std::string& path, sqlite3** db, std::string* error);
// Adds the secondary indexes; done after bulk loading, which is much faster that way.
int CreateCompanyIndexes(sqlite3* db, std::string* error);
// Whether `db` holds every table of the schema.
bool HasCompanyTables(sqlite3* db);

}  // namespace ledvia
