#include "app/edition.h"

#include <cstring>

namespace {

constexpr Edition kEditions[] = {
    {"moravel", ClSysEnvMgr::APPTYPE_ARVELLE, "Ledvia２０ Arvelle", "Moravel.env"},
    {"tessaly", ClSysEnvMgr::APPTYPE_STANDARD, "Ledvia２０", "Tessaly.env"},
    {"brenwick", ClSysEnvMgr::APPTYPE_TIVERNO, "Ledvia２０ Tiverno", "Brenwick.env"},
};

}  // namespace

std::span<const Edition> Editions() { return kEditions; }

const Edition* EditionNamed(const char* name) {
  for (const Edition& edition : kEditions) {
    if (name != nullptr && std::strcmp(edition.name, name) == 0) return &edition;
  }
  return nullptr;
}
