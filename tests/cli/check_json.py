"""Checks coldroom-calc --json on the known project: one object of the four parts, every
control of both windows, and the results the program computes for it."""
import json
import sys

with open(sys.argv[1], encoding="utf-8") as f:
    data = json.load(f)

assert set(data) == {"fields", "lists", "options", "messages"}, data.keys()
fields, lists, options = data["fields"], data["lists"], data["options"]

expect = {
    "Name_txt": "Охлаждение мяса в полутушах и четвертинах",
    "ProjectTitle": "Охлаждение мяса в полутушах и четвертинах",
    "Length_txt": "12",
    "Volume_txt": "150",
    "Cycle_txt": "80",
    "ElectroEva_txt": "350",
    "Total_poteri": "2418",
    "Capacity_need": "3022",
    "Produkt.Real_time_txt": "24",
    "TypeOfCurtain_lbl": "Тип занавеси",
}
for name, text in expect.items():
    assert fields.get(name) == text, (name, fields.get(name), text)
assert "WallLossTotal" in fields
assert all(isinstance(v, str) for v in fields.values())

assert lists["Location_cmb"] == {"index": 10, "text": "Владимир"}, lists["Location_cmb"]
assert lists["Produkt.Task_cmb"]["index"] == 0
assert lists["Nord2_Mt_cmb"]["index"] == 3
assert len([n for n in lists if n.endswith("_Mt_cmb")]) == 18

assert options["ManualEva_opt"] is True and options["AutoEva_opt"] is False
assert options["Door_Special_opt"] is True
assert options["SouthOut_opt"] is True and options["NorthIns_opt"] is True
assert options["optAll_as_one"] is True

assert isinstance(data["messages"], list)
for m in data["messages"]:
    assert set(m) == {"title", "text"}
print("ok")
