// What every business-core object needs from the attached session: the open database, the
// current user and the company data that user selected.
#pragma once

#include <sqlite3.h>

#include <string>

namespace ledvia {

// LEDVIA_USER when set and not empty, else "user1" (the sample's general-taxation company).
std::string CurrentUserId();
// The data number selected by the current user: 0 or a failure code.
int SelectedDataNo(int* dataNo);
// The data number of data id `dataId`: 0, kNotFound or a failure code.
int DataNoForId(const char* dataId, int* dataNo);

}  // namespace ledvia
