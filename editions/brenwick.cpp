// Brenwick: the Tiverno edition of the exporter.
#include "editions/edition.h"
#include "editions/version_section.h"

const Edition& CurrentEdition() {
  static const Edition edition{ClSysEnvMgr::APPTYPE_TIVERNO, "Ledvia２０ Tiverno", "Brenwick.env"};
  return edition;
}

QL_EDITION_VERSION("Brenwick", "消費税連動 Brenwick (Tiverno edition)")
