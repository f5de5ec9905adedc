#!/usr/bin/python3
"""Google Contacts (current and legacy) and Outlook CSV files, written with the programs' real header
rows (tests/exchange/data), are imported and every mapped field compared.

Usage: contacts_csv_peer.py CIRCLEWRIGHT_TOOL"""

import csv
import io
import os

from exchange_peer import attributes, check, dump, expect_equal, run_test, run_tool

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")

# The person every file describes, as the Persons page keeps it.
EXPECTED = {
    "Ann Lee": {"name_first": "Ann", "name_last": "Lee", "email": "ann@example.org", "homephone": "030 1",
                "workphone": "040 2", "cellphone": "0170 3", "birthday_month": "April", "birthday_year": "1985",
                "work_type": "Acme, Inc.", "categories": "Friends,Chess"},
    "J\u00fcrgen M\u00fcller": {"name_first": "J\u00fcrgen", "name_last": "M\u00fcller", "email": "jm@example.org",
                                "sex": "male", "birthday_month": "July"},
}

FILES = {
    "google-contacts-header.csv": ("utf-8-sig", [
        {"First Name": "Ann", "Last Name": "Lee", "E-mail 1 - Label": "* Home", "E-mail 1 - Value": "ann@example.org",
         "Phone 1 - Label": "Home", "Phone 1 - Value": "030 1", "Phone 2 - Label": "Work", "Phone 2 - Value": "040 2",
         "Phone 3 - Label": "Mobile", "Phone 3 - Value": "0170 3", "Birthday": "1985-04-12",
         "Organization Name": "Acme, Inc.", "Labels": "* myContacts ::: Friends ::: Chess"},
        {"First Name": "J\u00fcrgen", "Last Name": "M\u00fcller", "E-mail 1 - Value": "jm@example.org",
         "Birthday": "--07-04", "Notes": "met at\nwork, 2019"},
    ]),
    "google-legacy-header.csv": ("utf-8", [
        {"Name": "Ann Lee", "Given Name": "Ann", "Family Name": "Lee", "E-mail 1 - Type": "* Home",
         "E-mail 1 - Value": "ann@example.org", "Phone 1 - Type": "Home", "Phone 1 - Value": "030 1",
         "Phone 2 - Type": "Work", "Phone 2 - Value": "040 2", "Phone 3 - Type": "Mobile",
         "Phone 3 - Value": "0170 3", "Birthday": "1985-04-12", "Organization 1 - Name": "Acme, Inc.",
         "Group Membership": "* myContacts ::: Friends ::: Chess"},
        {"Name": "J\u00fcrgen M\u00fcller", "Given Name": "J\u00fcrgen", "Family Name": "M\u00fcller",
         "Gender": "male", "E-mail 1 - Value": "jm@example.org", "Birthday": "--07-04"},
    ]),
    # Outlook writes the ANSI code page.
    "outlook-contacts-header.csv": ("cp1252", [
        {"First Name": "Ann", "Last Name": "Lee", "E-mail Address": "ann@example.org", "Home Phone": "030 1",
         "Business Phone": "040 2", "Mobile Phone": "0170 3", "Birthday": "4/12/1985", "Company": "Acme, Inc.",
         "Categories": "Friends;Chess", "Gender": "Unspecified"},
        {"First Name": "J\u00fcrgen", "Last Name": "M\u00fcller", "E-mail Address": "jm@example.org",
         "Gender": "Male", "Birthday": "7/4/0000"},
    ]),
}


def contacts_file(header_file, encoding, rows):
    with open(os.path.join(DATA, header_file), encoding="utf-8", newline="") as header_in:
        header = next(csv.reader(header_in))
    text = io.StringIO()
    writer = csv.writer(text)
    writer.writerow(header)
    for row in rows:
        for title in row:
            check(title in header, f"{header_file} has no column {title!r}")
        writer.writerow([row.get(title, "") for title in header])
    return text.getvalue().encode(encoding)


def scenario(tool, directory):
    for header_file, (encoding, rows) in FILES.items():
        source = os.path.join(directory, header_file)
        with open(source, "wb") as out:
            out.write(contacts_file(header_file, encoding, rows))
        network_file = os.path.join(directory, header_file + ".eng")
        run_tool(tool, "import", source, network_file)
        persons = {node["Caption"]: attributes(node) for node in dump(tool, network_file)["Nodes"]}
        expect_equal(sorted(persons), sorted(EXPECTED), f"{header_file}: persons")
        for caption, fields in EXPECTED.items():
            # The current Google format has no column for sex.
            expected = {name: value for name, value in fields.items()
                        if name != "sex" or header_file != "google-contacts-header.csv"}
            expect_equal(persons[caption], expected, f"{header_file}: {caption}")


run_test(scenario)
