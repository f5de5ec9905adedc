#!/usr/bin/python3
"""Nothing is lost to a crash: with the recovery interval shortened in "Circlewright.ini", an edit
is copied into the recovery folder; the program is killed (SIGKILL); the next start offers the copy,
"Restore" brings the edit back as a change of the original file, and File > Save writes it there.

Usage: recover_after_crash.py CIRCLEWRIGHT CIRCLEWRIGHT_TOOL"""

import glob
import os
import shutil
import signal

from program_session import (Failure, click, file_stamp, find, menu_command, run_test, saved_persons, wait_find,
                             wait_for)


def captions(tool, path):
    return sorted(node["Caption"] for node in saved_persons(tool, path))


def scenario(session):
    # A copy of the program in a folder of its own, so that its settings file (kept beside it) can
    # shorten the interval without touching the build.
    folder = os.path.join(session.work, "program")
    os.mkdir(folder)
    program = os.path.join(folder, os.path.basename(session.program))
    shutil.copy2(session.program, program)
    with open(os.path.join(folder, "Circlewright.ini"), "w") as ini:
        ini.write("[Autosave]\nInterval=1\n")
    recovery = os.path.join(session.work, "data", os.path.basename(program), "recovery")

    process = session.start(program)
    frame = session.focus(process, "network.eng")
    session.check_person(frame, "Bob Stone")
    session.type_into(wait_find(frame, "text", "First:"), "Robert")
    # Leaving the page stores what was typed: the graph now has unsaved changes.
    click(wait_find(frame, "page tab", "Connections"))
    copies = wait_for("a recovery copy holding the edit", lambda: [
        path for path in glob.glob(os.path.join(recovery, "recovery-*.eng"))
        if os.path.exists(path[:-4] + ".ini") and "Robert Stone" in captions(session.tool, path)])
    os.kill(process.pid, signal.SIGKILL)
    process.wait(10)
    if not all(os.path.exists(path) for path in copies):
        raise Failure("the recovery copy went with the killed program")
    if captions(session.tool, session.network) != ["Ann Lee", "Bob Stone", "Carla Diaz"]:
        raise Failure("the original file changed before anything was saved")

    process = session.start(program)
    wait_find(session.app, "label", lambda name: name.startswith("Circlewright was not closed properly"))
    click(wait_find(session.app, "push button", "Restore"))
    frame = session.focus(process, "network.eng")
    wait_find(frame, "table cell", "Robert Stone")

    unsaved = file_stamp(session.network)
    menu_command(session.app, "File", "Save")
    wait_for("the original file to be written", lambda: file_stamp(session.network) != unsaved)
    menu_command(session.app, "File", "Exit")

    def ended_without_question():
        if find(session.app, "label", lambda name: name.startswith("Save changes to")):
            raise Failure("File > Exit asked to save right after File > Save")
        return process.poll() is not None

    wait_for("the program to end after File > Exit", ended_without_question)
    session.wait_exit(process, "the program to end")

    if captions(session.tool, session.network) != ["Ann Lee", "Carla Diaz", "Robert Stone"]:
        raise Failure("the restored edit is not in the saved file: %s" % captions(session.tool, session.network))
    left = glob.glob(os.path.join(recovery, "recovery-*.eng"))
    if left:
        raise Failure("recovery copies are left after a save and a clean exit: %s" % left)


if __name__ == "__main__":
    run_test(__file__, __doc__, scenario)
