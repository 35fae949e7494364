// Whether this process can open windows on the desktop its environment names. Qt ends the
// process when it cannot open a display, and a stale DISPLAY is common (a terminal multiplexer
// keeps the one of an earlier login), so the desktop front end is chosen only after the
// display has been opened here as Qt would open it. Qt stays behind this header.
#pragma once

#include <string>

namespace winport::desktop {

// Tries, in this order, the Wayland compositor of WAYLAND_DISPLAY (when Qt's Wayland plugin is
// installed) and the X server of DISPLAY (connected through xcb, its authorisation included).
// True when one answers, with `platform` set to the Qt platform that reaches it ("wayland" or
// "xcb"); false with `why` saying what could not be opened.
bool ProbeDisplay(std::string* platform, std::string* why);

}  // namespace winport::desktop
