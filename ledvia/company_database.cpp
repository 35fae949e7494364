#include "ledvia/company_database.h"

#include <sqlite3.h>

#include <cstdlib>

#include "ledvia/account_totals.h"
#include "ledvia/company_file.h"
#include "winport/program_file.h"

namespace ledvia {
namespace {

sqlite3* g_db = nullptr;
bool g_summaries = false;
bool g_sideTotals = false;
bool g_departmentTotals = false;
unsigned g_generation = 0;

}  // namespace

std::string CompanyDatabasePath() {
  const char* configured = std::getenv("LEDVIA_DATA");
  if (configured != nullptr && *configured != '\0') return configured;
  return winport::BesideProgram("sample/ledvia-sample.db");
}

int OpenCompanyDatabase(const std::string& path, std::string* reason) {
  CloseCompanyDatabase();
  CompanyFile file;
  std::string why;
  int code = OpenCompanyFile(path, &file, &why);
  if (code != 0) {
    if (reason != nullptr) *reason = why;
    return code;
  }
  g_db = file.db;
  g_summaries = file.schemaVersion >= 2;
  g_sideTotals = file.schemaVersion >= 3;
  g_departmentTotals = file.schemaVersion >= 4;
  ++g_generation;
  return 0;
}

void CloseCompanyDatabase() {
  // The export's one read transaction ends here. A rule object may still hold a cursor; the
  // connection then goes once that is finalized instead of staying open for good.
  EndReading(g_db);
  if (g_db != nullptr) sqlite3_close_v2(g_db);
  g_db = nullptr;
  ForgetAccountTotals();
  g_summaries = false;
  g_sideTotals = false;
  g_departmentTotals = false;
}

sqlite3* CompanyDatabase() { return g_db; }

bool CompanyDatabaseHasSummaries() { return g_db != nullptr && g_summaries; }

bool CompanyDatabaseHasSideTotals() { return g_db != nullptr && g_sideTotals; }

bool CompanyDatabaseHasDepartmentTotals() { return g_db != nullptr && g_departmentTotals; }

unsigned CompanyDatabaseGeneration() { return g_generation; }

}  // namespace ledvia
