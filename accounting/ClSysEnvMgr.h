// System environment library (Tobrel): the application types the link session is told.
#pragma once

class ClSysEnvMgr {
 public:
  enum _AppType {
    APPTYPE_STANDARD = 0,  // Ledvia 20 standard edition
    APPTYPE_TIVERNO = 3,   // Tiverno edition
    APPTYPE_ARVELLE = 4,   // Arvelle edition
  };
};
