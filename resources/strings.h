// The string table shared by all editions.
#pragma once

#include <string>

constexpr unsigned IDS_VERSION = 1;

// LoadString: the text of string resource `id`, empty when there is none.
std::string LoadResourceString(unsigned id);

// Caption of every message box the program shows, and the session's title.
inline constexpr char kMessageCaption[] = "消費税";
