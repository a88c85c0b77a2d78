#!/usr/bin/env python3
"""The desktop mode end to end on a private X server (Xvfb).

Starts `tarnterm --window` with its store in a temporary folder and acts as
a person through xdotool: the form's close box and Alt+A, a message box
(also opened and answered by events that arrive together), drop-downs by
mouse and keyboard, "Add Group" and "View Group" (the view takes the
keyboard); a row copied to the X clipboard and text pasted from it
(xclip, and a copy sent in pieces), and the terminal's own copy pasted back at once, the menu bar's
List menu, Alt+F4, mnemonics; the scroll bars of 200 stored groups, a row
picked with the mouse, sorted by its caption and deleted, the "Color"
chooser. It reads the window map the terminal keeps (--window-map), the
store, and the X server's screen (xwd). Last, the X server is taken away:
the terminal must end with status 1 and say why.

Exit status 0 passed, 1 failed, 77 skipped (no Xvfb on this machine).
Every wait has a deadline; the whole run has one too.
"""
import argparse
import ctypes
import ctypes.util
import os
import re
import shlex
import shutil
import signal
import sqlite3
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

SKIP = 77
STEP_SECONDS = 15
RUN_SECONDS = 180


class Failure(Exception):
    pass


def wait_for(what, probe, seconds=STEP_SECONDS):
    """Polls probe() until it returns something true; fails after `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.1)


def start_xvfb(first=140):
    """Starts Xvfb on the first free display from :first; returns (process, name)."""
    for number in range(first, first + 60):
        if os.path.exists("/tmp/.X11-unix/X%d" % number) or os.path.exists("/tmp/.X%d-lock" % number):
            continue
        process = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and process.poll() is None:
            if os.path.exists("/tmp/.X11-unix/X%d" % number):
                return process, ":%d" % number
            time.sleep(0.05)
        stop(process)  # lost a race for the number, or it would not start
    raise Failure("no free display number for Xvfb")


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(5)


# The window map: 'CLASS #ID "TEXT" L T R B [key=value | key="quoted" | flag ...]',
# children indented two spaces a level; quoted texts escape '"' and '\\'.
def parse_map(text):
    windows, stack = [], []
    for line in text.splitlines():
        depth = (len(line) - len(line.lstrip(" "))) // 2
        cls, wid, label, *words = shlex.split(line)
        w = {"depth": depth, "class": cls, "id": int(wid[1:]), "text": label, "rect": tuple(int(v) for v in words[:4]),
             "extra": dict(word.split("=", 1) for word in words[4:] if "=" in word),
             "flags": {word for word in words[4:] if "=" not in word}}
        # Each window's top-level window and parent, by position in the list.
        del stack[depth:]
        w["parent"] = stack[-1] if stack else None
        w["top"] = stack[0] if stack else w
        stack.append(w)
        windows.append(w)
    return windows


class Desktop:
    def __init__(self, display, folder, tarnterm):
        self.map_path = os.path.join(folder, "map.txt")
        self.store = os.path.join(folder, "store.db")
        self.env = dict(os.environ, DISPLAY=display)
        self.out = open(os.path.join(folder, "out.log"), "w+")
        self.err = open(os.path.join(folder, "err.log"), "w+")
        self.process = subprocess.Popen([tarnterm, "--window", "--db", self.store, "--home", folder,
                                         "--window-map", self.map_path],
                                        env=self.env, stdout=self.out, stderr=self.err)

    def windows(self):
        try:
            with open(self.map_path, encoding="cp1252") as f:  # the platform's texts, as they are
                return parse_map(f.read())
        except FileNotFoundError:
            return []

    def top(self, caption):
        for w in self.windows():
            if w["depth"] == 0 and w["text"] == caption:
                return w
        return None

    def control(self, caption, predicate):
        for w in self.windows():
            if w["top"]["text"] == caption and w["depth"] > 0 and predicate(w):
                return w
        return None

    def combo(self, combo_id, text=None):
        """The form's combo box of that id (showing `text`, when given)."""
        return self.control("Allowed Groups", lambda w: w["id"] == combo_id and w["class"] == "COMBOBOX" and
                            text in (None, w["text"]))

    def press(self, caption):
        """Clicks the form's button of that caption."""
        self.press_in("Allowed Groups", caption)

    def press_in(self, window, caption):
        """Clicks the button of that caption in the window of that caption."""
        self.click_window(self.control(window, lambda w: w["text"] == caption))

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True, timeout=10)

    def click(self, x, y):
        self.xdotool("mousemove", x, y, "click", 1)

    def click_window(self, w):
        left, top, right, bottom = w["rect"]
        self.click((left + right) // 2, (top + bottom) // 2)

    def store_rows(self):
        if not os.path.exists(self.store):
            return []
        with sqlite3.connect("file:%s?mode=ro" % self.store, uri=True, timeout=2) as db:
            return db.execute("SELECT category, segment FROM allowed_groups").fetchall()

    def check_alive(self):
        if self.process.poll() is not None:
            raise Failure("tarnterm ended with status %s" % self.process.returncode)


def screen(desktop):
    """The X server's screen as (width, height, at(x, y) -> 0xRRGGBB)."""
    return read_xwd(subprocess.run(["xwd", "-root", "-silent"], env=desktop.env, stdout=subprocess.PIPE, check=True,
                                   timeout=20).stdout)


# xwd's format: a big-endian header, the window name, the colour table, then
# the pixels, row by row.
def read_xwd(data):
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = header[7], header[11], header[12], header[19]
    if bits_per_pixel not in (24, 32):
        raise Failure("xwd wrote %d bits a pixel; 24 or 32 expected" % bits_per_pixel)
    step = bits_per_pixel // 8
    start = header_size + ncolors * 12
    pixels = data[start:start + bytes_per_line * height]

    def at(x, y):
        p = y * bytes_per_line + x * step
        b = pixels[p:p + step]
        if byte_order == 0:  # LSBFirst: blue, green, red
            return (b[2] << 16) | (b[1] << 8) | b[0]
        return (b[-3] << 16) | (b[-2] << 8) | b[-1]
    return width, height, at


def write_png(path, width, height, at):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            c = at(x, y)
            rows += bytes(((c >> 16) & 255, (c >> 8) & 255, c & 255))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


# The view's columns as the test lays them in UserSetting.ini: Category
# (80 px), then the computed "Double Strike" (100 px, the strike times 2),
# then the rest. (Its header tip, the formula, the list's own tests pin.)
COLUMN_PROFILE = ("0,0,80,1,2,80,2,3,80,3,4,80,4,5,80,5,6,80,6,7,80,7,8,80,8,9,80,"
                  "9,1,100,Double Strike# \"5\" * 2#\"Strike Price\" * 2")


def lay_settings(folder):
    with open(os.path.join(folder, "UserSetting.ini"), "w", newline="\r\n") as f:
        f.write("[rmsallowedgroups]\nCOLUMNPROFILE=%s\n" % COLUMN_PROFILE)


def check_colour_chooser(desktop, folder):
    """Ctrl+Shift+C in the list opens "Customize Appearance"; its colour
    button opens "Color"; a basic colour and OK, then Apply, colour the
    list's background and store it in UserSetting.ini."""
    if desktop.top("View Allowed Group") is None:
        desktop.press("View Group")
        wait_for("the view", lambda: desktop.top("View Allowed Group"))
    listed = wait_for("the list", lambda: group_list(desktop))
    lleft, ltop, lright, lbottom = listed["rect"]
    # The list's keys need the focus in the list: a click low in its rows' area, above any bar.
    client = list_parts(desktop)[2]
    desktop.click(client[0] + 40, client[3] - 5)
    desktop.xdotool("key", "ctrl+shift+c")
    caption = "Customize Appearance :rmsallowedgroups"

    def customize_on_top():
        first = desktop.windows()[0]
        return first["text"] == caption and "disabled" not in first["flags"]
    wait_for("Customize Appearance", customize_on_top)
    # Alt+A brings the form to the front, over the view and its dialog; a
    # click on the main window leaves the windows opened from it above it,
    # the dialog above the view it came from, and enabled.
    desktop.xdotool("key", "alt+a")
    wait_for("Alt+A to bring the form to the front", lambda: tops(desktop)[0] == "Allowed Groups" and
             "active" in desktop.top("Allowed Groups")["flags"])
    desktop.click(900, 8)
    wait_for("the main window active", lambda: "active" in desktop.top("TarnTrader")["flags"])
    order = tops(desktop)
    if order.index(caption) > order.index("View Allowed Group") or \
            order.index("View Allowed Group") > order.index("TarnTrader") or \
            "disabled" in desktop.top(caption)["flags"]:
        raise Failure("Customize Appearance lost its place or was disabled: %r" % order)
    customize = desktop.top(caption)["rect"]
    desktop.click(customize[0] + 60, customize[1] + 10)  # its caption: it comes up again
    wait_for("Customize Appearance on top, enabled", customize_on_top)
    desktop.click_window(desktop.control(caption, lambda w: w["id"] == 1026 and w["class"].lower() == "button"))
    wait_for("the Color chooser", lambda: desktop.top("Color"))
    check_x_stacking(desktop)
    blue = 828  # basic colour 28: pure blue, 0000FF
    desktop.click_window(wait_for("the blue swatch", lambda: desktop.control("Color", lambda w: w["id"] == blue)))
    wait_for("the fields to show blue", lambda: desktop.control(
        "Color", lambda w: w["id"] == 708 and w["text"] == "255"))
    desktop.click_window(desktop.control("Color", lambda w: w["id"] == 1))
    wait_for("the Color chooser to close", lambda: desktop.top("Color") is None)
    # " &Apply Settings": its mnemonic alone, once Tab has taken the focus
    # to a button (a box you type into would take the letter).
    def on_a_button():
        w = focused(desktop, caption)
        return w is not None and w["class"].lower() == "button"
    for _ in range(12):
        if on_a_button():
            break
        desktop.xdotool("key", "Tab")
        time.sleep(0.2)
    wait_for("the focus on a button of Customize Appearance", on_a_button)
    desktop.xdotool("key", "a")
    settings = os.path.join(folder, "UserSetting.ini")

    def stored():
        with open(settings) as f:
            return "rmsallowedgroups-20016=FF0000," in f.read()
    wait_for("the blue background in UserSetting.ini", stored)

    def painted_blue():
        _, _, at = screen(desktop)
        # Inside the rows area, right of the Category column's short texts,
        # clear of the header, the selected row near the bottom and the bars.
        return at(lleft + 60, (ltop + lbottom) // 2) == 0x0000FF
    wait_for("the list's background to turn blue on the screen", painted_blue)
    desktop.xdotool("key", "alt+c")  # "&Cancel"
    wait_for("Customize Appearance to close", lambda: desktop.top(caption) is None)


def focused(desktop, caption):
    """The control of that window that has the keyboard focus, or None."""
    return desktop.control(caption, lambda w: "focus" in w["flags"])


def check_focus_follows(desktop):
    """The window that opens takes the keyboard: after View Group, the view.
    Another program (a window manager, a switcher) that gives the form's X
    window the keyboard makes the form the active window."""
    wait_for("the keyboard focus in the view", lambda: focused(desktop, "View Allowed Group"))
    views = subprocess.run(["xdotool", "search", "--name", "^View Allowed Group$"], env=desktop.env,
                           capture_output=True, text=True, timeout=10).stdout.split()
    wait_for("the X server's keyboard focus on the view's X window", lambda: subprocess.run(
        ["xdotool", "getwindowfocus"], env=desktop.env, capture_output=True, text=True, timeout=10).stdout.strip() in views)
    if focused(desktop, "Allowed Groups") is not None:
        raise Failure("the form keeps a focused control after View Group opened the view")
    # Another program unmaps the view's X window (the keyboard goes to the root) and maps it again:
    # the keyboard comes back to it, the platform's active window.
    # Mapped again, its picture is gone from the screen until the terminal sends it again.
    def view_pixels():
        _, _, at = screen(desktop)
        left, top, right, bottom = desktop.top("View Allowed Group")["rect"]
        return [at(x, y) for x in range(left + 1, right - 1, 5) for y in range(top + 1, bottom - 1, 5)]
    shown = view_pixels()
    desktop.xdotool("windowunmap", "--sync", views[0])
    desktop.xdotool("windowmap", "--sync", views[0])
    wait_for("the keyboard back on the view's X window once mapped again", lambda: subprocess.run(
        ["xdotool", "getwindowfocus"], env=desktop.env, capture_output=True, text=True, timeout=10).stdout.strip() in views)
    wait_for("the view painted again once mapped", lambda: view_pixels() == shown)
    form = subprocess.run(["xdotool", "search", "--name", "^Allowed Groups$"], env=desktop.env, capture_output=True,
                          text=True, timeout=10).stdout.split()
    desktop.xdotool("windowfocus", form[0])
    wait_for("the form active once its X window has the keyboard",
             lambda: "active" in desktop.top("Allowed Groups")["flags"])


def xclip_out(desktop, target="UTF8_STRING", encoding="utf-8"):
    done = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", target], env=desktop.env,
                          capture_output=True, timeout=10)
    return done.stdout.decode(encoding, "replace") if done.returncode == 0 else ""


def check_copy_to_clipboard(desktop):
    """Ctrl+C in the list: the selected row reaches the X clipboard, a cell
    for each column of the header, each followed by a tab, as a line."""
    listed, header = group_list(desktop), desktop.control("View Allowed Group", lambda w: w["class"] == "SysHeader32")
    desktop.click(listed["rect"][0] + 40, header["rect"][3] + 8)  # the first row
    desktop.xdotool("key", "ctrl+c")
    text = wait_for("the copied row on the X clipboard", lambda: xclip_out(desktop))
    columns = header["extra"]["items"].split("|")
    if not text.endswith("\t\n") or text.count("\n") != 1:
        raise Failure("the X clipboard holds %r, not one row ending in a tab and a line feed" % text)
    cells = text[:-2].split("\t")
    if len(cells) != len(columns) or cells[columns.index("Category")] != "HNI" or \
            cells[columns.index("Exhg-Seg")] != "mcx_fo":
        raise Failure("the X clipboard holds %r for the columns %r" % (text, columns))
    print("copied to the X clipboard: %r" % text)


def choose_from_menu(desktop, entry):
    """Moves the pointer onto entry `entry` of the open pop-up menu (it turns
    hot) and clicks it. Entries are 19 pixels high inside a 3-pixel frame."""
    menu = wait_for("the pop-up menu", lambda: next((w for w in desktop.windows() if w["class"] == "#32768"), None))
    x, y = menu["rect"][0] + 30, menu["rect"][1] + 3 + 19 * entry + 9
    desktop.xdotool("mousemove", x, y)
    wait_for("the entry under the pointer hot", lambda: any(
        w["class"] == "#32768" and w["extra"].get("hot") == str(entry) for w in desktop.windows()))
    desktop.click(x, y)


def check_list_menu(desktop):
    """The menu bar's List menu opens the computed columns dialog for the view;
    Ctrl+V there takes what another program copied, Ctrl+C gives it back to
    an old client too (TEXT, and STRING in Latin-1); Alt+F4 closes it."""
    desktop.click_window(desktop.control("TarnTrader", lambda w: w["class"] == "BUTTON" and w["text"] == "List"))
    choose_from_menu(desktop, 0)  # Add Custom Column...
    caption = "rmsallowedgroups: Add Custom Columns"
    wait_for("the computed columns dialog for the view", lambda: focused(desktop, caption))
    xclip = subprocess.Popen(["xclip", "-i", "-selection", "clipboard", "-quiet", "-loops", "1"], env=desktop.env,
                             stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        xclip.stdin.write("Strike Twicé".encode("utf-8"))
        xclip.stdin.close()
        time.sleep(0.3)  # xclip takes the selection
        desktop.xdotool("key", "ctrl+v")
        wait_for("the other program's text pasted into the name", lambda: desktop.control(
            caption, lambda w: w["id"] == 1022 and w["text"] == "Strike Twicé"))
    finally:
        stop(xclip)
    desktop.xdotool("key", "shift+Home", "ctrl+c")
    wait_for("the name copied back to the X clipboard", lambda: xclip_out(desktop) == "Strike Twicé")
    if xclip_out(desktop, "TARGETS").split() != ["TARGETS", "UTF8_STRING", "TEXT", "STRING"]:
        raise Failure("the X clipboard offers %r" % xclip_out(desktop, "TARGETS"))
    for target, encoding in (("TEXT", "utf-8"), ("STRING", "latin-1")):
        if xclip_out(desktop, target, encoding) != "Strike Twicé":
            raise Failure("the X clipboard gives %r as %s" % (xclip_out(desktop, target, "latin-1"), target))
    # Pasting its own copy, the terminal owns the X clipboard and takes the text at once: were it to ask
    # itself through the X server, it could not answer while it waits (a second for each of two targets).
    started = time.monotonic()
    desktop.xdotool("key", "End", "ctrl+v", "ctrl+v")
    wait_for("the name pasted twice after itself", lambda: desktop.control(
        caption, lambda w: w["id"] == 1022 and w["text"] == "Strike Twicé" * 3))
    if time.monotonic() - started > 4:
        raise Failure("two pastes of the terminal's own copy took %.1f s" % (time.monotonic() - started))
    # A large copy from another program comes in pieces; the pieces make the text.
    pieced = PiecedCopy(desktop, "Pieced together, é at a seam")
    pieced.start()
    try:
        desktop.xdotool("key", "shift+Home", "ctrl+v")
        wait_for("a copy sent in pieces pasted whole", lambda: desktop.control(
            caption, lambda w: w["id"] == 1022 and w["text"] == "Pieced together, é at a seam"))
    finally:
        pieced.done.set()
        pieced.join(5)
    desktop.xdotool("key", "alt+F4")
    wait_for("Alt+F4 to close the dialog", lambda: desktop.top(caption) is None)
    print("List menu: the computed columns dialog opened, took a paste and closed with Alt+F4")


def check_double_click(desktop):
    """Reposition Columns from the list's own menu; a double click on the first
    shown column moves it to the available ones (or, were it one the list
    needs, says it cannot be removed): the session tells one button pressed
    twice quickly from two clicks."""
    header = list_parts(desktop)[1]
    desktop.xdotool("mousemove", header["rect"][0] + 40, header["rect"][1] + 6, "click", 3)
    choose_from_menu(desktop, 0)  # the header's menu: Reposition Columns
    caption = " Column Profile"
    shown = lambda: desktop.control(caption, lambda w: w["id"] == 10008 and w["class"] == "SysListView32")
    before = wait_for("the column profile", shown)
    rows = int(before["extra"]["rows"])
    top = next(w for w in desktop.windows() if w["class"] == "SysHeader32" and w["parent"] is not None and
               w["parent"]["id"] == 10008)["rect"][3]
    # The second press 4 pixels right and lower: as far as a double click may move.
    x = before["rect"][0] + 30
    desktop.xdotool("mousemove", x, top + 6, "click", "1", "mousemove", x + 4, top + 10, "click", "1")
    refused = lambda: any(w["text"].endswith(" cannot be removed") for w in desktop.windows())
    wait_for("the double-clicked column moved or refused",
             lambda: int(shown()["extra"]["rows"]) == rows - 1 or refused())
    print("a double click on the first shown column: %s" % ("refused" if refused() else "moved"))
    # One key at a time, each awaited: an Escape sent while the profile is
    # still closing would reach the view below and close it too.
    if refused():
        desktop.xdotool("key", "Return")
        wait_for("the refusal closed", lambda: not refused())
    desktop.xdotool("key", "Escape")
    wait_for("the column profile closed", lambda: shown() is None)


def tops(desktop):
    """The captions of the top-level windows, top of the z-order first."""
    return [w["text"] for w in desktop.windows() if w["depth"] == 0]


def check_minimize(desktop):
    """The view's minimize box parks it as a bar at the left, its bottom on
    the top of the main window's log (where a task bar would be)."""
    left, top, right, _ = desktop.top("View Allowed Group")["rect"]
    # Left of the maximize and close boxes (16 pixels each, 2 apart, then 2 from the sizing frame of 4).
    desktop.click(right - 4 - 2 - 16 - 2 - 16 - 8, top + 4 + 2 + 7)
    view = wait_for("the view minimized", lambda: next(
        (w for w in [desktop.top("View Allowed Group")] if w and "minimized" in w["flags"]), None))
    log = desktop.control("TarnTrader", lambda w: w["class"] == "ListBox")
    if view["rect"][0] != 0 or view["rect"][3] != log["rect"][1]:
        raise Failure("the minimized view is at %r, the log at %r" % (view["rect"], log["rect"]))
    check_x_stacking(desktop)
    print("minimized: the view parked above the log")


def xlib():
    """libX11 through ctypes, with the types of the calls these tests make."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    p, ul = ctypes.c_void_p, ctypes.c_ulong
    x11.XOpenDisplay.restype = p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ul
    x11.XInternAtom.argtypes = [p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [p, ul, ctypes.c_int, ctypes.c_long, p]
    x11.XCloseDisplay.argtypes = [p]
    x11.XDefaultRootWindow.restype = ul
    x11.XDefaultRootWindow.argtypes = [p]
    x11.XCreateSimpleWindow.restype = ul
    x11.XCreateSimpleWindow.argtypes = [p, ul] + [ctypes.c_int] * 4 + [ctypes.c_uint, ul, ul]
    x11.XSetSelectionOwner.argtypes = [p, ul, ul, ul]
    x11.XGetSelectionOwner.restype = ul
    x11.XGetSelectionOwner.argtypes = [p, ul]
    x11.XSelectInput.argtypes = [p, ul, ctypes.c_long]
    x11.XChangeProperty.argtypes = [p, ul, ul, ul, ctypes.c_int, ctypes.c_int, p, ctypes.c_int]
    x11.XPending.argtypes = [p]
    x11.XNextEvent.argtypes = [p, p]
    x11.XFlush.argtypes = [p]
    return x11


class PiecedCopy(threading.Thread):
    """Another program's copy as large ones travel between X programs: the
    clipboard's owner answers with an INCR notice, then puts one small piece
    of UTF-8 in the property each time the reader deletes it, an empty piece
    last. Pieces of seven bytes split a two-byte character too."""
    PIECE = 7

    def __init__(self, desktop, text):
        super().__init__(daemon=True)
        self.x11 = xlib()
        self.display = self.x11.XOpenDisplay(desktop.env["DISPLAY"].encode())
        atom = lambda name: self.x11.XInternAtom(self.display, name, 0)
        self.clipboard, self.utf8, self.incr = atom(b"CLIPBOARD"), atom(b"UTF8_STRING"), atom(b"INCR")
        self.data = text.encode("utf-8")
        self.done = threading.Event()
        self.window = self.x11.XCreateSimpleWindow(self.display, self.x11.XDefaultRootWindow(self.display),
                                                   0, 0, 1, 1, 0, 0, 0)
        self.x11.XSetSelectionOwner(self.display, self.clipboard, self.window, 0)
        if self.x11.XGetSelectionOwner(self.display, self.clipboard) != self.window:
            raise Failure("could not take the X clipboard for a pieced copy")

    def run(self):
        x11, d = self.x11, self.display
        event = (ctypes.c_long * 24)()  # an XEvent, read by its fields' places
        sending = None  # [requestor, property, bytes still to send]
        while not self.done.is_set():
            if not x11.XPending(d):
                time.sleep(0.005)
                continue
            x11.XNextEvent(d, event)
            kind = event[0] & 0xFFFFFFFF
            if kind == 30:  # SelectionRequest: owner, requestor, selection, target, property, time
                requestor, selection, target, prop, when = event[5], event[6], event[7], event[8], event[9]
                reply = (ctypes.c_long * 24)(31, 0, 0, 0, requestor, selection, target, 0, when)
                if target == self.utf8 and prop != 0:
                    x11.XSelectInput(d, requestor, 1 << 22)  # PropertyChangeMask: the reader's deletions
                    size = ctypes.c_long(len(self.data))
                    x11.XChangeProperty(d, requestor, prop, self.incr, 32, 0, ctypes.byref(size), 1)
                    sending = [requestor, prop, self.data]
                    reply[7] = prop
                x11.XSendEvent(d, requestor, 0, 0, reply)
            elif kind == 28 and sending and event[4] == sending[0] and event[5] == sending[1] and \
                    event[7] & 0xFFFFFFFF == 1:  # PropertyNotify, PropertyDelete: the next piece
                piece, sending[2] = sending[2][:self.PIECE], sending[2][self.PIECE:]
                x11.XChangeProperty(d, sending[0], sending[1], self.utf8, 8, 0, piece, len(piece))
                if not piece:
                    sending = None
            x11.XFlush(d)
        x11.XCloseDisplay(d)


def ask_to_close(desktop, xid):
    """Sends the X window the request a window manager's close box sends
    (a WM_PROTOCOLS client message naming WM_DELETE_WINDOW), through Xlib."""
    x11 = xlib()

    class ClientMessage(ctypes.Structure):  # XClientMessageEvent, padded to the size of an XEvent
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("l", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]
    display = x11.XOpenDisplay(desktop.env["DISPLAY"].encode())
    event = ClientMessage(type=33, window=xid, message_type=x11.XInternAtom(display, b"WM_PROTOCOLS", 0), format=32)
    event.l[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, xid, 0, 0, ctypes.byref(event))
    x11.XCloseDisplay(display)  # flushes the request


def check_close_request(desktop):
    """A window manager's close request closes the view it names, not the
    terminal (only the main window's ends the run)."""
    found = subprocess.run(["xdotool", "search", "--name", "^View Allowed Group$"], env=desktop.env,
                           capture_output=True, text=True, timeout=10).stdout.split()
    ask_to_close(desktop, int(found[0]))
    wait_for("the view closed by the X request", lambda: desktop.top("View Allowed Group") is None)
    time.sleep(0.3)
    desktop.check_alive()
    print("closed by the X server's request: the view went, the terminal stayed")


def check_x_stacking(desktop):
    """The X server stacks the shown windows as the platform does (top first),
    each where the platform has it and as large."""
    listing = subprocess.run(["xwininfo", "-root", "-children"], env=desktop.env, capture_output=True, text=True,
                             timeout=10).stdout
    stacked = []  # xwininfo lists the root's children top first
    for xid, name in re.findall(r'^\s+(0x[0-9a-f]+) "(.*)": \("tarnterm"', listing, re.M):
        state = subprocess.run(["xwininfo", "-id", xid], env=desktop.env, capture_output=True, text=True,
                               timeout=10).stdout
        if "IsViewable" in state:
            stacked.append(name)
            top = desktop.top(name)
            x, y, width, height = (int(re.search(key + r":\s+(-?\d+)", state).group(1)) for key in
                                   ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
            if top is not None and (x, y, x + width, y + height) != top["rect"]:
                raise Failure("the X window of %r lies at %r, the platform's at %r" %
                              (name, (x, y, x + width, y + height), top["rect"]))
    shown = [c for c in tops(desktop) if c]
    if [n for n in stacked if n in shown] != shown:
        raise Failure("the X server stacks %r, the platform %r" % (stacked, shown))


def check_quiet_map(desktop):
    """The pointer moving over the main window's bare client area changes no
    picture, so the window map is not written again."""
    main = desktop.top("TarnTrader")["rect"]
    others = [w["rect"] for w in desktop.windows() if w["depth"] == 0 and w["text"] != "TarnTrader"]
    bare = [(x, main[1] + 60) for x in range(main[0] + 10, main[2] - 10, 10)
            if not any(r[0] - 5 <= x <= r[2] + 5 and r[1] <= main[1] + 60 <= r[3] for r in others)]
    desktop.xdotool("mousemove", *bare[0])
    time.sleep(0.5)
    before = os.stat(desktop.map_path).st_mtime_ns
    for point in bare[1:4]:
        desktop.xdotool("mousemove", *point)
        time.sleep(0.2)
    if os.stat(desktop.map_path).st_mtime_ns != before:
        raise Failure("the window map was written again though no window changed")


def check_map_warning(desktop):
    """A map that cannot be written is said once on stderr, not after every
    change, and is written again as soon as it can be."""
    form = desktop.top("Allowed Groups")["rect"]
    main_active = lambda: "active" in (desktop.top("TarnTrader") or {"flags": ()})["flags"]
    os.remove(desktop.map_path)
    os.mkdir(desktop.map_path)  # no file can be renamed over a folder
    try:
        for _ in range(2):  # four changes of the active window, each painted
            desktop.click(900, 8)
            time.sleep(0.3)
            desktop.click(form[0] + 60, form[1] + 8)
            time.sleep(0.3)
    finally:
        os.rmdir(desktop.map_path)
    desktop.click(900, 8)
    wait_for("the map written again", main_active)
    desktop.click(form[0] + 60, form[1] + 8)
    wait_for("the form active again", lambda: not main_active() and "active" in desktop.top("Allowed Groups")["flags"])
    with open(desktop.err.name) as err:
        said = [line for line in err if "cannot write" in line]
    if len(said) != 1:
        raise Failure("the unwritable map was said %d times: %r" % (len(said), said))


def check_control_edges(desktop):
    """A click on a control's left or top edge is on it; one just past its
    right or bottom edge is not: it neither takes the focus nor toggles the
    check box (which disables the Category box)."""
    box = lambda: desktop.control("Allowed Groups", lambda w: w["id"] == 20030)  # Apply for all categories
    left, top, right, bottom = box()["rect"]
    middle = ((left + right) // 2, (top + bottom) // 2)
    for miss in ((middle[0], bottom), (right, middle[1])):
        desktop.click(*miss)
        time.sleep(0.6)  # two clicks on one spot would make a double click
        if "focus" in box()["flags"] or "disabled" in desktop.combo(20000)["flags"]:
            raise Failure("a click just past the check box, at %r, reached it" % (miss,))
    for hit, checked in (((left, middle[1]), True), ((middle[0], top), False)):
        desktop.click(*hit)
        wait_for("the check box %s" % ("checked" if checked else "cleared"),
                 lambda: ("disabled" in desktop.combo(20000)["flags"]) == checked)
        time.sleep(0.6)
    # Space toggles the box that has the focus: a button acts when the key is let go.
    for checked in (True, False):
        desktop.xdotool("key", "space")
        wait_for("Space to leave the check box %s" % ("checked" if checked else "cleared"),
                 lambda: ("disabled" in desktop.combo(20000)["flags"]) == checked)


def check_message_box(desktop):
    """Add Group without a category: the plug-in's message box, answered by
    Return. Then the click, the key, Shift pressed a number of times and a
    click on the form's check box reach the terminal together (it is stopped
    meanwhile): the box's own loop takes the key that answers it, the form
    gets the click typed ahead of it, and the terminal goes on with no further
    X event to wake it, so that the next click shows the box again."""
    shown = lambda: next((w for w in desktop.windows() if w["class"] == "TarnMessageBox"), None)

    def answer_box():
        desktop.press("Add Group")
        wait_for("the message box asking for a category", shown)
        desktop.xdotool("key", "Return")
        wait_for("Return to answer the message box", lambda: not shown())

    def boxes_said():
        with open(desktop.out.name, errors="replace") as out:
            return out.read().count("BOX: Please Select a valid Category")
    answer_box()
    check = desktop.control("Allowed Groups", lambda w: w["id"] == 20030)  # Apply for all categories
    os.kill(desktop.process.pid, signal.SIGSTOP)
    try:
        desktop.press("Add Group")
        desktop.xdotool("key", "Return", *["shift"] * 20)
        desktop.click_window(check)
    finally:
        os.kill(desktop.process.pid, signal.SIGCONT)
    wait_for("the box opened in one batch of events", lambda: boxes_said() == 2)
    all_categories = lambda: "disabled" in desktop.combo(20000)["flags"]
    wait_for("the click after the box's answer to check the box on the form", all_categories)
    desktop.xdotool("key", "space")
    wait_for("Space to clear the check box again", lambda: not all_categories())
    wait_for("the box answered in that batch to go", lambda: not shown())
    answer_box()


def window_management(desktop):
    """What the window manager and the X server do to the windows, and the
    z-order, as a person meets them. (How the platform moves and sizes a
    window by the pointer its own tests pin; here, that the X window follows.)"""
    # Moved from outside, as a window manager would, and back: the platform follows.
    form = desktop.top("Allowed Groups")["rect"]
    found = subprocess.run(["xdotool", "search", "--name", "^Allowed Groups$"], env=desktop.env,
                           capture_output=True, text=True, timeout=10).stdout.split()
    if len(found) != 1:
        raise Failure("xdotool finds %d X windows named Allowed Groups" % len(found))
    # The windows use the screen's own colormap, so that tools reading the screen need none of ours.
    colormaps = [re.search(r"Colormap: (\S+)", subprocess.run(["xwininfo"] + where, env=desktop.env, capture_output=True,
                                                              text=True, timeout=10).stdout).group(1)
                 for where in (["-root"], ["-id", found[0]])]
    if colormaps[0] != colormaps[1]:
        raise Failure("the form's colormap %s is not the screen's %s" % (colormaps[1], colormaps[0]))
    # (Across and down, then up only, then left only.)
    for rect in ((form[0] + 120, form[1] + 90, form[2] + 120, form[3] + 90),
                 (form[0] + 120, form[1], form[2] + 120, form[3]), form):
        desktop.xdotool("windowmove", found[0], rect[0], rect[1])
        wait_for("the form where the X window went", lambda: desktop.top("Allowed Groups")["rect"] == rect)
    # Sized from outside, taller only, then wider only, and back: the platform follows that too.
    for rect in ((form[0], form[1], form[2], form[3] + 30), (form[0], form[1], form[2] + 40, form[3] + 30), form):
        desktop.xdotool("windowsize", found[0], rect[2] - rect[0], rect[3] - rect[1])
        wait_for("the form as large as its X window", lambda: desktop.top("Allowed Groups")["rect"] == rect)

    # Each edge of the view dragged 20 pixels right or down: the platform sizes it, and its X window follows.
    for edge in range(4):  # left, top, right, bottom
        view = desktop.top("View Allowed Group")["rect"]
        start = [(view[0] + view[2]) // 2, (view[1] + view[3]) // 2]
        start[edge % 2] = view[edge] + (1 if edge < 2 else -2)  # on the frame
        end = list(start)
        end[edge % 2] += 20
        drag(desktop, start, end)
        wanted = tuple(v + (20 if i == edge else 0) for i, v in enumerate(view))
        wait_for("the view's edge %d dragged" % edge, lambda: desktop.top("View Allowed Group")["rect"] == wanted)
        check_x_stacking(desktop)

    # A click on the main window's caption leaves the form and the view above it.
    desktop.click(900, 8)
    wait_for("the main window active", lambda: "active" in desktop.top("TarnTrader")["flags"])
    order = tops(desktop)
    if order.index("View Allowed Group") > order.index("TarnTrader") or \
            order.index("Allowed Groups") > order.index("TarnTrader"):
        raise Failure("a click on the main window buried its windows: %r" % order)
    check_x_stacking(desktop)
    print("moved from outside; owned windows kept above their owners")


SCROLL_BAR = 17  # the platform's scroll-bar width and arrow length


def scroll_numbers(w, name):
    """A map line's hscroll= or vscroll= as (pos, page, min, max); None without that bar."""
    value = w["extra"].get(name)
    return tuple(int(v) for v in value.split(",")) if value else None


def keep_screen(desktop, picture):
    """Writes the main window's part of the screen to `picture` (PNG)."""
    width, height, at = screen(desktop)
    main = desktop.top("TarnTrader")["rect"]
    write_png(picture, min(width, main[2]), min(height, main[3]), at)
    print("screenshot " + picture)


def group_list(desktop):
    return desktop.control("View Allowed Group", lambda w: w["class"] == "SysListView32")


def list_parts(desktop):
    """The list, its header and where its client area and bars lie on the screen."""
    windows = desktop.windows()
    listed = next(w for w in windows if w["top"]["text"] == "View Allowed Group" and w["class"] == "SysListView32")
    header = next(w for w in windows if w["class"] == "SysHeader32" and w["parent"] is listed)
    left, top, right, bottom = listed["rect"]
    frame = header["rect"][1] - top  # the header starts the client area
    vbar = scroll_numbers(listed, "vscroll")
    hbar = scroll_numbers(listed, "hscroll")
    client = (left + frame, top + frame, right - frame - (SCROLL_BAR if vbar else 0),
              bottom - frame - (SCROLL_BAR if hbar else 0))
    return listed, header, client, vbar, hbar


def drag(desktop, start, end):
    desktop.xdotool("mousemove", start[0], start[1], "mousedown", 1)
    desktop.xdotool("mousemove", (start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
    desktop.xdotool("mousemove", end[0], end[1], "mouseup", 1)


def scroll_bar_steps(desktop, picture):
    """200 stored groups: the list's bars show them all, a row or a column at a time."""
    with sqlite3.connect(desktop.store, timeout=5) as db:
        first = db.execute("SELECT category, segment, instrument, symbol, option_type, strike, expiry, product,"
                           " side FROM allowed_groups").fetchone()
        db.executemany("INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike,"
                       " expiry, product, side) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       [first[:3] + ("SYM%03d" % i,) + first[4:] for i in range(199)])
    desktop.press("View Group")
    listed = wait_for("the list of 200 rows with a vertical bar", lambda: desktop.control(
        "View Allowed Group", lambda w: w["class"] == "SysListView32" and w["extra"].get("rows") == "200" and
        scroll_numbers(w, "vscroll")))
    page = scroll_numbers(listed, "vscroll")[1]

    # The thumb, at the top of its track, dragged past the bottom.
    listed, header, client, vbar, hbar = list_parts(desktop)
    x = client[2] + SCROLL_BAR // 2
    drag(desktop, (x, client[1] + SCROLL_BAR + 3), (x, listed["rect"][3] + 80))
    listed = wait_for("the last row at the bottom", lambda: int(group_list(desktop)["extra"]["top"]) == 200 - page
                      and group_list(desktop))
    if scroll_numbers(listed, "vscroll")[0] != 200 - page:
        raise Failure("the bar says %r with the last page shown" % listed["extra"]["vscroll"])

    # A click in the track above the thumb goes back a page.
    desktop.click(x, (client[1] + SCROLL_BAR + client[3] - SCROLL_BAR) // 2)
    wait_for("a page up", lambda: int(group_list(desktop)["extra"]["top"]) == 200 - 2 * page)
    if picture:
        keep_screen(desktop, picture)

    # Shift and the wheel turned toward the user: the nine columns scroll to the right.
    listed, header, client, vbar, hbar = list_parts(desktop)
    if not hbar:
        raise Failure("the list of nine columns has no horizontal bar: %r" % listed["extra"])
    desktop.xdotool("mousemove", (client[0] + client[2]) // 2, (client[1] + client[3]) // 2)
    desktop.xdotool("keydown", "shift", "click", "--repeat", 3, "--delay", 20, 5, "keyup", "shift")
    wait_for("the list scrolled to the right", lambda: scroll_numbers(group_list(desktop), "hscroll")[0] > 0)
    print("scroll bars: 200 rows, %d a page; the columns scrolled by the wheel" % page)
    left, top, right, _ = desktop.top("View Allowed Group")["rect"]
    desktop.click(right - 14, top + 11)  # its close box, to uncover the form
    wait_for("the view to close", lambda: desktop.top("View Allowed Group") is None)


def header_item(desktop, caption):
    """The screen rectangle of the list header's item of that caption."""
    header = desktop.control("View Allowed Group", lambda w: w["class"] == "SysHeader32")
    captions = header["extra"]["items"].split("|")
    rects = [tuple(int(v) for v in r.split(",")) for r in header["extra"]["item-rects"].split(";")]
    return rects[captions.index(caption)]


def pick_sort_delete(desktop):
    """Four groups that differ in their strikes: sorted by a click on a
    caption (ascending), the top row picked with the mouse, sorted again
    (descending, the picked group now at the bottom), Delete Group: the store
    loses the picked group and no other. The clicks reach the terminal in
    the order given, each after the one before is handled."""
    strikes = ["300000", "100000", "400000", "200000"]
    with sqlite3.connect(desktop.store, timeout=5) as db:
        first = db.execute("SELECT category, segment, instrument, symbol, option_type, strike, expiry, product,"
                           " side FROM allowed_groups").fetchone()
        db.execute("DELETE FROM allowed_groups")
        db.executemany("INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike,"
                       " expiry, product, side) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       [first[:5] + (strike,) + first[6:] for strike in strikes])
    desktop.press("View Group")
    listed = wait_for("the list of the four groups", lambda: desktop.control(
        "View Allowed Group", lambda w: w["class"] == "SysListView32" and w["extra"].get("rows") == "4"))
    if (scroll_numbers(listed, "hscroll") or (0,))[0] > 0:
        # Scrolled sideways before: the wheel tilted left (button 6) brings the first columns back.
        l, t, r, b = listed["rect"]
        desktop.xdotool("mousemove", (l + r) // 2, (t + b) // 2)
        desktop.xdotool("click", "--repeat", 6, "--delay", 20, 6)
        listed = wait_for("the list scrolled to its left edge",
                          lambda: (scroll_numbers(group_list(desktop), "hscroll") or (0,))[0] == 0 and group_list(desktop))
    # The computed Double Strike (the strike times 2) sorts as the strike does, and shows at the left.
    left, top, right, bottom = header_item(desktop, "Double Strike")
    caption = ((left + right) // 2, top + 4)  # above the filter box
    desktop.click(*caption)
    time.sleep(0.6)  # two clicks on one spot would make a double click
    desktop.click(listed["rect"][0] + 40, bottom + 5)  # the top row, in the Category column
    time.sleep(0.6)
    desktop.click(*caption)
    time.sleep(0.6)
    desktop.press_in("View Allowed Group", "Delete Group")

    def strikes_held():
        with sqlite3.connect("file:%s?mode=ro" % desktop.store, uri=True, timeout=2) as db:
            return sorted(row[0] for row in db.execute("SELECT strike FROM allowed_groups"))
    wait_for("the deletion in the store", lambda: len(strikes_held()) == 3)
    if strikes_held() != ["200000", "300000", "400000"]:
        raise Failure("the store holds the strikes %r: not the picked group went (100000)" % strikes_held())
    print("picked with the mouse, sorted twice, deleted: only the picked group left the store")


def open_drop_down(desktop, combo_id):
    """Opens a combo box's list with the mouse. (How tall and wide it drops,
    and when it has a bar, the platform's combo box tests pin.)"""
    left, top, right, bottom = desktop.combo(combo_id)["rect"]
    desktop.click(right - 8, (top + bottom) // 2)
    drop = wait_for("the drop-down of %d" % combo_id, lambda: desktop.control(
        "Allowed Groups", lambda w: w["class"] == "ComboLBox" and w["parent"]["id"] == combo_id))
    return drop, int(drop["extra"]["item-height"])


def run(args):
    xvfb, display = start_xvfb()
    folder = tempfile.mkdtemp(prefix="desktop-test-")
    desktop = None
    try:
        lay_settings(folder)
        desktop = Desktop(display, folder, args.tarnterm)
        form = wait_for("the terminal and its form", lambda: desktop.check_alive() or desktop.top("Allowed Groups"))
        wait_for("the main window", lambda: desktop.top("TarnTrader"))

        # The close box hides the form (a right click there does not); Alt+A brings it back.
        left, top, right, _ = form["rect"]
        desktop.xdotool("mousemove", right - 14, top + 11, "click", 3)
        time.sleep(0.5)
        if desktop.top("Allowed Groups") is None:
            raise Failure("a right click on the close box closed the form")
        desktop.click(right - 14, top + 11)
        wait_for("the form to close", lambda: desktop.top("Allowed Groups") is None)
        desktop.xdotool("key", "alt+a")
        wait_for("Alt+A to open the form", lambda: desktop.top("Allowed Groups"))

        check_quiet_map(desktop)
        check_map_warning(desktop)
        check_control_edges(desktop)
        check_message_box(desktop)
        # A Category from the drop-down, with the mouse.
        drop, height = open_drop_down(desktop, 20000)
        desktop.click(drop["rect"][0] + 20, drop["rect"][1] + 1 + height // 2)  # the first, HNI
        wait_for("HNI chosen", lambda: desktop.combo(20000, "HNI"))

        # A segment with the keyboard: open the list, two down from BSE, Enter.
        desktop.click_window(desktop.combo(20001))
        wait_for("the Exhg-Seg drop-down", lambda: desktop.control(
            "Allowed Groups", lambda w: w["class"] == "ComboLBox" and w["parent"]["id"] == 20001))
        desktop.xdotool("key", "Down", "Down", "Return")
        wait_for("MCX chosen", lambda: desktop.combo(20001, "MCX"))

        desktop.press("Add Group")
        rows = wait_for("the group in the server's store", desktop.store_rows)
        if rows != [("HNI", "mcx_fo")]:
            raise Failure("the store holds %r, not HNI's MCX group" % rows)

        # The main window's log shows what the plug-in logged, then the
        # server's answer, newest last, each after the time (whose form the
        # log pane's own tests pin).
        def logged_last(lines):
            log = desktop.control("TarnTrader", lambda w: w["class"] == "ListBox")
            shown = log["extra"].get("lines", "").split("|")[-len(lines):] if log else []
            return [line[9:] for line in shown] == lines
        wait_for("the add and its answer in the main window's log", lambda: logged_last(
            ["ks_add_allowed_group request sent successfully",
             "SERVER: ks_add_allowed_group stored: HNI mcx_fo ALL ALL ALL ALL ALL ALL ALL"]))

        # A press on a button let go away from it is no click, and leaves no capture behind.
        add = desktop.control("Allowed Groups", lambda w: w["text"] == "Add Group")["rect"]
        middle = ((add[0] + add[2]) // 2, (add[1] + add[3]) // 2)
        drag(desktop, middle, (middle[0], add[1] - 30))
        desktop.xdotool("key", "Tab", "shift+Tab")  # the focus there and back: painted, so the map is written anew
        wait_for("the button let go", lambda: not any("capture" in w["flags"] for w in desktop.windows()))
        time.sleep(0.3)
        if len(desktop.store_rows()) != 1:
            raise Failure("a press let go away from Add Group added a group: %r" % desktop.store_rows())

        desktop.press("View Group")
        wait_for("the View Allowed Group list with its row", lambda: desktop.control(
            "View Allowed Group", lambda w: w["class"] == "SysListView32" and w["extra"].get("rows") == "1"))
        check_focus_follows(desktop)
        check_copy_to_clipboard(desktop)
        check_list_menu(desktop)
        check_double_click(desktop)

        window_management(desktop)
        scroll_bar_steps(desktop, args.screenshot)
        pick_sort_delete(desktop)
        check_colour_chooser(desktop, folder)
        check_minimize(desktop)
        check_close_request(desktop)

        # The X server goes away: the terminal ends at once and says why.
        desktop.check_alive()
        stop(xvfb)
        try:
            status = desktop.process.wait(10)
        except subprocess.TimeoutExpired:
            raise Failure("tarnterm hangs when its X server goes away")
        desktop.err.seek(0)
        said = desktop.err.read()
        if status != 1 or "connection to the X display was lost" not in said:
            raise Failure("tarnterm ended with %s and said %r when its X server went away" % (status, said))
        if said.count("cannot write") != 1:  # only while check_map_warning kept the map from it
            raise Failure("tarnterm said %d times it could not write its window map: %r"
                          % (said.count("cannot write"), said))
        return 0
    finally:
        if desktop is not None:
            stop(desktop.process)
            for name in ("out", "err"):
                getattr(desktop, name).seek(0)
                text = getattr(desktop, name).read()
                if text:
                    print("--- tarnterm std%s:\n%s" % (name, text), end="")
        stop(xvfb)
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tarnterm", required=True)
    parser.add_argument("--screenshot", help="where to keep the screenshot (PNG)")
    args = parser.parse_args()
    if shutil.which("Xvfb") is None:
        print("SKIP: Xvfb is not installed (scripts/setup.sh installs it); the desktop mode is not tested")
        return SKIP
    for tool in ("xdotool", "xwd", "xwininfo", "xclip"):
        if shutil.which(tool) is None:
            print("FAIL: %s is missing; scripts/setup.sh installs it" % tool)
            return 1

    def too_long(signum, frame):
        raise Failure("the whole run took longer than %d s" % RUN_SECONDS)
    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(RUN_SECONDS)
    try:
        return run(args)
    except Failure as failure:
        print("FAIL: %s" % failure)
        return 1


if __name__ == "__main__":
    sys.exit(main())
