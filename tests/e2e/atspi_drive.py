"""Uses the calculator through the accessibility bus alone, as voice control or a screen
reader's user would: reads each box's name and the caption that labels it, types depth and
O2 into the boxes, chooses Calculate, then File > Print and the OK of its box. Prints what it
did; exits non-zero, saying why, at the first thing that is not as a user would find it.

Usage: atspi_drive.py PID DEPTH O2
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

pid, depth, o2 = int(sys.argv[1]), sys.argv[2], sys.argv[3]


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child
            yield from descendants(child)


def wait_for(what, find, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = find()
        except gi.repository.GLib.Error:
            found = None
        if found is not None:
            return found
        time.sleep(0.1)
    fail("not found on the accessibility bus: " + what)


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def find(root, role, name):
    for node in descendants(root):
        if node.get_role() == role and node.get_name() == name:
            return node
    return None


app = wait_for("the program", application)
frame = wait_for("the window", lambda: find(app, Atspi.Role.FRAME, "EAD Calculator"))

# Each box is named with its caption's words and labelled by that caption.
boxes = []
for caption_text in ("Actual Depth fsw", "%O2 in Nitrox Mix"):
    caption = wait_for("the caption " + caption_text,
                       lambda: find(frame, Atspi.Role.LABEL, caption_text))
    box = find(frame, Atspi.Role.TEXT, caption_text)
    if box is None:
        names = [n.get_name() for n in descendants(frame) if n.get_role() == Atspi.Role.TEXT]
        fail("no box named '%s'; the boxes are named %s" % (caption_text, names))
    labelled_by = [
        relation.get_target(0)
        for relation in box.get_relation_set()
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY
    ]
    if labelled_by != [caption]:
        fail("the box '%s' is not labelled by its caption" % caption_text)
    boxes.append(box)
print("boxes named and labelled by their captions: Actual Depth fsw, %O2 in Nitrox Mix")

for box, text in zip(boxes, (depth, o2)):
    if not Atspi.EditableText.set_text_contents(box, text):
        fail("could not type into '%s'" % box.get_name())


def act(item):
    # A menu entry's and a button's first action is the press.
    return Atspi.Action.do_action(item, 0)


menu_bar = wait_for("the menu bar", lambda: find(frame, Atspi.Role.MENU_BAR, ""))
act(wait_for("Calculate", lambda: find(menu_bar, Atspi.Role.MENU_ITEM, "Calculate")))
lines = [n.get_name() for n in descendants(frame) if n.get_role() == Atspi.Role.LABEL]
print("calculated: " + " | ".join(lines[2:]))

# Print shows a modal box, and the program answers the action only once the box is closed:
# the call is sent without waiting for its answer.
file_menu = wait_for("File", lambda: find(menu_bar, Atspi.Role.MENU, "File")
                     or find(menu_bar, Atspi.Role.MENU_ITEM, "File"))
print_item = wait_for("File > Print", lambda: find(file_menu, Atspi.Role.MENU_ITEM, "Print"))
Atspi.set_timeout(300, -1)
try:
    act(print_item)
except gi.repository.GLib.Error:
    pass  # no answer yet: the box is open
Atspi.set_timeout(25000, -1)


def ok_button():
    for node in descendants(app):
        if node.get_role() == Atspi.Role.PUSH_BUTTON and node.get_name() == "OK":
            return node
    return None


act(wait_for("the OK button of Print's box", ok_button))
print("printed, and the box closed with OK")
