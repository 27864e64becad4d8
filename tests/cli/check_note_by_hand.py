"""Recomputes every formula line of a calculation note from the numbers it prints, as a
reviewer with a calculator would: the substitution after the last "=" must give the printed
result within one unit of its last printed digit, and "…; целая часть" must be followed by the
whole part of the number before it. A formula with "=" that cannot be recomputed fails too.

    check_note_by_hand.py CALC WORKDIR PROJECT...
"""
import html.parser
import math
import re
import subprocess
import sys

WHOLE = "; целая часть"
FUNCTIONS = {"sqrt": math.sqrt, "abs": abs, "log10": math.log10}


class Rows(html.parser.HTMLParser):
    """The cells of every table row: label, formula, value (a wide row has no formula)."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows, self.cells, self.cell = [], None, None

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.cells = []
        elif tag == "td" and self.cells is not None:
            self.cell = ""
            if ("colspan", "2") in attrs:
                self.cells.append("")

    def handle_endtag(self, tag):
        if tag == "td" and self.cell is not None:
            self.cells.append(self.cell)
            self.cell = None
        elif tag == "tr" and self.cells:
            self.rows.append(self.cells)
            self.cells = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data


def arithmetic(text):
    """The text as a Python expression, or None when it is not plain arithmetic."""
    e = text.replace("−", "-").replace("·", "*").replace("×", "*").replace("²", "**2").replace("^", "**")
    e = e.replace("√(", "sqrt(").replace("lg(", "log10(")
    while "|" in e:
        inner = re.sub(r"\|([^|]*)\|", r"abs(\1)", e, count=1)
        if inner == e:
            return None
        e = inner
    bare = re.sub(r"\b(sqrt|abs|log10)\(", "(", e)
    return e if re.fullmatch(r"[0-9.e+\-*/() ]+", bare) and re.search(r"[0-9]", bare) else None


def number(text):
    try:
        return float(text)
    except ValueError:
        return None


def unit(text):
    """One unit of the last digit the number shows."""
    return 10.0 ** -(len(text) - text.index(".") - 1) if "." in text else 1.0


def check(label, formula, value):
    """What is wrong with one row, or None."""
    if " = " not in formula:
        return None
    segments = formula.split(" = ")
    last = segments[-1]
    whole = last.endswith(WHOLE)
    if whole:
        last = last[: -len(WHOLE)]
    results = [last] if whole else [value]
    expression = segments[-2] if whole else last
    if whole and number(value) is not None and number(last) is not None:
        if math.floor(float(last)) != float(value):
            return f"whole part of {last} is not {value}"
    if number(results[0]) is None:
        return None if value == "—" else f"no number to compare with: {results[0]!r}"
    code = arithmetic(expression)
    if code is None:
        return f"not arithmetic: {expression!r}"
    got = eval(code, {"__builtins__": {}}, FUNCTIONS)  # noqa: S307 — digits and operators only
    want = float(results[0])
    if abs(got - want) > unit(results[0]) * (1 + 1e-9) + abs(want) * 1e-12:
        return f"{expression} = {got!r}, printed {results[0]}"
    return None


def main():
    calc, work, projects = sys.argv[1], sys.argv[2], sys.argv[3:]
    failures = checked = 0
    for i, project in enumerate(projects):
        path = f"{work}/note{i}.html"
        subprocess.run([calc, "--note", path, project], check=True, stdout=subprocess.DEVNULL)
        parser = Rows()
        with open(path, encoding="utf-8") as f:
            parser.feed(f.read())
        for cells in parser.rows:
            if len(cells) < 3:
                continue
            label, formula, value = cells[0], cells[1], cells[2]
            problem = check(label, formula, value)
            checked += " = " in formula
            if problem:
                failures += 1
                print(f"{project}: «{label}»: {problem}\n    {formula} → {value}")
    print(f"{checked} formula lines in {len(projects)} notes, {failures} do not reproduce")
    return 1 if failures or not checked else 0


if __name__ == "__main__":
    sys.exit(main())
