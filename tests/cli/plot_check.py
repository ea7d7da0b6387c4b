#!/usr/bin/env python3
"""`qevhost run --plot`: the SVG file this tree's qevhost writes is well-formed XML (read by a
real XML parser) and its series hold exactly the values that the same run prints as CSV.

  plot_check.py QEVHOST RANDOM_PLUGIN ARRAY_PLUGIN [EMULATOR]
"""
import csv
import io
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def as_float(text):
    """The 32-bit float a printed number stands for."""
    return struct.unpack("f", struct.pack("f", float(text)))[0]


def pairs(text):
    return [tuple(as_float(v) for v in pair.split(",")) for pair in text.split()]


def plot(qevhost, args, directory):
    """Runs with --csv and --plot; returns the CSV rows and the parsed SVG root."""
    result = subprocess.run(qevhost + ["run"] + args + ["--csv", "--plot", "plot.svg"],
                            cwd=directory, capture_output=True, text=True)
    expect(result.returncode == 0, f"{args}: exit code {result.returncode}: {result.stderr}")
    expect(result.stderr == "qevhost: plot written to plot.svg\n", f"{args}: {result.stderr!r}")
    rows = list(csv.reader(io.StringIO(result.stdout)))
    return rows, ET.parse(os.path.join(directory, "plot.svg")).getroot()


def check(qevhost, args, directory, title, series_names, steps=()):
    rows, root = plot(qevhost, args, directory)
    label = " ".join(args[1:])
    expect(root.tag == SVG + "svg", f"{label}: root element {root.tag}")
    width, height = float(root.get("width")), float(root.get("height"))
    texts = [t.text for t in root.iter(SVG + "text")]
    expect(title in texts, f"{label}: no title {title!r} in {texts}")
    expect(rows[0][0] in texts, f"{label}: no axis title {rows[0][0]!r}")
    expect(len(list(root.iter(SVG + "line"))) >= 8, f"{label}: too few ticks and grid lines")
    series = [p for p in root.iter(SVG + "polyline") if p.get("data-points") is not None]
    expect([p.get("data-name") for p in series] == series_names,
           f"{label}: series {[p.get('data-name') for p in series]}")
    expect(rows[0][1:] == series_names, f"{label}: CSV columns {rows[0]}")
    for column, polyline in enumerate(series, start=1):
        name = polyline.get("data-name")
        values = pairs(polyline.get("data-points"))
        printed = [(as_float(row[0]), as_float(row[column])) for row in rows[1:]]
        expect(values == printed, f"{label}: {name}: data-points differ from the CSV")
        expect((polyline.get("data-steps") == "1") == (name in steps),
               f"{label}: {name}: steps {polyline.get('data-steps')}")
        for x, y in pairs(polyline.get("points")):
            expect(0 <= x <= width and 0 <= y <= height, f"{label}: {name}: point {x},{y} outside")


def main():
    qevhost, random_plugin, array_plugin = (os.path.abspath(a) for a in sys.argv[1:4])
    qevhost = sys.argv[4:5] + [qevhost]
    with tempfile.TemporaryDirectory(prefix="qev-plot-") as directory:
        check(qevhost, [random_plugin, "--input", "0:5:0.25", "--set", "Octaves=3", "--set",
                        "Fade=0.6"], directory, "Qev Random: Octaves 3, Fade 0.6", ["Output"])
        check(qevhost, [array_plugin, "--set", "Output Min=-10", "--set", "Output Max=10",
                        "--set", "Array Size=40"], directory,
              "Qev RandomArray: Output Min -10, Output Max 10, Array Size 40",
              ["Float Out", "Integer Out"], steps=["Integer Out"])
        check(qevhost, [random_plugin, "--input", "0:2:0.125", "--compare", "Octaves=1,2.5"],
              directory, "Qev Random: Octaves 1, 2.5", ["Octaves 1", "Octaves 2.5"])
        # A ListBox item in the title must not break the XML.
        check(qevhost, [array_plugin, "--set", "Mode=Update on Click", "--set", "Array Size=4"],
              directory, "Qev RandomArray: Mode Update on Click, Array Size 4",
              ["Float Out", "Integer Out"], steps=["Integer Out"])
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
