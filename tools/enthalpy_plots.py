#!/usr/bin/env python3
"""Pictures of the product enthalpy tables for docs/data-revision.md.

usage: tools/enthalpy_plots.py OLD_PRODMEAT_CSV NEW_PRODMEAT_CSV OUTDIR

For each column of the Russian table «Энтальпия пищевых продуктов при различных температурах»
one PNG: the column's points, the table the composition model gave (OLD) and the shipped table
(NEW), as H(t) − H(−20 °C); the whole curve on the left, the frozen range on the right. Needs
gnuplot. A documentation tool: it asserts nothing.
"""
import csv
import os
import subprocess
import sys

TEMPS = [-25, -20, -18, -16, -14, -12, -10, -8, -6]
# column title, product row shown (1-based), increments from −20 °C as read (None: not read)
COLUMNS = [
    ("мясо говяжье, птица (говядина, ряд 1)", 1, [-10.9, 0, 4.6, 10.1, 15.9, 22.2, 30.2, 39.4, None]),
    ("баранина (ряд 4)", 4, [-10.9, 0, 4.6, 9.6, 15.5, 21.8, 29.7, 38.5, None]),
    ("свинина мясная (ряд 3)", 3, [-10.5, 0, 4.6, 9.6, 15.1, 21.4, 28.9, 37.3, None]),
    ("субпродукты мясные (ряд 7)", 7, [-11.7, 0, 5.0, 10.9, 17.2, 24.3, 33.1, 43.2, None]),
    ("мясо говяжье бескостное (ряд 6)", 6, [-11.3, 0, 5.0, 10.5, 16.8, 23.5, 31.4, 41.1, None]),
    ("рыба тощих пород (треска, ряд 17)", 17, [-12.2, 0, 5.0, 10.9, 17.6, 24.7, 33.5, 43.6, None]),
    ("рыба жирных пород (сельдь, ряд 19)", 19, [-12.2, 0, 5.0, 10.9, 17.2, 24.3, 32.7, 42.3, None]),
    ("рыбное филе (ряд 21)", 21, [-12.6, 0, 5.4, 11.3, 18.0, 25.6, 34.8, 45.7, None]),
    ("яйцо в скорлупе (ряд 23)", 23, [-8.8, 0, 4.2, 8.4, 12.6, 17.6, 22.6, 28.5, None]),
    ("яичный меланж (ряд 24)", 24, [-9.6, 0, 4.6, 8.8, 13.8, 18.4, 24.3, 31.0, None]),
    ("масло сливочное (ряд 29)", 29, [-9.2, 0, 3.8, 8.0, 12.6, 17.6, 23.5, 29.3, 36.5]),
    ("молоко цельное (ряд 30)", 30, [-12.6, 0, 5.4, 11.3, 17.6, 25.1, 32.7, 42.3, 54.5]),
    ("мороженое молочное (ряд 35)", 35, [-14.7, 0, 6.3, 13.4, 22.2, 33.1, 47.3, 65.4, 92.2]),
    ("мороженое сливочное (ряд 36)", 36, [-16.3, 0, 7.1, 15.5, 24.3, 34.8, 46.9, 62.4, 86.7]),
]


def tables(path):
    with open(path, encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    out = []
    for r in rows:
        t = [float(x) for x in r["Temperatures"].split(",")]
        h = [float(x) for x in r["Enthalpy"].split(",")]
        out.append((t, h))
    return out


def at(table, x):
    t, h = table
    for k in range(1, len(t)):
        if t[k - 1] <= x <= t[k]:
            return h[k - 1] + (h[k] - h[k - 1]) * (x - t[k - 1]) / (t[k] - t[k - 1])
    raise ValueError(x)


def curve(table, path):
    zero = at(table, -20)
    with open(path, "w") as f:
        for x, y in zip(*table):
            if x <= 20:
                f.write(f"{x} {y - zero}\n")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    old, new, outdir = tables(sys.argv[1]), tables(sys.argv[2]), sys.argv[3]
    os.makedirs(outdir, exist_ok=True)
    work = os.path.join(outdir, ".work")
    os.makedirs(work, exist_ok=True)
    for n, (title, row, points) in enumerate(COLUMNS, 1):
        base = os.path.join(work, str(n))
        curve(old[row - 1], base + ".old")
        curve(new[row - 1], base + ".new")
        with open(base + ".ru", "w") as f:
            for x, y in zip(TEMPS, points):
                if y is not None:
                    f.write(f"{x} {y}\n")
        png = os.path.join(outdir, f"enthalpy_{n:02d}.png")
        script = f"""
set terminal pngcairo size 760,300 font ',9'
set output '{png}'
set multiplot layout 1,2 title "{title}"
set key top left Left reverse samplen 2 font ',8'
set grid
set xlabel 't, °C'
set ylabel 'H − H(−20 °C), кДж/кг'
set xrange [-30:20]
plot '{base}.old' w l lw 1.5 dt 2 lc rgb '#888888' t 'модель состава (прежде)', \\
     '{base}.new' w l lw 2 lc rgb '#1f5fbf' t 'поставляется', \\
     '{base}.ru' w p pt 7 ps 0.8 lc rgb '#c0392b' t 'таблица'
set xrange [-26:-5]
set yrange [*:*]
set ylabel ''
unset key
plot '{base}.old' w lp lw 1.5 dt 2 pt 1 lc rgb '#888888', \\
     '{base}.new' w lp lw 2 pt 6 lc rgb '#1f5fbf', \\
     '{base}.ru' w p pt 7 ps 1 lc rgb '#c0392b'
unset multiplot
"""
        subprocess.run(["gnuplot"], input=script, text=True, check=True)
    for name in os.listdir(work):
        os.remove(os.path.join(work, name))
    os.rmdir(work)


if __name__ == "__main__":
    main()
