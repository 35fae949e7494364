#include "winport/sleep.h"

#include <sched.h>

#include <cerrno>
#include <ctime>

// <chrono> cannot be used here: its micro sign has no code page 932 form.
void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  timespec rest{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
  }
}
