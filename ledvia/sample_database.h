// The bundled sample company database; its contents are listed in ledvia/README.md.
#pragma once

#include <string>

namespace ledvia {

// Writes the sample database to `path` (replacing a company database there, see
// CompanyWriter::Create). 0 on success, else a failure code with `*error` set.
int WriteSampleDatabase(const std::string& path, std::string* error);

}  // namespace ledvia
