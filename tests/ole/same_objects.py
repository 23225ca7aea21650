#!/usr/bin/python3
"""Compares the objects of two drawings as drxconv reads them: `same_objects.py A.json B.json`.
Exits 0 when both hold the same objects (kind and bounds, in order) and at least one."""
import json
import sys


def objects(path):
    d = json.load(open(path))
    return [(o["kind"], [round(v, 2) for v in o["bounds"]]) for l in d["layers"] for o in l["objects"]]


a, b = objects(sys.argv[1]), objects(sys.argv[2])
print(len(a), "objects in", sys.argv[1].rsplit("/", 1)[-1] + ",", len(b), "in", sys.argv[2].rsplit("/", 1)[-1])
sys.exit(0 if a and a == b else 1)
