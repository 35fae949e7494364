// Each edition program carries its version information twice: as data for the program
// itself, and as a NUL-separated "key=value" block in the ELF section .qlversion, the Linux
// counterpart of a Windows version resource (readelf -p .qlversion PROGRAM shows it).
#pragma once

#define QL_FILE_VERSION "20.0.1.0"
#define QL_PRODUCT_VERSION "20.01.00"

#define QL_EDITION_VERSION(internalName, description)                                      \
  __attribute__((section(".qlversion"), used)) static const char kVersionResource[] =      \
      "FileVersion=" QL_FILE_VERSION "\0ProductVersion=" QL_PRODUCT_VERSION                \
      "\0InternalName=" internalName "\0FileDescription=" description "\0";                \
  const EditionVersion& CurrentEditionVersion() {                                          \
    static const EditionVersion version{QL_FILE_VERSION, QL_PRODUCT_VERSION, description}; \
    return version;                                                                        \
  }
