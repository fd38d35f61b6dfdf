#!/usr/bin/env python3
"""Opens every window the Ctrl keys and the menus of the running logger open, the way an
operator does (keys, and clicks on the buttons that open the windows behind a window), and
reads each one's accessibility tree as a screen reader does. Every control the keyboard can
reach must have a name, and no two of them in a window may read the same."""

import subprocess
import sys
import time

import pyatspi

MAIN_TITLE = "Varkel's Corvane Contest Log 1.2"
WINDOW_ROLES = (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW, pyatspi.ROLE_ALERT,
                pyatspi.ROLE_FILLER)
failures = []


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", "--delay", "80", *names], check=True)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def find_app(timeout_s=20):
    deadline = time.time() + timeout_s
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is None:
                continue
            for i in range(app.childCount):
                window = app.getChildAtIndex(i)
                if window is not None and window.name == MAIN_TITLE:
                    return app
        time.sleep(0.5)
    return None


def showing_windows(app):
    windows = []
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        try:
            if window is not None and window.getRole() in WINDOW_ROLES and \
                    window.getState().contains(pyatspi.STATE_SHOWING):
                windows.append(window)
        except Exception:  # gone while we looked
            pass
    return windows


def new_window(app, before, timeout_s=10):
    deadline = time.time() + timeout_s
    while time.time() < deadline:
        for window in showing_windows(app):
            if window not in before:
                time.sleep(0.5)  # let it lay itself out and fill its fields
                return window
        time.sleep(0.2)
    return None


def control_named(window, name):
    for node in walk(window):
        if node.name == name and node.getState().contains(pyatspi.STATE_SHOWING):
            return node
    return None


def click(window, name):
    """Clicks a control with the mouse, as the operator does. (An accessibility action on a
    button that opens a modal window would not return until that window closed.)"""
    node = control_named(window, name)
    if node is None:
        failures.append("%s: no control named %r to click" % (window.name, name))
        return False
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1"],
                   check=True)
    return True


def check_names(window, what):
    focusable = [n for n in walk(window) if n.getState().contains(pyatspi.STATE_FOCUSABLE) and
                 n.getState().contains(pyatspi.STATE_SHOWING) and n.getRole() not in WINDOW_ROLES and
                 n.getRole() not in (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL,
                                     pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_COLUMN_HEADER, pyatspi.ROLE_SCROLL_BAR)]
    if not window.name.strip():
        failures.append("%s: a window without a title" % what)
    seen = {}
    for node in focusable:
        name = node.name.strip()
        if not name:
            failures.append("%s (%s): a %s without a name (description %r)" %
                            (what, window.name, node.getRoleName(), node.description))
            continue
        if name in seen:
            failures.append("%s (%s): two controls read the same: %r" % (what, window.name, name))
        seen[name] = node
    print("a11y: %s (%s): %d controls, all named" % (what, window.name, len(focusable))
          if not any(f.startswith(what + " (") for f in failures) else
          "a11y: %s (%s): %d controls" % (what, window.name, len(focusable)), file=sys.stderr)


def active_title():
    done = subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True, text=True)
    return done.stdout.strip()


def pattern_of(title):
    return "^" + "".join("\\" + c if c in ".^$*+?()[]{}|\\" else c for c in title) + "$"


def on_screen(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern_of(title)], capture_output=True,
                           text=True)
    return bool(found.stdout.split())


def gone(app, window, timeout_s=3):
    """Gone from the accessibility tree or from the screen (the tree may go on saying a window
    that hid itself from its close event is showing)."""
    title = window.name
    deadline = time.time() + timeout_s
    while time.time() < deadline:
        if window not in showing_windows(app) or not on_screen(title):
            return True
        time.sleep(0.2)
    return False


def close(app, window):
    """Escape, as the operator closes a window; Alt+F4 only on the window itself, never on the
    main window behind it."""
    title = window.name
    keys("Escape")
    if gone(app, window):
        return
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern_of(title)], capture_output=True,
                           text=True).stdout.split()
    if found:
        subprocess.run(["xdotool", "windowactivate", "--sync", found[0]], capture_output=True)
        time.sleep(0.3)
    if active_title() == title.strip() or active_title() == title:
        keys("alt+F4")
        if gone(app, window):
            return
    subprocess.run(["import", "-window", "root", "/tmp/would-not-close.png"], capture_output=True)
    failures.append("%s would not close (active: %r)" % (title, active_title()))


def activate_main():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % MAIN_TITLE.replace(".", "\\.")],
                           capture_output=True, text=True).stdout.split()
    if found:
        subprocess.run(["xdotool", "windowactivate", "--sync", found[0]], capture_output=True)
        time.sleep(0.3)


def opened_by(app, what, *key_names, inside=None, title=None):
    """Opens a window with keys (or, with `inside`, by clicking a control of a window
    already open), checks it and returns it open. `title`: a window that may be open already
    (minimized), raised by the keys."""
    before = showing_windows(app)
    if title is not None:
        before = [w for w in before if w.name != title]
    if inside is None:
        activate_main()
    if inside is not None:
        window, name = inside
        if not click(window, name):
            return None
    else:
        keys(*key_names)
    window = new_window(app, before)
    if window is None:
        every = []
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None:
                every.append((w.name, w.getRoleName(), w.getState().contains(pyatspi.STATE_SHOWING)))
        failures.append("%s did not open a window (windows: %r)" % (what, every))
        return None
    check_names(window, what)
    return window


app = find_app()
if app is None:
    print("a11y: the main window is not on the accessibility bus", file=sys.stderr)
    sys.exit(1)

main = [w for w in showing_windows(app) if w.name == MAIN_TITLE][0]
check_names(main, "the main window")

# Each alone: opened, read, closed.
alone = [
    ("Ctrl+P", ("ctrl+p",)),
    ("Ctrl+R", ("ctrl+r",)),
    ("Ctrl+G", ("ctrl+g",)),
    ("Ctrl+F", ("ctrl+f",)),
    ("Ctrl+D", ("ctrl+d",)),
    ("Ctrl+B", ("ctrl+b",)),
    ("File > Write Cabrillo File", ("alt+f", "w")),
    ("File > Contest Report", ("alt+f", "p")),
    ("File > Load Call History", ("alt+f", "h")),
    ("Options > Appearance > Colors", ("alt+o", "a", "c")),
    ("Options > Rig Interface", ("alt+o", "i")),
    ("Options > Voice Navigation", ("alt+o", "v")),
    ("Setup > Station", ("alt+s", "s")),
    ("Setup > Serial Ports", ("alt+s", "p")),
    ("Graph", ("alt+g",)),
    ("Help", ("alt+h",)),
]
# The CW setup window first: the menu bar's own items (Graph, Help) are last.
alone = alone[:-2]
last = [("Graph", ("alt+g",)), ("Help", ("alt+h",))]
def check_and_close(what, *key_names):
    """A window, and any the program opens when it closes (a box first, then the graph)."""
    window = opened_by(app, what, *key_names)
    while window is not None:
        before = showing_windows(app)
        close(app, window)
        window = new_window(app, before, timeout_s=1.5)
        if window is not None:
            check_names(window, what + ", then")


for what, key_names in alone:
    check_and_close(what, *key_names)

# The CW strings window lives as long as the program, minimized when not in use.
strings = opened_by(app, "Ctrl+W", "ctrl+w", title="CW Strings")
activate_main()

# The CW setup window, and the windows its buttons open.
cw = opened_by(app, "Ctrl+S", "ctrl+s")
if cw is not None:
    practice = opened_by(app, "Send Code Practice", inside=(cw, "Send Code Practice"))
    if practice is not None:
        close(app, practice)
    if click(cw, "WinKey"):
        time.sleep(0.5)
        winkey = opened_by(app, "Configure Winkey", inside=(cw, "Configure Winkey"))
        if winkey is not None:
            close(app, winkey)
        click(cw, "None")
    close(app, cw)

for what, key_names in last:
    check_and_close(what, *key_names)

for f in failures:
    print("a11y: " + f, file=sys.stderr)
sys.exit(1 if failures else 0)
