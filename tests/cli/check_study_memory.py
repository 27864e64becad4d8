"""A study's rows go out as they are computed: its memory does not grow with its points.

Runs coldroom-calc on a study of 2 000 points and on one of 60 000, in every output form, and
compares the peak resident memory of the two runs.
"""
import resource
import subprocess
import sys

calc, project = sys.argv[1], sys.argv[2]


def peak(axes, output):
    subprocess.run([calc, *axes, *output, project], check=True, stdout=subprocess.DEVNULL)
    return resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss  # KB, the largest child so far


small = ["--vary", "Length_txt=3:22.9:0.1", "--vary", "Width_txt=3:3.9:0.1"]      # 200 × 10
large = ["--vary", "Length_txt=3:62.9:0.1", "--vary", "Width_txt=3:12.9:0.1"]     # 600 × 100
failed = False
for output in ([], ["--json"], ["--csv", "-"]):
    before = peak(small, output)
    after = peak(large, output)
    grown = (after - before) / 1024
    print(f"{' '.join(output) or 'table'}: {before / 1024:.1f} MB for 2 000 points, {after / 1024:.1f} MB for 60 000")
    if grown > 16:
        print(f"  grew by {grown:.1f} MB")
        failed = True
sys.exit(1 if failed else 0)
