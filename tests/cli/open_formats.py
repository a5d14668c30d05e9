#!/usr/bin/env python3
"""korvel-cli's open formats and spectrum read back by readers of their own: Python's csv and
wave modules and a few lines of .npy header parsing, against values computed here from the
words written into the data files.

Usage: open_formats.py KORVEL_CLI"""
import ast
import csv
import math
import os
import statistics
import struct
import subprocess
import sys
import tempfile
import wave

CLI = sys.argv[1]
PERIOD_US = 14 / 14.7456
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAIL:", what)


def close(a, b, tol=1e-9):
    return abs(a - b) <= tol * max(1.0, abs(a), abs(b))


def data_file(path, words, kind=1, variant=1, scale_k=0.5, shift=2048, y_name="Напряжение, мВ"):
    """A data file as the program writes it: header, scaling or the accelerometer constants,
    the two names, the words, no comment."""
    body = struct.pack("<HBBBId", kind, 16, 1, variant, 2 * len(words), PERIOD_US)
    if variant == 1:
        body += struct.pack("<di", scale_k, shift)
    else:
        body += struct.pack("<ddhh", 50.5, 51.3, 2052, 2043)
    body += "Время, мкс".encode("cp1251") + b"\0" + y_name.encode("cp1251") + b"\0"
    body += struct.pack("<%dH" % len(words), *words)
    with open(path, "wb") as f:
        f.write(body)


def run(*args, status=0):
    r = subprocess.run([CLI, *args], capture_output=True)
    check(r.returncode == status, "%s: exit %d, %s" % (" ".join(args), r.returncode, r.stderr.decode()))
    return r.stdout.decode()


def read_npy(path):
    with open(path, "rb") as f:
        raw = f.read()
    check(raw[:8] == b"\x93NUMPY\x01\x00", "npy magic and version 1.0")
    length = struct.unpack("<H", raw[8:10])[0]
    check((10 + length) % 64 == 0, "npy data aligned")
    header = ast.literal_eval(raw[10:10 + length].decode("latin1"))
    check(header["descr"] == "<f8" and header["fortran_order"] is False, "npy dtype %r" % header)
    rows, cols = header["shape"]
    values = struct.unpack("<%dd" % (rows * cols), raw[10 + length:])
    return [list(values[r * cols:(r + 1) * cols]) for r in range(rows)]


def main():
    tmp = tempfile.mkdtemp()
    settings = os.path.join(tmp, "Korvel.ini")
    open(settings, "wb").close()   # empty: every setting at its default
    n = 4096
    tone_hz = 1234.5
    readings = [2048 + round(1000 * math.sin(2 * math.pi * tone_hz * i * PERIOD_US * 1e-6))
                for i in range(n)]
    lines = [((i // 7) & 1) << 13 | ((i // 11) & 1) << 14 | ((i // 13) & 1) << 15 for i in range(n)]
    ordinary = os.path.join(tmp, "run.dtw")
    data_file(ordinary, [r | b for r, b in zip(readings, lines)])
    values = [(r - 2048) * 0.5 for r in readings]

    # CSV: header, time in µs, the values, the three lines.
    out = os.path.join(tmp, "run.csv")
    run("export", "--format", "csv", ordinary, "-o", out, "--settings", settings)
    with open(out, newline="", encoding="utf-8") as f:
        raw = f.read()
    check("\r" not in raw, "csv lines end in LF")
    rows = list(csv.reader(raw.splitlines()))
    check(rows[0] == ["Время, мкс", "Напряжение, мВ", "d1", "d2", "d3"], "csv header %r" % rows[0])
    check(len(rows) == n + 1, "csv rows")
    for i in (0, 1, 777, n - 1):
        row = [float(x) for x in rows[i + 1]]
        expected = [i * PERIOD_US, values[i]] + [float(lines[i] >> b & 1) for b in (13, 14, 15)]
        check(all(close(a, b) for a, b in zip(row, expected)), "csv row %d %r" % (i, row))

    # npy: the same table.
    out = os.path.join(tmp, "run.npy")
    run("export", "--format", "npy", ordinary, "-o", out, "--settings", settings)
    table = read_npy(out)
    check(len(table) == n and len(table[0]) == 5, "npy shape")
    check(all(close(table[i][1], values[i]) for i in range(n)), "npy values")
    check(close(table[100][0], 100 * PERIOD_US), "npy time")

    # WAV: the readings centred and scaled to 16 bits at the rounded sample rate.
    out = os.path.join(tmp, "run.wav")
    run("export", "--format", "wav", ordinary, "-o", out, "--settings", settings)
    with wave.open(out) as w:
        check((w.getnchannels(), w.getsampwidth()) == (1, 2), "wav layout")
        check(w.getframerate() == round(1e6 / PERIOD_US), "wav rate %d" % w.getframerate())
        frames = struct.unpack("<%dh" % w.getnframes(), w.readframes(w.getnframes()))
    check(list(frames) == [(r - 2048) * 16 for r in readings], "wav samples")

    # A recording with temperatures exports them in °C; an accelerometer record two channels.
    temps = os.path.join(tmp, "rt.dtw")
    data_file(temps, [100, 200, 300] + [90, 0xFFD7, 4], kind=129)
    out = os.path.join(tmp, "rt.csv")
    run("export", "--format", "csv", temps, "-o", out, "--settings", settings)
    with open(out, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    check(rows[0][-1] == "T, °C" and [r[-1] for r in rows[1:]] == ["22.5", "-10.25", "1"],
          "temperature column %r" % rows)

    accel = os.path.join(tmp, "ax.dtw")
    data_file(accel, [1000, 1010, 1020, 3000, 3010, 3020], variant=2)   # X words, then Y words
    out = os.path.join(tmp, "ax.wav")
    run("export", "--format", "wav", accel, "-o", out, "--settings", settings)
    with wave.open(out) as w:
        check(w.getnchannels() == 2, "accelerometer wav channels")
        frames = struct.unpack("<6h", w.readframes(3))
    check(list(frames) == [(1000 - 2048) * 16, (3000 - 2048) * 16, (1010 - 2048) * 16,
                           (3010 - 2048) * 16, (1020 - 2048) * 16, (3020 - 2048) * 16],
          "accelerometer wav frames %r" % (frames,))

    # Spectrum: the tone's frequency within a tenth of a bin; the table in two columns.
    import json
    spectrum = json.loads(run("spectrum", ordinary, "--json", "--settings", settings))
    resolution = 1e6 / PERIOD_US / n
    check(close(spectrum["resolution_hz"], resolution) and spectrum["bins"] == n // 2 + 1,
          "spectrum bins %r" % spectrum)
    check(abs(spectrum["peak"]["frequency_hz"] - tone_hz) < 0.1 * resolution,
          "spectrum peak %r" % spectrum["peak"])
    out = os.path.join(tmp, "s.txt")
    run("spectrum", ordinary, "--window", "flattop", "-o", out, "--settings", settings)
    with open(out, "rb") as f:
        text = f.read().decode("ascii")
    lines_out = text.split("\r\n")
    check(lines_out[-1] == "" and len(lines_out) == n // 2 + 2, "spectrum txt lines")
    pairs = [tuple(map(float, line.split("\t"))) for line in lines_out[:-1]]
    best = max(pairs[1:], key=lambda p: p[1])
    check(abs(best[0] - tone_hz) < resolution and abs(best[1] - 500) < 0.005 * 500,
          "flat-top peak %r" % (best,))

    # Options of the text export mean nothing to the open formats; segments are 256 points at least.
    run("export", "--format", "csv", "--x", "from1", ordinary, "-o", out, status=2)
    run("spectrum", ordinary, "--segment", "100", status=2)

    # Stats: against the values computed here.
    stats = json.loads(run("stats", ordinary, "--json", "--settings", settings))
    mean = statistics.fmean(values)
    check(close(stats["mean"], mean), "stats mean")
    check(close(stats["ac_rms"], statistics.pstdev(values)), "stats ac_rms")
    check(close(stats["rms"], math.sqrt(statistics.fmean(v * v for v in values))), "stats rms")
    check(stats["minimum"] == min(values) and stats["maximum"] == max(values), "stats extremes")
    check(close(stats["crest_factor"], max(max(values) - mean, mean - min(values))
                / statistics.pstdev(values)), "stats crest factor")

    print("%d checks failed" % len(FAILURES))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
