#!/usr/bin/python3
"""The program as a screen reader and a user drive it: on the Persons page check "Bob Stone", type
"Robert" into "First:", File > Save, File > Exit; the saved file must then hold "Robert Stone".

Usage: save_typed_first_name.py CIRCLEWRIGHT CIRCLEWRIGHT_TOOL

It runs itself again inside a virtual X server with its own session and accessibility buses, so it
neither needs nor disturbs a desktop. Missing tools are an error, never a reason to skip."""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
NETWORK = os.path.join(HERE, "network.json")
SUPPRESSIONS = {"ASAN_OPTIONS": os.path.join(HERE, "asan.supp"), "LSAN_OPTIONS": os.path.join(HERE, "lsan.supp")}
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
PACKAGES = "xvfb xauth dbus at-spi2-core python3-pyatspi xdotool"
# Generous for a sanitized build on a busy machine; a normal run needs a fraction of each.
START_DEADLINE = 60
STEP_DEADLINE = 20
pyatspi = None  # imported inside the session, where the accessibility bus is


class Failure(Exception):
    pass


def wait_for(what, probe, deadline=STEP_DEADLINE):
    """Polls probe() until it returns something true, and returns that. Errors of nodes that vanish
    meanwhile count as "not yet"; a Failure ends the wait at once."""
    end = time.monotonic() + deadline
    last_error = ""
    while True:
        try:
            result = probe()
            if result:
                return result
        except Failure:
            raise
        except Exception as error:
            last_error = " (last error: %s)" % error
        if time.monotonic() > end:
            raise Failure("timed out after %d s waiting for %s%s" % (deadline, what, last_error))
        time.sleep(0.2)


def run(command, deadline=STEP_DEADLINE):
    done = subprocess.run(command, capture_output=True, text=True, timeout=deadline)
    if done.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(command), done.returncode, done.stderr.strip()))
    return done.stdout


def descendants(node, depth=0):
    """(node, depth) for the node and everything below it; nodes that vanish meanwhile are left out."""
    yield node, depth
    try:
        children = [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:
        return
    for child in children:
        if child is not None:
            yield from descendants(child, depth + 1)


def describe(node):
    try:
        return "%s %r" % (node.getRoleName(), node.name)
    except Exception:
        return "(gone)"


def on_screen(node):
    try:
        return (node.getState().contains(pyatspi.STATE_SHOWING)
                and node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width > 0)
    except Exception:
        return False


def find(root, role, name, showing=True):
    """The first node under root of the role whose name is name (or passes it, a function), or None."""
    matches = name if callable(name) else (lambda text: text == name)
    for node, _ in descendants(root):
        try:
            if node.getRoleName() == role and matches(node.name) and (not showing or on_screen(node)):
                return node
        except Exception:
            pass
    return None


def wait_find(root, role, name):
    return wait_for("%s %r on the screen" % (role, name), lambda: find(root, role, name))


def click(node):
    """A real left click in the middle of the node: a press through the accessibility interface
    would not return while a modal window that it opens is up."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if box.width <= 0 or box.height <= 0:
        raise Failure("%s has no area on the screen" % describe(node))
    run(["xdotool", "mousemove", "--sync", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1"])


def text_of(node):
    return node.queryText().getText(0, -1)


def menu_command(app, menu, item):
    click(wait_find(app, "menu item", menu))
    # The items of a menu are in the tree before it opens: wait_find waits until this one is shown.
    click(wait_find(app, "menu item", item))


def drive(app, process, copy):
    frame = wait_for("the main window showing the file",
                     lambda: find(app, "frame", lambda name: "network.eng" in name, showing=False))
    # No window manager runs here to give the new window the focus, so do what one would. The first
    # activation sets the pages up afresh: a click that came before it would be lost.
    window = run(["xdotool", "search", "--onlyvisible", "--pid", str(process.pid), "--name", r"network\.eng"])
    run(["xdotool", "windowfocus", "--sync", window.split()[0]])
    wait_for("the main window to be active", lambda: frame.getState().contains(pyatspi.STATE_ACTIVE))
    tab = wait_find(frame, "page tab", "Persons")
    if not tab.getState().contains(pyatspi.STATE_SELECTED):
        click(tab)

    grid = wait_find(frame, "table", "Person")
    bob = wait_find(grid, "table cell", "Bob Stone")
    table = grid.queryTable()
    check = table.getAccessibleAt(table.getRowAtIndex(bob.getIndexInParent()), 0)
    if check is None or check.getState().contains(pyatspi.STATE_CHECKED):
        raise Failure("Bob Stone's row has no unchecked check box before the click: %s" % describe(check))
    # A click on a name checks the person and loads the form.
    click(bob)
    wait_for("Bob Stone to be checked", lambda: check.getState().contains(pyatspi.STATE_CHECKED))
    first = wait_find(frame, "text", "First:")
    last = wait_find(frame, "text", "Last:")
    wait_for("the form to show Bob Stone", lambda: (text_of(first), text_of(last)) == ("Bob", "Stone"))

    # Typed: the page takes only what the user types, not text set through the accessibility interface.
    click(first)
    run(["xdotool", "key", "--clearmodifiers", "ctrl+a", "BackSpace"])
    run(["xdotool", "type", "--delay", "20", "Robert"])
    wait_for('"First:" to read Robert', lambda: text_of(first) == "Robert")

    stamp = lambda: (os.stat(copy).st_ino, os.stat(copy).st_mtime_ns)  # the file is replaced on saving
    unsaved = stamp()
    menu_command(app, "File", "Save")
    wait_for("the file to be written", lambda: stamp() != unsaved)

    menu_command(app, "File", "Exit")
    question = None

    def ended():
        nonlocal question
        if process.poll() is not None:
            return True
        label = None if question else find(app, "label", lambda name: name.startswith("Save changes to"))
        if label is not None:
            # "No" keeps exactly what Save wrote; the question itself fails the test below.
            question = label.name
            click(wait_find(app, "push button", "No"))
        return False

    wait_for("the program to end after File > Exit", ended)
    if question:
        raise Failure("File > Exit asked %r right after File > Save" % question)
    if process.returncode != 0:
        raise Failure("the program exited with %d" % process.returncode)


def check_saved(tool, copy):
    nodes = json.loads(run([tool, "dump", copy]))["Nodes"]
    captions = sorted(node["Caption"] for node in nodes)
    if captions != ["Ann Lee", "Carla Diaz", "Robert Stone"]:
        raise Failure("the saved persons are %s, not Ann Lee, Carla Diaz and Robert Stone" % captions)
    robert = next(node for node in nodes if node["Caption"] == "Robert Stone")
    if "name_first=Robert" not in robert["Attributes"]:
        raise Failure("Robert Stone's attributes are %s" % robert["Attributes"])


def inside(program, tool):
    global pyatspi
    work = tempfile.mkdtemp(prefix="cw-e2e-")
    copy = os.path.join(work, "network.eng")
    log_path = os.path.join(work, "program.log")
    launcher = process = app = None
    try:
        run(["xdotool", "getdisplaygeometry"])  # the virtual X server answers
        run([tool, "build", NETWORK, copy])
        # A process group of its own holds the launcher, its bus and the registry, to be ended together.
        launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, start_new_session=True)
        wait_for("the accessibility bus", lambda: "true" in run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]))
        import pyatspi
        os.mkdir(os.path.join(work, "runtime"), 0o700)
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   TMPDIR=work, XDG_RUNTIME_DIR=os.path.join(work, "runtime"),
                   # Recovery copies of the user's own sessions stay out of the test.
                   XDG_DATA_HOME=os.path.join(work, "data"))
        # For a sanitized build: what the X and D-Bus libraries do under xcb is not the program's fault.
        for variable, path in SUPPRESSIONS.items():
            env[variable] = ":".join(filter(None, [env.get(variable), "suppressions=" + path]))
        started = time.monotonic()
        with open(log_path, "w") as log:
            process = subprocess.Popen([program, copy], env=env, stdout=log, stderr=subprocess.STDOUT)

        name = os.path.basename(program)

        def application():
            if process.poll() is not None:
                raise Failure("the program ended at start with exit code %d" % process.returncode)
            return next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == name), None)

        app = wait_for("the program on the accessibility bus", application, START_DEADLINE)
        drive(app, process, copy)
        check_saved(tool, copy)
        print("e2e: passed in %.1f s" % (time.monotonic() - started))
        return 0
    except Exception as error:
        print("e2e: FAILED: %s: %s" % (type(error).__name__, error))
        if app is not None and process.poll() is None:
            print("Accessibility tree of the program:")
            print("\n".join("  " * depth + describe(node) for node, depth in descendants(app)))
        return 1
    finally:
        if process is not None and process.poll() is None:
            process.kill()
            process.wait(10)
        if launcher is not None:
            os.killpg(launcher.pid, signal.SIGTERM)
            launcher.wait(10)
        output = open(log_path).read().strip() if os.path.exists(log_path) else ""
        if output:
            print("Output of the program:\n" + output)
        shutil.rmtree(work, ignore_errors=True)


def outside(program, tool):
    missing = [t for t in ("xvfb-run", "xauth", "dbus-run-session", "dbus-send", "xdotool") if not shutil.which(t)]
    if not os.access(BUS_LAUNCHER, os.X_OK):
        missing.append(BUS_LAUNCHER)
    if subprocess.run(["/usr/bin/python3", "-c", "import pyatspi"], capture_output=True).returncode != 0:
        missing.append("pyatspi for /usr/bin/python3")
    if missing:
        print("e2e: cannot run, missing %s. Install the packages %s (bash scripts/deps does)."
              % (", ".join(missing), PACKAGES))
        return 1
    # -noreset: by default the server resets when its last client leaves, and a program that
    # connects during the reset is turned away.
    command = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -noreset", "dbus-run-session", "--",
               "/usr/bin/python3", os.path.abspath(__file__), "--inside", program, tool]
    # A session of its own, so that a hung run can be ended with everything it started.
    with subprocess.Popen(command, start_new_session=True) as session:
        try:
            return session.wait(START_DEADLINE + 10 * STEP_DEADLINE)
        except subprocess.TimeoutExpired:
            print("e2e: FAILED: the test did not end in time")
            os.killpg(session.pid, signal.SIGKILL)
            return 1


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--inside":
        sys.exit(inside(sys.argv[2], sys.argv[3]))
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(outside(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])))
