// What each edition program's own file gives it: the name of its edition, which main() hands
// to the application object, and its version information as a NUL-separated "key=value" block
// in the ELF section .qlversion, the Linux counterpart of a Windows version resource
// (readelf -p .qlversion PROGRAM shows it).
#pragma once

#define QL_FILE_VERSION "20.0.1.0"
#define QL_PRODUCT_VERSION "20.01.00"

// The edition this program is (an Edition's name, app/edition.h).
extern const char kEditionName[];

#define QL_EDITION_PROGRAM(name, internalName, description)                           \
  extern const char kEditionName[] = name;                                            \
  __attribute__((section(".qlversion"), used)) static const char kVersionResource[] = \
      "FileVersion=" QL_FILE_VERSION "\0ProductVersion=" QL_PRODUCT_VERSION           \
      "\0InternalName=" internalName "\0FileDescription=" description "\0";
