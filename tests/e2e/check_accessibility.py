#!/usr/bin/env python3
"""Reads the running logger's accessibility tree as a screen reader does and checks that
the entry fields, buttons, message line and score carry names and descriptions a person
understands, and that a refused duplicate is announced on the message line."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

MAIN_TITLE = "Varkel's Corvane Contest Log 1.2"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def find_main_frame(timeout_s=20):
    deadline = time.time() + timeout_s
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for i in range(app.childCount):
                frame = app.getChildAtIndex(i)
                if frame is not None and frame.name == MAIN_TITLE:
                    return app, frame
        time.sleep(0.5)
    return None, None


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


app, frame = find_main_frame()
if frame is None:
    print("a11y: the main window is not on the accessibility bus", file=sys.stderr)
    sys.exit(1)

nodes = [n for n in walk(frame) if showing(n)]
by_name = {}
for n in nodes:
    by_name.setdefault((n.getRoleName(), n.name), n)
print("a11y: %d controls showing" % len(nodes), file=sys.stderr)

# The entry fields: what they are, and what goes in them.
entries = [n for n in nodes if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)]
names = {n.name: n for n in entries}
for field in ("Call", "Grid"):
    if check(field in names, "no entry field named %r (entry fields: %r)" % (field, sorted(names))):
        check(len(names[field].description) > 10, "the %s field has no description" % field)
check(names.get("Call") is not None and "call sign" in names["Call"].description.lower(),
      "the Call field's description does not say it takes a call sign")
for n in entries:
    check(n.name.strip() != "", "an entry field without a name (description %r)" % n.description)

# Every button can be told apart by its name.
buttons = [n for n in nodes if n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON,
                                                pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TOGGLE_BUTTON)]
check(len(buttons) >= 5, "only %d buttons found" % len(buttons))
for b in buttons:
    check(b.name.strip() != "", "a button without a name (description %r)" % b.description)
button_names = [b.name for b in buttons]
for wanted in ("Clear", "Grid map North", "Partial duplicates display"):
    check(any(wanted in name for name in button_names), "no button named %r (buttons: %r)" % (wanted, button_names))

# The message line and the score.
labels = [n for n in nodes if n.getRole() == pyatspi.ROLE_LABEL]
message = [n for n in labels if n.name.startswith("Message")]
if check(len(message) == 1, "no message line (labels: %r)" % [n.name for n in labels]):
    check(message[0].description != "", "the message line has no description")
# A label is read by its name, so the score's names carry their figures.
for score in ("Total score", "Total QSO points", "Contacts per hour, last 60 minutes"):
    found = [n for n in labels if n.name.startswith(score + ": ")]
    if check(found, "no score label %r with its figure (labels: %r)" % (score, [n.name for n in labels])):
        check(any(c.isdigit() for c in found[0].name), "the %r label says no figure" % score)
        check(found[0].description != "", "the %r label has no description" % score)
check(any(n.name == "Total QSO points: 1" for n in labels), "the logged contact's point is not read")

# A refused duplicate is announced: the message line's name changes to say so.
announced = []


def heard(event):
    try:
        name = event.source.name
    except Exception:  # the object may be gone
        return
    if name.startswith("Message"):
        announced.append((event.type, name))


focus_events = []
notifications = []


def focused(event):
    try:
        if event.detail1:
            focus_events.append(event.source.name)
    except Exception:  # the object may be gone
        pass


def shown(event):
    try:
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            notifications.append(event.source.name)
    except Exception:
        pass


listeners = ((heard, "object:property-change:accessible-name"), (focused, "object:state-changed:focused"),
             (shown, "object:state-changed:showing"))
for listener, kind in listeners:
    pyatspi.Registry.registerEventListener(listener, kind)
subprocess.Popen(["sh", "-c", "sleep 1; xdotool type --delay 60 k2def; xdotool key space"])
GLib.timeout_add(5000, pyatspi.Registry.stop)
pyatspi.Registry.start()
for listener, kind in listeners:
    pyatspi.Registry.deregisterEventListener(listener, kind)
check(any("K2DEF" in name for _, name in announced),
      "the refused duplicate was not announced on the message line (heard: %r)" % announced)
# A notification is what a screen reader speaks at once, wherever the keyboard is.
check(any(name.startswith("Duplicate K2DEF") for name in notifications),
      "the refused duplicate was not shown as a notification (notifications: %r)" % notifications)
# The keyboard went back to the call field, and the last focus event says so.
check(bool(focus_events) and focus_events[-1] == "Call",
      "after the refusal the last focus event names %r, not the call field (focus events: %r)"
      % (focus_events[-1] if focus_events else None, focus_events))

for f in failures:
    print("a11y: " + f, file=sys.stderr)
sys.exit(1 if failures else 0)
