"""Checks coldroom-calc --json --store … --energy on the example store: the levels are the
plant's (with t0, share and k), the total says it adds different machines, the energy's levels
are the same, and the study's least life-cycle cost is one of its points and the least."""
import json
import sys

with open(sys.argv[1], encoding="utf-8") as f:
    data = json.load(f)

levels = data["levels"]
assert [l["name"] for l in levels] == ["СТ", "НТ"], levels
assert [l["evaporating"] for l in levels] == [-15, -35]
assert levels[1]["compressor"] == round(levels[1]["pipework"] * levels[1]["parts"]), levels[1]
assert data["total"]["differentMachines"] is True
assert [r["level"] for r in data["rooms"]] == ["СТ", "НТ", "НТ"]
energy = data["energy"]
assert energy["defined"] is True and energy["town"] == "Владимир", energy
assert [l["name"] for l in energy["levels"]] == ["СТ", "НТ"]
assert abs(sum(sum(l["monthKWh"]) for l in energy["levels"]) - energy["totalKWh"]) < 1e-6 * energy["totalKWh"]
study = data["insulation"]
assert study["subject"] == "chilling.cfg"
points = study["points"]
assert [p["mm"] for p in points] == [100, 150, 200]
best = min(points, key=lambda p: p["lifeCycleCost"])
assert study["bestMm"] == best["mm"], (study["bestMm"], best)
