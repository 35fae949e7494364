// Reading the data list of a company database file, for tools (not through the session).
#pragma once

#include <string>
#include <vector>

namespace ledvia {

struct DataListRow {
  int dataNo = 0;
  std::string dataId;
  std::string companyName;  // code page 932
  int periodStart = 0;
  int periodEnd = 0;
  int taxationKind = 0;
  int entityKind = 0;
  int dataKind = 0;
  int interimClosing = 0;
  std::string users;  // the users whose selection opens this data, comma-separated
};

// Opens `path` read-only with a connection of its own and reads every data. 0 on success;
// else a failure code and a one-line `*error` (missing file, not a company database...).
int ReadDataList(const std::string& path, std::vector<DataListRow>* rows, std::string* error);

}  // namespace ledvia
