// Tessaly: the standard edition of the exporter.
#include "editions/edition.h"
#include "editions/version_section.h"

const Edition& CurrentEdition() {
  static const Edition edition{ClSysEnvMgr::APPTYPE_STANDARD, "Ledvia２０", "Tessaly.env"};
  return edition;
}

QL_EDITION_VERSION("Tessaly", "消費税連動 Tessaly (standard edition)")
