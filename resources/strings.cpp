#include "resources/strings.h"

std::string LoadResourceString(unsigned id) {
  switch (id) {
    case IDS_VERSION:
      return "20.00.00";
    default:
      return std::string();
  }
}
