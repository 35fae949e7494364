#include "winport/desktop/display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QLibraryInfo>
#include <cstdlib>
#include <cstring>

namespace winport::desktop {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool WaylandPluginInstalled() {
  QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
  return !platforms.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty();
}

// A Wayland compositor needs no authorisation: its socket answering is enough.
bool WaylandAnswers(const std::string& display) {
  std::string path = display;
  if (path.empty() || path[0] != '/') {
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    if (runtime.empty()) return false;
    path = runtime + "/" + display;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answered = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return answered;
}

bool XServerAnswers() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answered = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answered;
}

}  // namespace

bool ProbeDisplay(std::string* platform, std::string* why) {
  const std::string wayland = Env("WAYLAND_DISPLAY");
  const std::string x = Env("DISPLAY");
  if (!wayland.empty() && WaylandPluginInstalled() && WaylandAnswers(wayland)) {
    *platform = "wayland";
    return true;
  }
  if (!x.empty() && XServerAnswers()) {
    *platform = "xcb";
    return true;
  }
  if (!x.empty()) {
    *why = "cannot open the display " + x;
  } else if (!wayland.empty()) {
    *why = WaylandPluginInstalled() ? "cannot reach the Wayland display " + wayland
                                    : "Wayland without an X display needs qt6-wayland";
  } else {
    *why = "no display (DISPLAY is not set)";
  }
  return false;
}

}  // namespace winport::desktop
