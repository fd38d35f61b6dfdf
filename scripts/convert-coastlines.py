#!/usr/bin/env python3
"""Converts a binned GSHHG shoreline file (Debian's gmt-gshhg-low, read with ncdump) into the
coastline file the contest report draws: run once by the build.

    convert-coastlines.py binned_GSHHS_l.nc coastlines.txt

The binned file cuts the world into square bins; each bin holds shoreline segments whose
points are 16-bit offsets from the bin's south-west corner. Every segment of the ocean
shorelines (level 1, Antarctica's ice front included) and of lake shores (level 2) becomes
one line of the output:

    Corvane coastlines 1          (first line)
    lon,lat lon,lat ...           (one shoreline piece a line)

in thousandths of a degree, longitude positive east (-180000..180000), latitude positive
north, lines ending in CR LF. The output is written to a temporary file and renamed, so a
failed run leaves no half file behind.
"""

import os
import re
import subprocess
import sys

VARIABLES = [
    "Bin_size_in_minutes",
    "N_bins_in_360_longitude_range",
    "N_bins_in_180_degree_latitude_range",
    "Id_of_first_segment_in_a_bin",
    "N_segments_in_a_bin",
    "Embedded_npts_levels_exit_entry_for_a_segment",
    "Id_of_first_point_in_a_segment",
    "Relative_longitude_from_SW_corner_of_bin",
    "Relative_latitude_from_SW_corner_of_bin",
]
DRAWN_LEVELS = (1, 2)  # ocean shore, lake shore


def read_variables(path):
    dump = subprocess.run(
        ["ncdump", "-v", ",".join(VARIABLES), path], capture_output=True, text=True, check=True
    ).stdout
    data = dump[dump.index("\ndata:") :]
    values = {}
    for match in re.finditer(r"(\w+) =([^;]*);", data):
        # ncdump writes "_" for a value equal to the type's fill value; only the 16-bit
        # offsets can hold it (-32767, the unsigned offset 32769).
        values[match.group(1)] = [
            -32767 if item.strip() == "_" else int(item) for item in match.group(2).split(",")
        ]
    missing = [name for name in VARIABLES if name not in values]
    if missing:
        raise ValueError("not a binned shoreline file: missing " + ", ".join(missing))
    return values


def shoreline_pieces(values):
    bin_degrees = values["Bin_size_in_minutes"][0] / 60.0
    columns = values["N_bins_in_360_longitude_range"][0]
    rows = values["N_bins_in_180_degree_latitude_range"][0]
    first_segment = values["Id_of_first_segment_in_a_bin"]
    segment_count = values["N_segments_in_a_bin"]
    info = values["Embedded_npts_levels_exit_entry_for_a_segment"]
    first_point = values["Id_of_first_point_in_a_segment"]
    dx = values["Relative_longitude_from_SW_corner_of_bin"]
    dy = values["Relative_latitude_from_SW_corner_of_bin"]
    for b in range(columns * rows):
        west = (b % columns) * bin_degrees
        south = 90.0 - (b // columns + 1) * bin_degrees
        for s in range(first_segment[b], first_segment[b] + segment_count[b]):
            points = info[s] >> 9
            level = (info[s] >> 6) & 7
            if level not in DRAWN_LEVELS or points < 2:
                continue
            piece = []
            for p in range(first_point[s], first_point[s] + points):
                lon = west + (dx[p] & 0xFFFF) * bin_degrees / 65535.0
                lat = south + (dy[p] & 0xFFFF) * bin_degrees / 65535.0
                if lon > 180.0:
                    lon -= 360.0
                piece.append((round(lon * 1000), round(lat * 1000)))
            yield piece


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: convert-coastlines.py BINNED_GSHHS.nc OUTPUT")
    source, target = sys.argv[1], sys.argv[2]
    lines = ["Corvane coastlines 1"]
    for piece in shoreline_pieces(read_variables(source)):
        lines.append(" ".join("%d,%d" % point for point in piece))
    temporary = target + ".tmp"
    with open(temporary, "w", encoding="ascii", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")
    os.replace(temporary, target)


if __name__ == "__main__":
    main()
