#!/usr/bin/env python3
"""Asks an X11 window to close the way a window manager's close box does.

Sends the WM_DELETE_WINDOW client message to the window. Under a bare X
server there is no window manager to translate a close request (wmctrl -c)
into this message, and `xdotool windowclose` destroys the window instead of
asking its program, which would skip the program's close handling.

Usage: wm_close.py WINDOW_ID   (decimal or 0x hex; DISPLAY names the server)
"""
import ctypes
import ctypes.util
import sys

CLIENT_MESSAGE = 33
NO_EVENT_MASK = 0
CURRENT_TIME = 0


class ClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class Event(ctypes.Union):
    # XEvent is a union padded to 24 longs; XSendEvent copies all of it.
    _fields_ = [("client", ClientMessageEvent), ("pad", ctypes.c_long * 24)]


def load_xlib():
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(Event)]
    xlib.XSendEvent.restype = ctypes.c_int
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return xlib


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: wm_close.py WINDOW_ID\n")
        return 2
    window = int(argv[1], 0)
    xlib = load_xlib()
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.stderr.write("wm_close.py: cannot open the display\n")
        return 1
    try:
        event = Event()
        event.client.type = CLIENT_MESSAGE
        event.client.window = window
        event.client.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.client.data[1] = CURRENT_TIME
        if not xlib.XSendEvent(display, window, 0, NO_EVENT_MASK, ctypes.byref(event)):
            sys.stderr.write("wm_close.py: the close request could not be sent\n")
            return 1
        xlib.XSync(display, 0)
    finally:
        xlib.XCloseDisplay(display)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
