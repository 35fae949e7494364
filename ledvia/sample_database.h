// The bundled sample company database and generated companies for benchmarks. The contents
// are listed in ledvia/README.md.
#pragma once

#include <cstdint>
#include <string>

namespace ledvia {

// Writes the sample database to `path` (replacing a file there). 0 on success, else a failure
// code with `*error` set.
int WriteSampleDatabase(const std::string& path, std::string* error);

// Writes one general-taxation corporation (data 1, id "GEN0001", selected by "user1") with
// `entries` journal entries spread over its twelve months, deterministic for a given count.
int WriteGeneratedCompany(const std::string& path, std::int64_t entries, std::string* error);

}  // namespace ledvia
