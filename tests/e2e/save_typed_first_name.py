#!/usr/bin/python3
"""The program as a screen reader and a user drive it: on the Persons page check "Bob Stone", type
"Robert" into "First:", File > Save, File > Exit; the saved file must then hold "Robert Stone".

Usage: save_typed_first_name.py CIRCLEWRIGHT CIRCLEWRIGHT_TOOL"""

from program_session import (Failure, click, file_stamp, find, menu_command, run_test, saved_persons, text_of,
                             wait_find, wait_for)


def scenario(session):
    process = session.start()
    app = session.app
    frame = session.focus(process, "network.eng")
    session.check_person(frame, "Bob Stone")
    first = wait_find(frame, "text", "First:")
    last = wait_find(frame, "text", "Last:")
    wait_for("the form to show Bob Stone", lambda: (text_of(first), text_of(last)) == ("Bob", "Stone"))
    session.type_into(first, "Robert")

    unsaved = file_stamp(session.network)
    menu_command(app, "File", "Save")
    wait_for("the file to be written", lambda: file_stamp(session.network) != unsaved)

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

    nodes = saved_persons(session.tool, session.network)
    captions = sorted(node["Caption"] for node in nodes)
    if captions != ["Ann Lee", "Carla Diaz", "Robert Stone"]:
        raise Failure("the saved persons are %s, not Ann Lee, Carla Diaz and Robert Stone" % captions)
    robert = next(node for node in nodes if node["Caption"] == "Robert Stone")
    if "name_first=Robert" not in robert["Attributes"]:
        raise Failure("Robert Stone's attributes are %s" % robert["Attributes"])


if __name__ == "__main__":
    run_test(__file__, __doc__, scenario)
