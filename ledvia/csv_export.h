// Writes everything a company database holds as the CSV files that ImportCompanyCsv reads
// (ledvia/csv_tables.h): every company data with its chart, departments, journal, assets and
// saved figures, and every user. Files are UTF-8 with a byte-order mark (what spreadsheets take
// for UTF-8), lines end in CRLF.
#pragma once

#include <string>

namespace ledvia {

// Exports the company database at `path` into the folder `folder`, which must not exist or be
// empty: the files are written into a new folder beside it, which is renamed onto it when they
// are complete. A folder that holds anything, a link or a file there is left as it is. 0 on
// success, else a failure code with `*error` set.
int ExportCompanyCsv(const std::string& path, const std::string& folder, std::string* error);

}  // namespace ledvia
