// The constants that make one program an edition of the exporter. Everything else is shared:
// each edition program hands its edition to the application object (editions/main.cpp).
#pragma once

#include <span>

#include "accounting/ClSysEnvMgr.h"

struct Edition {
  const char* name;               // the program's file name: "moravel", "tessaly", "brenwick"
  ClSysEnvMgr::_AppType appType;  // told to the link session at start-up
  const char* programName;        // PROGRAMNAME default and the sixth-business-type message
  const char* settingsFileName;   // remembered output settings
};

// The three editions: Moravel (Arvelle edition), Tessaly (standard), Brenwick (Tiverno).
std::span<const Edition> Editions();
// The edition whose program is called `name`; nullptr for any other name.
const Edition* EditionNamed(const char* name);
