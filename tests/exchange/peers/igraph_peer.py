#!/usr/bin/python3
"""igraph writes a network as GraphML, which we import; our GraphML export of it is read back by
igraph and compared with the graph file in every person, link, attribute, position and colour.

Usage: igraph_peer.py CIRCLEWRIGHT_TOOL"""

import os
import warnings

import igraph

from exchange_peer import attributes, check, dump, expect_equal, link_ends, rgb, run_test, run_tool


def build_peer_graph():
    graph = igraph.Graph(directed=False)
    graph.add_vertices(4)
    graph.vs["label"] = ["Ann Lee", "Bo Ek", "Cy Ro", "Di"]
    graph.vs["x"] = [50.0, 250.25, 400.0, 90.0]
    graph.vs["y"] = [30.0, 80.0, 300.0, 500.0]
    graph.vs["r"] = [10, 20, 30, 255]
    graph.vs["g"] = [40, 50, 60, 255]
    graph.vs["b"] = [70, 80, 90, 0]
    graph.vs["size"] = [12.0, 16.0, 20.0, 24.0]
    graph.vs["town"] = ["Oslo", "Bergen", "", "Troms\u00f8"]
    graph.add_edges([(0, 1), (1, 2), (2, 3), (3, 0)])
    graph.es["weight"] = [1.0, 2.0, 3.5, 0.5]
    graph.es["kind"] = ["kin", "work", "kin", "club"]
    return graph


def scenario(tool, directory):
    peer = build_peer_graph()
    peer_file = os.path.join(directory, "peer.graphml")
    peer.write_graphml(peer_file)
    network_file = os.path.join(directory, "net.eng")
    run_tool(tool, "import", peer_file, network_file)
    network = dump(tool, network_file)

    persons = {node["Caption"]: node for node in network["Nodes"]}
    for vertex in peer.vs:
        node = persons.get(vertex["label"])
        check(node is not None, f"person {vertex['label']!r} not imported")
        expect_equal(node["Position"], [round(vertex["x"]), round(vertex["y"])], f"{vertex['label']} position")
        expect_equal(rgb(node["Color"]), (vertex["r"], vertex["g"], vertex["b"]), f"{vertex['label']} colour")
        expect_equal(node["Size"], round(vertex["size"]), f"{vertex['label']} size")
        expect_equal(attributes(node).get("town"), vertex["town"] or None, f"{vertex['label']} town")
    links = {frozenset(link_ends(network, link)): link for link in network["Links"]}
    expect_equal(len(network["Links"]), peer.ecount(), "links imported")
    for edge in peer.es:
        ends = frozenset((peer.vs[edge.source]["label"], peer.vs[edge.target]["label"]))
        link = links.get(ends)
        check(link is not None, f"link {sorted(ends)} not imported")
        expect_equal(link["Directed"], False, f"link {sorted(ends)} direction")
        expect_equal(link["Strength"], edge["weight"], f"link {sorted(ends)} weight")
        expect_equal(attributes(link).get("kind"), edge["kind"], f"link {sorted(ends)} kind")

    graphml = os.path.join(directory, "out.graphml")
    run_tool(tool, "export", network_file, graphml)
    with warnings.catch_warnings():
        # igraph skips yEd's graphics keys, which have no attribute type by their nature.
        warnings.simplefilter("ignore", RuntimeWarning)
        back = igraph.Graph.Read_GraphML(graphml)
    expect_equal(back.is_directed(), False, "exported direction")
    expect_equal(back.vcount(), len(network["Nodes"]), "exported persons")
    vertices = {vertex["id"]: vertex for vertex in back.vs}
    for node in network["Nodes"]:
        vertex = vertices[node["ID"]]
        expect_equal(vertex["label"], node["Caption"], f"label of {node['ID']}")
        expect_equal((vertex["x"], vertex["y"]), tuple(float(v) for v in node["Position"]), f"{node['Caption']} position")
        expect_equal((int(vertex["r"]), int(vertex["g"]), int(vertex["b"])), rgb(node["Color"]),
                     f"{node['Caption']} colour")
        expect_equal(vertex["size"], float(node["Size"]), f"{node['Caption']} size")
        for name, value in attributes(node).items():
            expect_equal(vertex[name], value, f"{node['Caption']} attribute {name}")
    expect_equal(back.ecount(), len(network["Links"]), "exported links")
    exported = {frozenset((back.vs[e.source]["id"], back.vs[e.target]["id"])): e for e in back.es}
    for link in network["Links"]:
        edge = exported[frozenset((link["Source"], link["Target"]))]
        expect_equal(edge["weight"], link["Strength"], "exported weight")
        expect_equal(edge["link_type"], link["TypeName"], "exported link type")
        for name, value in attributes(link).items():
            expect_equal(edge[name], value, f"exported link attribute {name}")


run_test(scenario)
