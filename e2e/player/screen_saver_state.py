#!/usr/bin/env python3
"""Reads or sets the X server's screen saver through the screen-saver extension.

  screen_saver_state.py timeout SECONDS   sets the idle time after which the saver starts
  screen_saver_state.py state             prints off, on, cycle or disabled
"""
import ctypes
import sys


class Info(ctypes.Structure):
    _fields_ = [("window", ctypes.c_ulong), ("state", ctypes.c_int), ("kind", ctypes.c_int),
                ("til_or_since", ctypes.c_ulong), ("idle", ctypes.c_ulong), ("event_mask", ctypes.c_ulong)]


def main():
    x11 = ctypes.CDLL("libX11.so.6")
    xss = ctypes.CDLL("libXss.so.1")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XSetScreenSaver.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xss.XScreenSaverAllocInfo.restype = ctypes.POINTER(Info)
    xss.XScreenSaverQueryInfo.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(Info)]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("no X display")
    if sys.argv[1:2] == ["timeout"]:
        # Blanking preferred, exposures allowed, no cycling.
        x11.XSetScreenSaver(display, int(sys.argv[2]), 0, 1, 1)
    else:
        info = xss.XScreenSaverAllocInfo()
        xss.XScreenSaverQueryInfo(display, x11.XDefaultRootWindow(display), info)
        print({0: "off", 1: "on", 2: "cycle", 3: "disabled"}.get(info.contents.state, "unknown"))
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
