"""Driving the real program as a screen reader and a user do: through its accessibility tree (AT-SPI)
and real pointer and key input, inside a virtual X server with session and accessibility buses of its
own, so that a test neither needs nor disturbs a desktop. Missing tools are an error, never a reason
to skip.

A test script calls run_test(scenario); run as "SCRIPT CIRCLEWRIGHT CIRCLEWRIGHT_TOOL" it starts itself
again inside the session, where scenario(session) runs."""

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


def process_id(app):
    """The process behind an application on the bus, when the bus tells it: a program that was
    killed may linger there under the same name."""
    try:
        return app.get_process_id()
    except Exception:
        return None


def file_stamp(path):
    """Changes whenever the file is replaced, as saving does."""
    return os.stat(path).st_ino, os.stat(path).st_mtime_ns


def saved_persons(tool, path):
    return json.loads(run([tool, "dump", path]))["Nodes"]


class Session:
    """What a scenario works with: the programs, a work folder, and the programs it started."""

    def __init__(self, program, tool, work):
        self.program = program
        self.tool = tool
        self.work = work
        self.network = os.path.join(work, "network.eng")
        self.processes = []
        self.app = None
        os.mkdir(os.path.join(work, "runtime"), 0o700)
        self.env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                        TMPDIR=work, XDG_RUNTIME_DIR=os.path.join(work, "runtime"),
                        # Recovery copies and settings of the user's own sessions stay out of the test.
                        XDG_DATA_HOME=os.path.join(work, "data"), XDG_CONFIG_HOME=os.path.join(work, "config"))
        # For a sanitized build: what the X and D-Bus libraries do under xcb is not the program's fault.
        for variable, path in SUPPRESSIONS.items():
            self.env[variable] = ":".join(filter(None, [self.env.get(variable), "suppressions=" + path]))

    def start(self, program=None, *arguments):
        """Starts the program on the arguments (the network by default); its process once it is on
        the accessibility bus (self.app)."""
        program = program or self.program
        log = open(os.path.join(self.work, "program-%d.log" % len(self.processes)), "w")
        process = subprocess.Popen([program, *(arguments or [self.network])], env=self.env, stdout=log,
                                   stderr=subprocess.STDOUT)
        self.processes.append(process)
        name = os.path.basename(program)

        def application():
            if process.poll() is not None:
                raise Failure("the program ended at start with exit code %d" % process.returncode)
            return next((a for a in pyatspi.Registry.getDesktop(0)
                         if a is not None and a.name == name and process_id(a) in (None, process.pid)), None)

        self.app = wait_for("the program on the accessibility bus", application, START_DEADLINE)
        return process

    def focus(self, process, title):
        """Gives the window whose title holds title the focus, as a window manager would (none runs
        here), and waits until it is active: its first activation sets the pages up afresh, and a
        click that came before it would be lost. The window's frame."""
        frame = wait_for("the main window titled %r" % title,
                         lambda: find(self.app, "frame", lambda name: title in name, showing=False))
        window = run(["xdotool", "search", "--onlyvisible", "--pid", str(process.pid), "--name", title.replace(".", r"\.")])
        run(["xdotool", "windowfocus", "--sync", window.split()[0]])
        wait_for("the main window to be active", lambda: frame.getState().contains(pyatspi.STATE_ACTIVE))
        return frame

    def check_person(self, frame, caption):
        """Checks the person on the Persons page by a click on the name, which also loads the form."""
        tab = wait_find(frame, "page tab", "Persons")
        if not tab.getState().contains(pyatspi.STATE_SELECTED):
            click(tab)
        grid = wait_find(frame, "table", "Person")
        name = wait_find(grid, "table cell", caption)
        table = grid.queryTable()
        check = table.getAccessibleAt(table.getRowAtIndex(name.getIndexInParent()), 0)
        if check is None or check.getState().contains(pyatspi.STATE_CHECKED):
            raise Failure("%s's row has no unchecked check box before the click: %s" % (caption, describe(check)))
        click(name)
        wait_for("%s to be checked" % caption, lambda: check.getState().contains(pyatspi.STATE_CHECKED))

    def type_into(self, field, text):
        """Types over the field's text: the pages take only what the user types."""
        click(field)
        run(["xdotool", "key", "--clearmodifiers", "ctrl+a", "BackSpace"])
        run(["xdotool", "type", "--delay", "20", text])
        wait_for("%s to read %r" % (describe(field), text), lambda: text_of(field) == text)

    def wait_exit(self, process, what):
        wait_for(what, lambda: process.poll() is not None)
        if process.returncode != 0:
            raise Failure("the program exited with %d" % process.returncode)

    def cleanup(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait(10)
        for index in range(len(self.processes)):
            path = os.path.join(self.work, "program-%d.log" % index)
            output = open(path).read().strip() if os.path.exists(path) else ""
            if output:
                print("Output of program run %d:\n%s" % (index + 1, output))


def inside(scenario, program, tool):
    global pyatspi
    work = tempfile.mkdtemp(prefix="cw-e2e-")
    launcher = session = None
    started = time.monotonic()
    try:
        run(["xdotool", "getdisplaygeometry"])  # the virtual X server answers
        # A process group of its own holds the launcher, its bus and the registry, to be ended together.
        launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, start_new_session=True)
        wait_for("the accessibility bus", lambda: "true" in run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]))
        import pyatspi
        session = Session(program, tool, work)
        run([tool, "build", NETWORK, session.network])
        scenario(session)
        print("e2e: passed in %.1f s" % (time.monotonic() - started))
        return 0
    except Exception as error:
        print("e2e: FAILED: %s: %s" % (type(error).__name__, error))
        if session is not None and session.app is not None:
            print("Accessibility tree of the program:")
            print("\n".join("  " * depth + describe(node) for node, depth in descendants(session.app)))
        return 1
    finally:
        if session is not None:
            session.cleanup()
        if launcher is not None:
            os.killpg(launcher.pid, signal.SIGTERM)
            launcher.wait(10)
        shutil.rmtree(work, ignore_errors=True)


def outside(script, program, tool):
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
               "/usr/bin/python3", os.path.abspath(script), "--inside", program, tool]
    # A session of its own, so that a hung run can be ended with everything it started.
    with subprocess.Popen(command, start_new_session=True) as session:
        try:
            return session.wait(START_DEADLINE * 2 + 20 * STEP_DEADLINE)
        except subprocess.TimeoutExpired:
            print("e2e: FAILED: the test did not end in time")
            os.killpg(session.pid, signal.SIGKILL)
            return 1


def run_test(script, usage, scenario):
    if len(sys.argv) == 4 and sys.argv[1] == "--inside":
        sys.exit(inside(scenario, sys.argv[2], sys.argv[3]))
    if len(sys.argv) != 3:
        sys.exit(usage)
    sys.exit(outside(script, os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])))
