#include "winport/window.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>
#include <utility>

#include "winport/user_windows.h"
#include "winport/window_folder.h"

namespace winport {
namespace {

constexpr std::int64_t kLargestHandle = 0x7FFFFFFF;
// New handles are drawn from the range real window handles usually have: readable numbers,
// clear of the special values below 0x10000 (HWND_BROADCAST is 0xFFFF).
constexpr std::int32_t kFirstNewHandle = 0x10000;
constexpr std::int32_t kLastNewHandle = 0xFFFFFF;
constexpr int kHandleAttempts = 64;
// How long a sender keeps trying while the window's queue is full.
constexpr std::int64_t kFullQueuePatienceMs = 250;

// Wire form of one event: magic, kind, message, enable, wParam, lParam, native byte order (both
// ends are on this machine).
constexpr char kMagic[4] = {'W', 'P', 'E', '1'};
constexpr std::size_t kWireSize = 32;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// <chrono> cannot be compiled with the code page 932 execution character set (it spells
// microseconds with a character that code page lacks), so time comes from the C library.
std::int64_t NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

template <typename T>
void Put(unsigned char* wire, std::size_t offset, T value) {
  std::memcpy(wire + offset, &value, sizeof value);
}

template <typename T>
T Get(const unsigned char* wire, std::size_t offset) {
  T value;
  std::memcpy(&value, wire + offset, sizeof value);
  return value;
}

void Encode(const WindowEvent& event, unsigned char* wire) {
  std::memcpy(wire, kMagic, sizeof kMagic);
  Put<std::uint32_t>(wire, 4, static_cast<std::uint32_t>(event.kind));
  Put<std::uint32_t>(wire, 8, event.message);
  Put<std::uint32_t>(wire, 12, event.enable ? 1 : 0);
  Put<std::uint64_t>(wire, 16, event.wParam);
  Put<std::int64_t>(wire, 24, event.lParam);
}

std::optional<WindowEvent> Decode(const unsigned char* wire, std::size_t size) {
  if (size != kWireSize || std::memcmp(wire, kMagic, sizeof kMagic) != 0) return std::nullopt;
  auto kind = Get<std::uint32_t>(wire, 4);
  if (kind > static_cast<std::uint32_t>(WindowEvent::Kind::Foreground)) return std::nullopt;
  WindowEvent event;
  event.kind = static_cast<WindowEvent::Kind>(kind);
  event.message = Get<std::uint32_t>(wire, 8);
  event.enable = Get<std::uint32_t>(wire, 12) != 0;
  event.wParam = Get<std::uint64_t>(wire, 16);
  event.lParam = Get<std::int64_t>(wire, 24);
  return event;
}

// False when the path does not fit a socket address (a very deep runtime folder).
bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// A datagram socket connected to the window of `handle` in `folder`, or -1 when nobody has
// that window: connecting succeeds only while some process has the socket bound.
int ConnectToWindow(const std::string& folder, std::int64_t handle) {
  sockaddr_un address;
  if (!MakeAddress(WindowSocketPath(folder, handle), address)) return -1;
  Descriptor socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (socket.get() < 0) return -1;
  if (connect(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return -1;
  }
  return socket.release();
}

// The window folder and the number of `window` when it names a live window, else -1.
int ConnectToWindow(HWND window, std::string& folder) {
  std::intptr_t handle = HwndToNumber(window);
  if (handle <= 0 || handle > kLargestHandle) return -1;
  folder = WindowFolder();
  // Sending into a folder someone else could fill with sockets would hand them our messages.
  if (!CheckWindowFolder(folder).empty()) return -1;
  return ConnectToWindow(folder, handle);
}

bool Send(int socket, const WindowEvent& event) {
  unsigned char wire[kWireSize];
  Encode(event, wire);
  std::int64_t giveUp = NowMs() + kFullQueuePatienceMs;
  for (;;) {
    ssize_t sent = send(socket, wire, sizeof wire, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent == static_cast<ssize_t>(sizeof wire)) return true;
    if (sent < 0 && errno == EINTR) continue;
    if (sent >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOBUFS)) return false;
    if (NowMs() >= giveUp) return false;
    usleep(2000);
  }
}

bool Deliver(HWND window, const WindowEvent& event) {
  std::string folder;
  Descriptor socket(ConnectToWindow(window, folder));
  return socket.get() >= 0 && Send(socket.get(), event);
}

bool IsHandleName(const char* name) {
  if (*name == '\0' || std::strlen(name) > 10) return false;
  for (const char* c = name; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
  }
  return true;
}

// Removes the files of windows whose process ended without unregistering. Runs under the
// folder lock, so no registration can appear between the liveness probe and the removal.
void RemoveStaleWindows(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    std::string number = name.substr(0, name.find('.'));
    if (!IsHandleName(number.c_str())) continue;
    std::int64_t handle = std::stoll(number);
    Descriptor probe(ConnectToWindow(folder, handle));
    if (probe.get() >= 0) continue;
    // A marker means nothing without its live window.
    if (name == number) unlink(WindowSocketPath(folder, handle).c_str());
    if (name == number + ".disabled") unlink(WindowDisabledPath(folder, handle).c_str());
  }
  closedir(dir);
}

std::int32_t DrawHandle() {
  static std::mutex mutex;
  std::lock_guard<std::mutex> hold(mutex);
  static std::mt19937 generator{std::random_device{}()};
  static std::uniform_int_distribution<std::int32_t> range(kFirstNewHandle, kLastNewHandle);
  return range(generator);
}

}  // namespace

std::unique_ptr<WindowRegistration> WindowRegistration::Create(std::string* error) {
  return CreateIn(WindowFolder(), error);
}

std::unique_ptr<WindowRegistration> WindowRegistration::CreateIn(const std::string& folder,
                                                                 std::string* error) {
  auto fail = [error](std::string reason) {
    if (error != nullptr) *error = std::move(reason);
    return nullptr;
  };
  // A folder too deep for a socket address is refused before anything is made there.
  sockaddr_un address;
  if (!MakeAddress(WindowSocketPath(folder, kLargestHandle), address)) {
    return fail("window folder path is too long for a socket: " + folder);
  }
  std::string reason = PrepareWindowFolder(folder);
  if (!reason.empty()) return fail(reason);

  // One registration at a time per folder: the stale sweep must not remove a socket that
  // another process is binding at that moment.
  Descriptor lock(
      open((folder + "/.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (lock.get() < 0)
    return fail("cannot open the window folder lock: " + std::string(std::strerror(errno)));
  while (flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR)
      return fail("cannot lock the window folder: " + std::string(std::strerror(errno)));
  }
  RemoveStaleWindows(folder);

  Descriptor socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (socket.get() < 0) return fail("cannot make a socket: " + std::string(std::strerror(errno)));
  for (int attempt = 0; attempt < kHandleAttempts; ++attempt) {
    std::int32_t handle = DrawHandle();
    MakeAddress(WindowSocketPath(folder, handle), address);
    // bind creates the socket file and fails when the name is taken: the handle is claimed
    // atomically, also against processes that do not use the lock.
    if (bind(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      unlink(WindowDisabledPath(folder, handle).c_str());  // a new window starts enabled
      return std::unique_ptr<WindowRegistration>(
          new WindowRegistration(folder, handle, socket.release()));
    }
    if (errno != EADDRINUSE) {
      return fail("cannot register a window in " + folder + ": " + std::strerror(errno));
    }
  }
  return fail("no free window handle in " + folder);
}

WindowRegistration::WindowRegistration(std::string folder, std::int32_t handle, int socket)
    : folder_(std::move(folder)), handle_(handle), socket_(socket) {}

WindowRegistration::~WindowRegistration() {
  // The file goes before the socket closes, so a file never outlives its window while this
  // process lives, and the stale sweep never has to guess about it.
  unlink(WindowSocketPath(folder_, handle_).c_str());
  unlink(WindowDisabledPath(folder_, handle_).c_str());
  close(socket_);
}

HWND WindowRegistration::Handle() const { return HwndFromNumber(handle_); }

std::optional<WindowEvent> WindowRegistration::Receive(int timeoutMs) {
  std::int64_t deadline = NowMs() + timeoutMs;
  for (;;) {
    int wait = -1;
    if (timeoutMs >= 0) {
      std::int64_t left = deadline - NowMs();
      wait = left > 0 ? static_cast<int>(left) : 0;
    }
    pollfd ready{socket_, POLLIN, 0};
    int count = poll(&ready, 1, wait);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return std::nullopt;
    unsigned char wire[kWireSize + 1];
    ssize_t size = recv(socket_, wire, sizeof wire, MSG_DONTWAIT);
    if (size < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return std::nullopt;
    }
    if (auto event = Decode(wire, static_cast<std::size_t>(size))) return event;
  }
}

}  // namespace winport

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  winport::WindowEvent event;
  event.kind = winport::WindowEvent::Kind::Posted;
  event.message = message;
  event.wParam = wParam;
  event.lParam = lParam;
  return winport::Deliver(window, event) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  if (std::optional<BOOL> local = winport::EnableLocalWindow(window, enable)) return *local;
  std::string folder;
  winport::Descriptor socket(winport::ConnectToWindow(window, folder));
  if (socket.get() < 0) return FALSE;
  // The state lives beside the socket as a marker file, so every process sees the same state
  // and creating or removing the marker tells atomically what it was before.
  std::intptr_t handle = HwndToNumber(window);
  BOOL wasDisabled = FALSE;
  if (enable) {
    wasDisabled = unlink(winport::WindowDisabledPath(folder, handle).c_str()) == 0;
  } else {
    int marker = open(winport::WindowDisabledPath(folder, handle).c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (marker >= 0) close(marker);
    wasDisabled = marker < 0 && errno == EEXIST;
  }
  winport::WindowEvent event;
  event.kind = winport::WindowEvent::Kind::Enable;
  event.enable = enable != FALSE;
  winport::Send(socket.get(), event);
  return wasDisabled ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND window) {
  if (std::optional<BOOL> local = winport::MakeLocalWindowForeground(window)) return *local;
  winport::WindowEvent event;
  event.kind = winport::WindowEvent::Kind::Foreground;
  return winport::Deliver(window, event) ? TRUE : FALSE;
}

BOOL IsWindow(HWND window) {
  if (winport::IsLocalWindow(window)) return TRUE;
  std::string folder;
  winport::Descriptor socket(winport::ConnectToWindow(window, folder));
  return socket.get() >= 0 ? TRUE : FALSE;
}
