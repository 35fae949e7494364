// Moravel: the Arvelle edition of the exporter.
#include "editions/edition.h"
#include "editions/version_section.h"

const Edition& CurrentEdition() {
  static const Edition edition{ClSysEnvMgr::APPTYPE_ARVELLE, "Ledvia２０ Arvelle", "Moravel.env"};
  return edition;
}

QL_EDITION_VERSION("Moravel", "消費税連動 Moravel (Arvelle edition)")
