#include "ledvia/company_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "ledvia/schema.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

constexpr int kDefaultBusyTimeoutMs = 5000;

// The reason for a SQLite failure while the file is first read.
std::string DatabaseReason(sqlite3* db, int rc) {
  int primary = rc & 0xff;
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) return "locked by another process";
  if (primary == SQLITE_NOTADB) return "not a company database";
  if (primary == SQLITE_CORRUPT) {
    return std::string("a damaged company database (") +
           (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + ")";
  }
  return db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
}

// The schema version recorded in `db`: 0 with `*version` set, else a failure code and reason.
int ReadSchemaVersion(sqlite3* db, int* version, std::string* reason) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, "SELECT value FROM ledvia_meta WHERE key = 'schema_version'", -1,
                              &stmt, nullptr);
  if (rc != SQLITE_OK) {
    // Without the table this is some other SQLite database.
    *reason = (rc & 0xff) == SQLITE_ERROR ? "not a company database" : DatabaseReason(db, rc);
    return (rc & 0xff) == SQLITE_ERROR ? kBadData : DatabaseCode(rc);
  }
  rc = sqlite3_step(stmt);
  int code = kOk;
  if (rc == SQLITE_ROW && sqlite3_column_type(stmt, 0) == SQLITE_INTEGER) {
    *version = sqlite3_column_int(stmt, 0);
  } else if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
    *reason = "not a company database (no schema version)";
    code = kBadData;
  } else {
    *reason = DatabaseReason(db, rc);
    code = DatabaseCode(rc);
  }
  sqlite3_finalize(stmt);
  return code;
}

// Starts the read transaction the connection keeps until it is closed. A deferred BEGIN takes
// no snapshot (WAL) and no shared lock (rollback journal) until something is read, so a read
// follows at once: from here on every read sees the state the database had at this moment,
// however many commits other processes make while the connection is open.
int BeginReading(sqlite3* db) {
  int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_exec(db, "SELECT COUNT(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
  }
  return rc;
}

// The first finding of one quick_check pragma, empty when it finds nothing wrong.
std::string FirstFinding(sqlite3* db, const std::string& pragma) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, pragma.c_str(), -1, &stmt, nullptr);
  std::string finding;
  if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(stmt, 0);
    finding = text != nullptr ? reinterpret_cast<const char*>(text) : "no answer";
    if (finding == "ok") finding.clear();
    // One line: the finding without the name of the schema it was found in.
    constexpr std::string_view kSchemaLine = "*** in database main ***\n";
    if (finding.starts_with(kSchemaLine)) finding.erase(0, kSchemaLine.size());
    std::replace(finding.begin(), finding.end(), '\n', ' ');
  } else {
    finding = sqlite3_errmsg(db);
  }
  sqlite3_finalize(stmt);
  return finding;
}

// SQLite's own check of the pages the exports read: empty when it finds nothing wrong, else its
// first finding. A damaged page must be refused here, not met halfway through an export. Where
// the summaries answer every sum (version 3 on), the journal itself is left out: checking it would
// make opening cost what the journal costs, the one thing the summaries are there to avoid. A
// damaged journal page met later still ends the read as a damaged database, never as a figure.
std::string QuickCheck(sqlite3* db, int version) {
  if (version < 3) return FirstFinding(db, "PRAGMA quick_check(1)");
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(
      db, "SELECT name FROM sqlite_schema WHERE type = 'table' AND name <> 'journal'", -1, &stmt,
      nullptr);
  std::vector<std::string> tables{"sqlite_schema"};
  while (rc == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
    tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
  }
  std::string finding = rc == SQLITE_OK ? std::string() : sqlite3_errmsg(db);
  sqlite3_finalize(stmt);
  for (std::size_t i = 0; i < tables.size() && finding.empty(); ++i) {
    char* pragma = sqlite3_mprintf("PRAGMA quick_check(\"%w\")", tables[i].c_str());
    finding = pragma != nullptr ? FirstFinding(db, pragma) : "out of memory";
    sqlite3_free(pragma);
  }
  return finding;
}

}  // namespace

int BusyTimeoutMs() {
  const char* configured = std::getenv("LEDVIA_BUSY_TIMEOUT");
  if (configured == nullptr || *configured == '\0') return kDefaultBusyTimeoutMs;
  char* end = nullptr;
  long ms = std::strtol(configured, &end, 10);
  if (*end != '\0' || ms < 0 || ms > 3600000) return kDefaultBusyTimeoutMs;
  return static_cast<int>(ms);
}

int OpenCompanyFile(const std::string& path, CompanyFile* file, std::string* reason) {
  *file = CompanyFile();
  struct stat status {};
  // SQLite would open whatever the path names; a named pipe would block the open for good.
  if (path.empty()) {
    *reason = "no file named";
    return kBadArgument;
  }
  if (stat(path.c_str(), &status) != 0) {
    *reason = errno == ENOENT ? "no such file" : std::strerror(errno);
    return errno == ENOENT ? kNotFound : kBadArgument;
  }
  if (S_ISDIR(status.st_mode)) {
    *reason = "a folder, not a company database";
    return kBadArgument;
  }
  if (!S_ISREG(status.st_mode)) {
    *reason = "not a regular file";
    return kBadArgument;
  }
  if (status.st_size == 0) {
    *reason = "an empty file, not a company database";
    return kBadData;
  }
  sqlite3* db = nullptr;
  // One thread at a time uses a connection, so it needs no lock of its own on every call.
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    *reason = DatabaseReason(db, rc);
    sqlite3_close(db);
    return DatabaseCode(rc);
  }
  sqlite3_busy_timeout(db, BusyTimeoutMs());
  // A company file may come from anywhere: nothing in it (a view, a trigger, a function call in
  // its schema) may make this connection do more than read it.
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_exec(db, "PRAGMA trusted_schema = OFF", nullptr, nullptr, nullptr);
  rc = BeginReading(db);
  if (rc != SQLITE_OK) {
    *reason = DatabaseReason(db, rc);
    sqlite3_close(db);
    return DatabaseCode(rc);
  }
  int version = 0;
  int code = ReadSchemaVersion(db, &version, reason);
  if (code == kOk && version < 1) {
    *reason = "not a company database (schema version " + std::to_string(version) + ")";
    code = kBadData;
  } else if (code == kOk && version > kSchemaVersion) {
    // A newer schema may have changed what this library reads; refuse it rather than misread it.
    *reason = "schema version " + std::to_string(version) + ", newer than this program reads (" +
              std::to_string(kSchemaVersion) + ")";
    code = kBadData;
  } else if (code == kOk) {
    std::string missing = MissingCompanyTable(db, version);
    std::string column = missing.empty() ? MissingCompanyColumn(db) : std::string();
    if (!missing.empty()) {
      *reason = "not a company database (no table " + missing + ")";
      code = kBadData;
    } else if (!column.empty()) {
      *reason = "not a company database (no column " + column + ")";
      code = kBadData;
    } else if (std::string damage = QuickCheck(db, version); !damage.empty()) {
      *reason = "a damaged company database (" + damage + ")";
      code = kBadData;
    }
  }
  if (code != kOk) {
    sqlite3_close(db);
    return code;
  }
  file->db = db;
  file->schemaVersion = version;
  return kOk;
}

void EndReading(sqlite3* db) {
  // A read transaction has nothing to write back: COMMIT only gives up the snapshot or lock.
  if (db != nullptr && sqlite3_get_autocommit(db) == 0) {
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  }
}

}  // namespace ledvia
