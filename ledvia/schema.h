// The company database schema: several company data in one SQLite file. The tables and their
// meaning are described in ledvia/README.md.
#pragma once

#include <sqlite3.h>

#include <string>

namespace ledvia {

// The version written, and the newest read. Version 1 has no journal summaries, version 2 no
// side totals by tax category; the business core reads what they lack from the journal.
// Versions 2 and 3 keep the account totals that version 4 splits into two narrower sums.
constexpr int kSchemaVersion = 4;

// Creates the tables of the schema, the journal summaries with the triggers that keep them, and
// the version record in the empty database `db`, but not the secondary indexes. 0 on success,
// else a failure code with `*error` set. Without `triggers`, for a writer that fills the
// summaries itself and adds the triggers when it is done (CreateSummaryTriggers).
int CreateCompanyDatabase(sqlite3* db, std::string* error, bool triggers = true);
int CreateSummaryTriggers(sqlite3* db, std::string* error);
// Adds the secondary indexes; done after bulk loading, which is much faster that way.
int CreateCompanyIndexes(sqlite3* db, std::string* error);
// The first table a company database of schema `version` must hold and `db` lacks; empty when
// none is missing.
std::string MissingCompanyTable(sqlite3* db, int version);
// The first column of the base tables ("table.column") that the schema this library writes has
// and `db` lacks; empty when none is missing. A table made some other way would be misread.
std::string MissingCompanyColumn(sqlite3* db);

}  // namespace ledvia
