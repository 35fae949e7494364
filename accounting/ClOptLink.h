// Link-option object of the common library; rule and save objects attach to it. The program
// never looks inside.
#pragma once

class ClOptLink {
 public:
  int LinkOptions() const { return 0; }
};
