"""Reads the running program's accessible tree over AT-SPI and checks what a screen reader is
told: names, roles and value texts of all controls, the chart's description at two tour steps,
the focus after a click on the scope followed by Tab, and a value set through the interface.
Started by check_a11y.sh inside the D-Bus session; exit code 0 when every check holds."""

import subprocess
import sys
import time

import pyatspi

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def until(probe, timeout=30.0):
    """The first true result of probe() within the timeout, else its last result."""
    end = time.monotonic() + timeout
    while True:
        try:
            result = probe()
        except Exception:  # the tree changes under us while the program starts
            result = None
        if result or time.monotonic() > end:
            return result
        time.sleep(0.2)


def descendants(root, role=None, name=None):
    return pyatspi.utils.findAllDescendants(
        root, lambda a: (role is None or a.getRole() == role) and (name is None or a.name == name))


def window_named(title, role=None):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        for j in range(app.childCount if app else 0):
            window = app.getChildAtIndex(j)
            if window is not None and window.name == title and (role is None
                                                                 or window.getRole() == role):
                return window
    return None


def one(root, role, name):
    found = descendants(root, role, name)
    return found[0] if len(found) == 1 else None


def press(control):
    control.queryAction().doAction(0)


def click(control):
    e = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", "--sync", str(e.x + e.width // 2),
                    str(e.y + e.height // 2), "click", "1"], check=True)


def focused(control):
    return control.getState().contains(pyatspi.STATE_FOCUSED)


about = until(lambda: window_named("About", pyatspi.ROLE_DIALOG), 60)
check(about is not None, "the About box is shown at start")
if about is None:
    sys.exit(1)
links = descendants(about, pyatspi.ROLE_LINK)
check(len(links) >= 2 and all(l.name and l.description.startswith("http") for l in links),
      "the About box's links are named with their texts and targets: "
      + "; ".join("%s -> %s" % (l.name, l.description) for l in links))
press(one(about, pyatspi.ROLE_PUSH_BUTTON, "OK"))

main = until(lambda: window_named("Ionograph"))
check(main is not None, "the main window is on the bus")
if main is None:
    sys.exit(1)

sliders = {
    "Mass coarse": "42.000 u", "Mass fine": "0.000 u, centre 42.000 u", "Range": "8.000 u",
    "Resolution": "800", "Amplification": "full scale 100", "PFK": "0 % (none)",
    "Methyl-nonenone": "0 % (none)", "Pregnene": "0 % (none)",
}
found = {s.name: s for s in descendants(main, pyatspi.ROLE_SLIDER)}
check(sorted(found) == sorted(sliders), "eight named sliders: %s" % sorted(found))
for name, text in sliders.items():
    s = found.get(name)
    check(s is not None and s.description == text,
          "slider %s tells %r (%r)" % (name, text, s.description if s else None))
check(abs(found["Mass coarse"].queryValue().currentValue - 42.0) < 1e-9,
      "the coarse mass's value is in mass units")

readout = one(main, pyatspi.ROLE_LABEL, "Resolution")
check(readout is not None and readout.description == "800", "the read-out is Resolution 800")
for button in ("Exit", "Next", "Reset", "About"):
    check(one(main, pyatspi.ROLE_PUSH_BUTTON, button) is not None, "button " + button)
panes = [a for a in descendants(main, name="Explanation")]
check(len(panes) == 1 and "Step 1" in panes[0].queryText().getText(0, -1),
      "the explanation pane is named and its text readable")
check(len(panes) == 1 and panes[0].description == "Tour step 1 of 5",
      "the pane tells the tour step")

scope = one(main, pyatspi.ROLE_CHART, "Spectrum display")
check(scope is not None and scope.childCount == 0, "the chart is one named picture")
step1 = ("Mass window 38.000 to 46.000 u, full scale 100. "
         "Lines: Ar at 39.962 u, 1 % of full scale.")
check(scope is not None and until(lambda: scope.description == step1),
      "step 1 is described: %r" % (scope.description if scope else None))

# A click on the scope, then Tab: the focus goes on from the slider that had it.
click(found["Mass coarse"])
check(until(lambda: focused(found["Mass coarse"])), "a click focuses the coarse mass")
click(scope)
subprocess.run(["xdotool", "key", "Tab"], check=True)
check(until(lambda: focused(found["Range"])), "after a click on the scope Tab reaches Range")
subprocess.run(["xdotool", "key", "Right"], check=True)
check(until(lambda: found["Range"].description == "8.001 u"), "the arrow key moves Range")

nxt = one(main, pyatspi.ROLE_PUSH_BUTTON, "Next")
for step in range(2, 6):  # a press animates the button; the next waits for its step
    press(nxt)
    check(until(lambda: panes[0].description == "Tour step %d of 5" % step),
          "Next reaches step %d" % step)
step5 = ("Mass window 151.000 to 159.000 u, full scale 4. "
         "Lines: PFK at 154.992 u, 24 % of full scale.")
check(until(lambda: scope.description == step5), "step 5 is described: %r" % scope.description)

found["PFK"].queryValue().currentValue = 30.0
check(until(lambda: found["PFK"].description == "30 %"), "a value set through the interface")
check(until(lambda: "PFK at 154.992 u, 10 % of full scale" in scope.description),
      "the description follows: %r" % scope.description)

print("%d checks failed" % len(failures) if failures else "all checks hold")
sys.exit(1 if failures else 0)
