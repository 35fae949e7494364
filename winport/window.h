// Windows of other processes: posting a message to a window, enabling it and bringing it to the
// foreground, as the program does with the window of the accounting product that started it.
//
// A window is a registration of some process in the user's window folder (window_folder.h):
// one datagram socket per window, named by its handle. A handle is a positive number that fits
// in a signed 32-bit value, so it survives the trip through a command line and atol. The
// functions below send to that socket and never wait long; a handle nobody registered is
// simply not a window. The receiving side is winport::WindowRegistration.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "winport/win32_types.h"

constexpr UINT WM_USER = 0x0400;

// Queues `message` with both parameters (all 64 bits of each) for `window` and returns at
// once. Returns TRUE when queued; FALSE when `window` is not a registered window, when its
// queue stays full for about a quarter of a second (Win32 also fails on a full queue), or when
// the window folder cannot be trusted. Unlike Win32, a null window does not post to the
// calling thread and HWND_BROADCAST (0xFFFF) reaches nobody: both return FALSE.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Enables or disables `window` and tells it so (every call is delivered, also one that does not
// change the state). As in Win32 the result is the state before the call: nonzero when the
// window was disabled, zero when it was enabled. A window starts enabled. FALSE also when
// `window` is not a window, as in Win32.
BOOL EnableWindow(HWND window, BOOL enable);

// Asks `window` to come to the foreground. TRUE when the request was delivered; FALSE when
// `window` is not a window. There is no foreground lock: a delivered request always succeeds.
BOOL SetForegroundWindow(HWND window);

// TRUE when `window` names a live registration.
BOOL IsWindow(HWND window);

namespace winport {

// One thing sent to a registered window.
struct WindowEvent {
  enum class Kind { Posted, Enable, Foreground };
  Kind kind = Kind::Posted;
  UINT message = 0;    // Posted
  WPARAM wParam = 0;   // Posted
  LPARAM lParam = 0;   // Posted
  bool enable = true;  // Enable: the state asked for
};

// A window of this process that other processes (and this one) can send to. The handle stays
// registered until the object is destroyed; a process that dies without destroying it leaves a
// stale socket file, which the next registration in the folder removes.
class WindowRegistration {
 public:
  // Registers a new window in WindowFolder(), creating the folder when missing. Returns null
  // and sets *error (when not null) to a one-line reason when the folder cannot be trusted or
  // the socket cannot be made.
  static std::unique_ptr<WindowRegistration> Create(std::string* error);
  // The same in a given folder (tests; a folder other than WindowFolder() is not reached by
  // PostMessageA and friends).
  static std::unique_ptr<WindowRegistration> CreateIn(const std::string& folder,
                                                      std::string* error);

  ~WindowRegistration();
  WindowRegistration(const WindowRegistration&) = delete;
  WindowRegistration& operator=(const WindowRegistration&) = delete;

  // The window's handle, unique among the live registrations of the folder.
  HWND Handle() const;

  // Waits up to `timeoutMs` milliseconds (0: only look; negative: without limit) for the next
  // event, in the order they were sent. Malformed datagrams are dropped. Empty on timeout.
  std::optional<WindowEvent> Receive(int timeoutMs);

 private:
  WindowRegistration(std::string folder, std::int32_t handle, int socket);

  std::string folder_;
  std::int32_t handle_;
  int socket_;
};

}  // namespace winport
