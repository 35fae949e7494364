// The accounting product's current user and the company data that user has selected.
// The user is taken from the environment variable LEDVIA_USER ("user1" when unset).
#pragma once

constexpr int kUserIdMax = 64;

class ClSysUser {
 public:
  // Copies the current user id (at most 64 bytes) and a terminating NUL into `userId`, which
  // must hold 65 bytes. 0 on success.
  int GetCurUserID(char* userId);
  // The two selection numbers of `userId`: `first` the data group, `second` the data number
  // (StDATAINFO offset 16) of the selected company data. 0 on success; on failure (no such
  // user, no session) both stay untouched.
  int GetSelectedNo(const char* userId, int* first, int* second);
};
