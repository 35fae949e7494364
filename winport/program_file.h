// Where the running program lives, as a Linux path. Links are resolved: a program started
// through a link in a bin/ folder answers with the folder that really holds it, where its side
// files (definition file, sample database) are installed beside it as they are in a build.
#pragma once

#include <string>

namespace winport {

// The program's own file; empty when the system cannot say.
std::string ProgramFile();

// `name` (a relative path) in the program's folder; `name` alone when ProgramFile() is empty.
std::string BesideProgram(const std::string& name);

}  // namespace winport
