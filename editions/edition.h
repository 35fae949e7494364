// The constants that make one program an edition of the exporter. Everything else is shared.
#pragma once

#include "accounting/ClSysEnvMgr.h"

struct Edition {
  ClSysEnvMgr::_AppType appType;  // told to the link session at start-up
  const char* programName;        // PROGRAMNAME default and the sixth-business-type message
  const char* settingsFileName;   // remembered output settings
};

// The edition this program was built as; each edition program links exactly one definition.
const Edition& CurrentEdition();

// Version information carried by every edition program.
struct EditionVersion {
  const char* fileVersion;     // "20.0.1.0"
  const char* productVersion;  // "20.01.00"
  const char* description;     // names the edition
};
const EditionVersion& CurrentEditionVersion();
