#include "ledvia/company_database.h"

#include <sqlite3.h>

#include <cstdlib>

#include "ledvia/schema.h"

namespace ledvia {
namespace {

sqlite3* g_db = nullptr;
unsigned g_generation = 0;

// A company database carries its schema version in this table; anything else that SQLite can
// open (an empty file, another application's database) is refused.
bool HasCompanySchema(sqlite3* db) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT value FROM ledvia_meta WHERE key = 'schema_version'", -1,
                         &stmt, nullptr) != SQLITE_OK) {
    return false;
  }
  // A newer schema may have changed what this library reads; refuse it rather than misread it.
  bool ok = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) >= 1 &&
            sqlite3_column_int(stmt, 0) <= kSchemaVersion;
  sqlite3_finalize(stmt);
  return ok && HasCompanyTables(db);
}

}  // namespace

std::string CompanyDatabasePath() {
  const char* configured = std::getenv("LEDVIA_DATA");
  if (configured != nullptr && *configured != '\0') return configured;
  return LEDVIA_DEFAULT_DATA;
}

int OpenCompanyDatabase(const std::string& path) {
  CloseCompanyDatabase();
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (rc != SQLITE_OK || !HasCompanySchema(db)) {
    sqlite3_close(db);
    return rc != SQLITE_OK ? 1000 + rc : 1000 + SQLITE_NOTADB;
  }
  g_db = db;
  ++g_generation;
  return 0;
}

void CloseCompanyDatabase() {
  // A rule object may still hold a cursor; the connection then goes once that is finalized
  // instead of staying open for good.
  if (g_db != nullptr) sqlite3_close_v2(g_db);
  g_db = nullptr;
}

sqlite3* CompanyDatabase() { return g_db; }

unsigned CompanyDatabaseGeneration() { return g_generation; }

}  // namespace ledvia
