// Tessaly: the standard edition of the exporter.
#include "editions/edition_program.h"

QL_EDITION_PROGRAM("tessaly", "Tessaly", "消費税連動 Tessaly (standard edition)")
