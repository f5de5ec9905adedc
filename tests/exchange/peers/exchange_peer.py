"""What the peer tests share: running circlewright-tool and reading a graph file as its JSON dump."""

import json
import os
import subprocess
import sys
import tempfile


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def expect_equal(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, got {actual!r}")


def run_tool(tool, *arguments):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    result = subprocess.run([tool, *arguments], capture_output=True, text=True, env=env, timeout=120)
    if result.returncode != 0:
        raise Failure(f"circlewright-tool {' '.join(arguments)} failed: {result.stderr.strip()}")
    return result.stdout


def dump(tool, graph_file):
    return json.loads(run_tool(tool, "dump", graph_file))


def attributes(obj):
    """The free attributes with a value, as a dict."""
    values = {}
    for entry in obj["Attributes"]:
        name, _, value = entry.partition("=")
        if value not in ("na", "n/a", ""):
            values.setdefault(name, value)
    return values


def rgb(colour):
    """The model's 0x00BBGGRR as (r, g, b)."""
    return (colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF)


def by_caption(network):
    persons = {}
    for node in network["Nodes"]:
        check(node["Caption"] not in persons, f"two persons captioned {node['Caption']!r}")
        persons[node["Caption"]] = node
    return persons


def link_ends(network, link):
    ids = {node["ID"]: node["Caption"] for node in network["Nodes"]}
    return ids[link["Source"]], ids[link["Target"]]


def compare_networks(original, copy, what):
    """Every person, link, attribute, position, colour and size of the original is in the copy."""
    persons = by_caption(copy)
    expect_equal(len(copy["Nodes"]), len(original["Nodes"]), f"{what}: number of persons")
    for node in original["Nodes"]:
        check(node["Caption"] in persons, f"{what}: person {node['Caption']!r} missing")
        other = persons[node["Caption"]]
        for field in ("Position", "Color", "Size"):
            expect_equal(other[field], node[field], f"{what}: {node['Caption']} {field}")
        expect_equal(attributes(other), attributes(node), f"{what}: {node['Caption']} attributes")
    expect_equal(len(copy["Links"]), len(original["Links"]), f"{what}: number of links")
    links = {link_ends(copy, link) + (link["TypeName"],): link for link in copy["Links"]}
    for link in original["Links"]:
        key = link_ends(original, link) + (link["TypeName"],)
        check(key in links, f"{what}: link {key} missing")
        other = links[key]
        for field in ("Caption", "Strength", "Color", "Width", "Directed"):
            expect_equal(other[field], link[field], f"{what}: link {key} {field}")
        expect_equal(attributes(other), attributes(link), f"{what}: link {key} attributes")


def run_test(scenario):
    """Runs scenario(tool, directory) and reports as a test runner expects."""
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} CIRCLEWRIGHT_TOOL", file=sys.stderr)
        sys.exit(2)
    with tempfile.TemporaryDirectory() as directory:
        try:
            scenario(sys.argv[1], directory)
        except Failure as failure:
            print(f"FAILED: {failure}", file=sys.stderr)
            sys.exit(1)
    print("passed")
