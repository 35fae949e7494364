// Brenwick: the Tiverno edition of the exporter.
#include "editions/edition_program.h"

QL_EDITION_PROGRAM("brenwick", "Brenwick", "消費税連動 Brenwick (Tiverno edition)")
