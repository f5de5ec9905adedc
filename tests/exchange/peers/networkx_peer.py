#!/usr/bin/python3
"""networkx writes a network as GraphML, which we import; our GraphML and GEXF exports of it are read
back by networkx and compared with the graph file in every person, link, attribute, position and
colour; our GraphML imported again loses nothing.

Usage: networkx_peer.py CIRCLEWRIGHT_TOOL"""

import os

import networkx as nx

from exchange_peer import (attributes, check, compare_networks, dump, expect_equal, link_ends, rgb, run_test,
                           run_tool)


def build_peer_graph():
    graph = nx.DiGraph()
    graph.add_node("a", label="Ann Lee", x=40.0, y=60.0, size=20.0, r=17, g=34, b=51, club="Chess & <Go>", age=33)
    graph.add_node("b", label="Bo Ek", x=300.0, y=200.0, size=14.0, r=255, g=0, b=0, club="Go")
    graph.add_node("c", label="\u00c7y Ro", x=120.0, y=400.0, size=10.0, r=0, g=128, b=255)
    graph.add_edge("a", "b", weight=2.5, label="since 1990", met="school")
    graph.add_edge("b", "c", weight=1.0)
    graph.add_edge("c", "a", weight=0.25, met="work")
    return graph


def check_import(peer, network):
    persons = {node["Caption"]: node for node in network["Nodes"]}
    for key, data in peer.nodes(data=True):
        node = persons.get(data["label"])
        check(node is not None, f"person {data['label']!r} not imported")
        expect_equal(node["Position"], [round(data["x"]), round(data["y"])], f"{data['label']} position")
        expect_equal(node["Size"], round(data["size"]), f"{data['label']} size")
        expect_equal(rgb(node["Color"]), (data["r"], data["g"], data["b"]), f"{data['label']} colour")
        for name in ("club", "age"):
            if name in data:
                expect_equal(attributes(node).get(name), str(data[name]), f"{data['label']} {name}")
    expect_equal(len(network["Links"]), peer.number_of_edges(), "links imported")
    labels = nx.get_node_attributes(peer, "label")
    found = {link_ends(network, link): link for link in network["Links"]}
    for source, target, data in peer.edges(data=True):
        link = found.get((labels[source], labels[target]))
        check(link is not None, f"link {source}->{target} not imported")
        expect_equal(link["Strength"], data["weight"], f"link {source}->{target} weight")
        expect_equal(link["Caption"], data.get("label", ""), f"link {source}->{target} label")
        expect_equal(attributes(link).get("met"), data.get("met"), f"link {source}->{target} met")


def check_export(network, graph, what, position, colour, size):
    expect_equal(graph.number_of_nodes(), len(network["Nodes"]), f"{what}: persons")
    expect_equal(graph.number_of_edges(), len(network["Links"]), f"{what}: links")
    for node in network["Nodes"]:
        data = graph.nodes[node["ID"]]
        expect_equal(data["label"], node["Caption"], f"{what}: label of {node['ID']}")
        expect_equal(position(data), tuple(float(v) for v in node["Position"]), f"{what}: position of {node['Caption']}")
        expect_equal(colour(data), rgb(node["Color"]), f"{what}: colour of {node['Caption']}")
        expect_equal(size(data), float(node["Size"]), f"{what}: size of {node['Caption']}")
        for name, value in attributes(node).items():
            expect_equal(str(data.get(name)), value, f"{what}: {node['Caption']} attribute {name}")
    for link in network["Links"]:
        data = graph.edges[link["Source"], link["Target"]]
        expect_equal(data["weight"], link["Strength"], f"{what}: weight")
        expect_equal(data.get("link_type"), link["TypeName"], f"{what}: link type")
        for name, value in attributes(link).items():
            expect_equal(str(data.get(name)), value, f"{what}: link attribute {name}")


def scenario(tool, directory):
    peer = build_peer_graph()
    peer_file = os.path.join(directory, "peer.graphml")
    nx.write_graphml(peer, peer_file)
    network_file = os.path.join(directory, "net.eng")
    run_tool(tool, "import", peer_file, network_file)
    network = dump(tool, network_file)
    check_import(peer, network)

    graphml = os.path.join(directory, "out.graphml")
    gexf = os.path.join(directory, "out.gexf")
    run_tool(tool, "export", network_file, graphml)
    run_tool(tool, "export", network_file, gexf)
    check_export(network, nx.read_graphml(graphml), "GraphML", lambda d: (d["x"], d["y"]),
                 lambda d: (d["r"], d["g"], d["b"]), lambda d: d["size"])
    check_export(network, nx.read_gexf(gexf), "GEXF",
                 lambda d: (d["viz"]["position"]["x"], d["viz"]["position"]["y"]),
                 lambda d: (d["viz"]["color"]["r"], d["viz"]["color"]["g"], d["viz"]["color"]["b"]),
                 lambda d: d["viz"]["size"])

    again = os.path.join(directory, "again.eng")
    run_tool(tool, "import", graphml, again)
    compare_networks(network, dump(tool, again), "GraphML round trip")


run_test(scenario)
