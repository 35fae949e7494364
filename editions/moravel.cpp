// Moravel: the Arvelle edition of the exporter.
#include "editions/edition_program.h"

QL_EDITION_PROGRAM("moravel", "Moravel", "消費税連動 Moravel (Arvelle edition)")
