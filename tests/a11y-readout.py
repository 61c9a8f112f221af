#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the first chart through the accessibility tree, as a screen reader does: its
# name and description, then points the mouse at the chart and waits for the readout to
# be announced as its new description. The value read out must be one of the C list's
# lines. Exit code 0 when all holds; a message on stdout otherwise.
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def fail(message):
    print(message)
    sys.exit(1)


def find(acc, predicate, depth=0):
    if acc is None or depth > 12:
        return None
    if predicate(acc):
        return acc
    for i in range(acc.childCount):
        found = find(acc.getChildAtIndex(i), predicate, depth + 1)
        if found is not None:
            return found
    return None


app = None
for _ in range(50):
    desktop = pyatspi.Registry.getDesktop(0)
    app = find(desktop, lambda a: a.getRole() == pyatspi.ROLE_APPLICATION and a.name == "cvplot")
    if app is not None:
        break
    time.sleep(0.1)
if app is None:
    fail("the program is not in the accessibility tree")

chart = find(app, lambda a: a.getRole() == pyatspi.ROLE_CHART and a.name == "C-V特性")
if chart is None:
    fail("no chart named C-V特性 in the accessibility tree")
if not chart.description.startswith("44 点、V は -4 から "):
    fail(f"the chart's description is {chart.description!r}")

# The C list: the first of the two multi-line text fields, left to right.
texts = []
find(app, lambda a: a.getRole() == pyatspi.ROLE_TEXT and texts.append(a) and False)
lists = sorted((t for t in texts if "\n" in t.queryText().getText(0, -1)),
               key=lambda t: t.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x)
if len(lists) != 2:
    fail(f"found {len(lists)} result lists")
c_values = lists[0].queryText().getText(0, -1).split("\n")

announced = []


def on_change(event):
    if event.source == chart:
        announced.append(event.source.description)


pyatspi.Registry.registerEventListener(on_change, "object:property-change:accessible-description")
box = chart.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2)],
               check=True)
loop = GLib.MainLoop()
GLib.timeout_add(3000, loop.quit)
GLib.timeout_add(100, lambda: (loop.quit() if announced else True))
loop.run()
pyatspi.Registry.deregisterEventListener(on_change, "object:property-change:accessible-description")

readout = chart.description
if not readout.startswith("V = ") or ", C = " not in readout:
    fail(f"no readout in the description after hovering: {readout!r}")
if not announced:
    fail("the readout was not announced")
value = readout.split(", C = ", 1)[1]
if value not in c_values:
    fail(f"the readout's value {value!r} is not a line of the C list")
print(f"readout through the accessibility tree: {readout}")
