#!/usr/bin/python3
"""End-to-end tests of the gmd tool.

Usage: test_cli.py GMD WRITE_MODEL

The model comes from WRITE_MODEL (a record of every family, written through
libgmd); damaged and odd files are built here byte by byte. Outputs are read
back with meshio, VTK and this script's own frame parser, never with the tool.
"""
import json
import os
import random
import struct
import subprocess
import sys
import tempfile
import unittest

import meshio
import numpy
import vtk

GMD = WRITE_MODEL = None

# What write_model writes (bindings/python/model.py mirrors it), in order:
# letter, type name, group byte.
MODEL = [
    ("G", "tolerance", 0), ("L", "segment", 1), ("L", "segment", 1), ("l", "volume segment", 1),
    ("P", "triangle", 2), ("P", "quad", 2), ("p", "volume triangle", 2), ("p", "volume quad", 2),
    ("A", "attributed triangle", 3), ("A", "attributed quad", 3), ("A", "attributed triangle", 3),
    ("W", "wedge", 4), ("w", "wedge with polygons", 4), ("e", "edge", 4),
    ("U", "macro group", 0), ("v", "scattered vertex", 0),
    ("S", "sphere", 5), ("R", "scatterer", 5), ("D", "disk", 5), ("C", "circular cylinder", 6),
    ("E", "elliptical cylinder", 6), ("F", "cone", -5), ("N", "NURBS surface", 7),
    ("O", "junction", 8), ("H", "hinge", 8), ("M", "group material name", 1),
    ("m", "volume material name", 1), ("Z", "junction group name", 8),
]


def frame(letter, payload=b"", group=0, group2=0, count=None):
    """One frame as the format lays it out."""
    if isinstance(letter, str):
        letter = ord(letter)
    words = (len(payload) + 3) // 4
    count = min(words, 255) if count is None else count
    length = struct.pack("<i", 4 + len(payload))
    return length + bytes([letter, count, group & 255, group2 & 255]) + payload + length


def floats(*values):
    return struct.pack("<%df" % len(values), *values)


def parse_frames(data):
    """(offset, letter, group, group2, payload) of each whole frame."""
    out, at = [], 0
    while at + 8 <= len(data):
        length = struct.unpack_from("<i", data, at)[0]
        if length < 4 or at + 8 + length > len(data):
            break
        if struct.unpack_from("<i", data, at + 4 + length)[0] != length:
            break
        letter, _, group, group2 = struct.unpack_from("<BBbb", data, at + 4)
        out.append((at, chr(letter), group, group2, data[at + 8:at + 4 + length]))
        at += 8 + length
    return out


def expected_mesh(n):
    """Unshared points and cells of the model's tessellation at resolution n."""
    rings = max(2, n // 2)
    sphere = (2 + (rings - 1) * n, {"triangle": 2 * n, "quad": (rings - 2) * n})
    tube = (2 * n + 2, {"triangle": 2 * n, "quad": n})
    parts = [
        (14, {"line": 7}),                       # 3 segments, 3 wedges/edges, 1 junction
        (1, {"vertex": 1}),                      # the scattered vertex
        (24, {"triangle": 4, "quad": 3}),        # the seven polygons
        sphere, sphere,                          # sphere and scatterer
        (n + 1, {"triangle": n}),                # disk
        tube, tube, tube,                        # both cylinders and the cone
        ((n + 1) ** 2, {"quad": n * n}),         # NURBS patch
        (5, {"line": 4}),                        # its boundary curve
    ]
    points, cells = 0, {}
    for p, c in parts:
        points += p
        for k, v in c.items():
            cells[k] = cells.get(k, 0) + v
    return points, cells


class Base(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.model = cls.path("model.gmd")
        subprocess.run([WRITE_MODEL, cls.model], check=True)
        with open(cls.model, "rb") as f:
            cls.model_bytes = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    @classmethod
    def path(cls, name):
        return os.path.join(cls.tmp.name, name)

    def write(self, name, data):
        p = self.path(name)
        with open(p, "wb") as f:
            f.write(data)
        return p

    def gmd(self, *args, stdin=None, expect=None):
        run = subprocess.run([GMD, *args], input=stdin, capture_output=True, timeout=120)
        self.assertGreaterEqual(run.returncode, 0, "gmd %s died by signal %d: %s" % (args, -run.returncode, run.stderr))
        self.assertIn(run.returncode, (0, 1, 2), "gmd %s: %s" % (args, run.stderr))
        if expect is not None:
            self.assertEqual(run.returncode, expect, "gmd %s\nstdout: %s\nstderr: %s" % (args, run.stdout[-2000:], run.stderr))
        return run


class InfoAndDump(Base):
    def test_info_counts_every_family(self):
        info = json.loads(self.gmd("info", "--json", self.model, expect=0).stdout)
        self.assertEqual(info["frames"], len(MODEL))
        self.assertEqual(info["size"], len(self.model_bytes))
        expected = {}
        for _, name, _ in MODEL:
            expected[name] = expected.get(name, 0) + 1
        self.assertEqual(info["types"], expected)
        self.assertEqual(info["invalid"], 0)
        groups = {}
        for _, _, g in MODEL:
            groups[str(g)] = groups.get(str(g), 0) + 1
        self.assertEqual(info["groups"], groups)
        self.assertEqual(info["volumes"], {"3": 1, "4": 1, "5": 1, "6": 1, "7": 1})
        self.assertIsNone(info["damage"])
        box = info["boundingBox"]
        # The scattered vertex at (-1, -1, -1), the disk's rim (y down to
        # -1.5), the cone's base (x up to 15) and the junction (z up to 5)
        # span the model.
        for got, want in zip(box["min"], (-1, -1.5, -1)):
            self.assertAlmostEqual(got, want, places=5)
        self.assertAlmostEqual(box["max"][0], 15, places=4)
        self.assertAlmostEqual(box["max"][2], 5, places=5)

    def test_force_keeps_the_records_before_damage(self):
        cut = self.write("cut.gmd", self.model_bytes[:-3])
        last = parse_frames(self.model_bytes)[-1][0]
        run = self.gmd("info", "--force", cut, expect=0)
        self.assertIn(b"frames:        %d" % (len(MODEL) - 1), run.stdout)
        self.assertIn(b"reading stops: offset %d" % last, run.stdout)
        self.assertIn(b"kept the %d record(s)" % (len(MODEL) - 1), run.stderr)
        lines = self.gmd("dump", "--json", "--force", cut, expect=0).stdout.splitlines()
        self.assertEqual(len(lines), len(MODEL) - 1)

    def test_dump_reads_every_field_back_to_the_same_bits(self):
        lines = [json.loads(l) for l in self.gmd("dump", "--json", self.model, expect=0).stdout.splitlines()]
        frames = parse_frames(self.model_bytes)
        self.assertEqual(len(lines), len(frames))
        for line, (offset, letter, group, group2, payload), (want_letter, name, _) in zip(lines, frames, MODEL):
            self.assertEqual((line["offset"], line["letter"], line["group"], line["group2"]), (offset, letter, group, group2))
            self.assertEqual((line["letter"], line["type"]), (want_letter, name))
            self.assertIn("fields", line, line)
        by_letter = {l["letter"]: l["fields"] for l in lines}
        # Words the getters copy unchanged must come back as the same float32
        # bits, the fields in word order from word 0.
        cases = {
            "S": ["center", "radius"], "R": ["center", "radius", "emRadius"], "D": ["center", "normal", "radius"],
            "C": ["lowerCenter", "upperCenter", "radius"], "O": ["firstVertex", "secondVertex", "normal"],
            "G": ["tolerance"],
        }
        payloads = {letter: payload for _, letter, _, _, payload in frames}
        for letter, names in cases.items():
            with self.subTest(letter=letter):
                values = []
                for n in names:
                    v = by_letter[letter][n]
                    values += v if isinstance(v, list) else [v]
                self.assertEqual(floats(*values), payloads[letter][:4 * len(values)])
        self.assertEqual(by_letter["H"]["name"], "door")
        self.assertEqual(by_letter["H"]["type"], "pin ")
        self.assertEqual(by_letter["M"]["name"], "Copper1 ")
        self.assertEqual(by_letter["U"], {"groups": [1, 2, 3], "name": "wires   "})
        self.assertEqual(by_letter["w"]["leftPolygon"], 4)
        self.assertEqual(by_letter["N"]["boundaryDimensions"], [5])

    def test_dump_selects(self):
        cases = [
            (["--type", "sphere"], ["S"]),
            (["--type", "S", "--type", "D"], ["S", "D"]),
            (["--type", "6"], ["A"]),
            (["--group", "4"], ["W", "w", "e"]),
            (["--group", "-5"], ["F"]),
            (["--records", "2:4"], ["L", "l"]),
            (["--records", "26:"], ["m", "Z"]),
            (["--records", "0"], ["G"]),
            (["--type", "triangle", "--group", "3"], []),
        ]
        for args, letters in cases:
            with self.subTest(args=args):
                out = self.gmd("dump", "--json", *args, self.model, expect=0).stdout.splitlines()
                self.assertEqual([json.loads(l)["letter"] for l in out], letters)
        text = self.gmd("dump", "--type", "sphere", self.model, expect=0).stdout.decode()
        self.assertRegex(text, r"^@\d+ #16 S sphere group=5 group2=0 center=\[5,0,0\] radius=1\n$")
        self.assertEqual(self.gmd("dump", "--records", "x:1", self.model).returncode, 2)

    def test_version_everywhere(self):
        want = self.gmd("--version", expect=0).stdout
        self.assertRegex(want, rb"^gmd \d+\.\d+\.\d+\n$")
        for command in ("info", "dump", "check", "diff", "convert", "render"):
            self.assertEqual(self.gmd(command, "--version", expect=0).stdout, want, command)

    def test_stdin_and_stdout(self):
        run = self.gmd("info", "--json", "-", stdin=self.model_bytes, expect=0)
        self.assertEqual(json.loads(run.stdout)["frames"], len(MODEL))
        jsonl = self.gmd("convert", self.model, "-", "--to", "jsonl", expect=0).stdout
        back = self.gmd("convert", "-", "-", "--from", "jsonl", "--to", "gmd", stdin=jsonl, expect=0).stdout
        self.assertEqual(back, self.model_bytes)


# Files the library never writes, each with the reason check must give.
ODD_RECORDS = [
    ("sphere of five words", frame("S", floats(0, 0, 0, 1, 2)), "wrong word count: 5 words, expects 4"),
    ("unknown letter", frame("Q", floats(1)), "unknown letter Q"),
    ("high letter", frame(0x90, b""), "unknown letter 0x90"),
    ("empty record", frame(0, b""), "empty record"),
    ("short volume segment", frame("l", floats(0, 0, 0, 1, 1, 1, 0)), "wrong word count: 7 words, expects 8"),
    ("wedge of 13 words", frame("W", floats(*range(13))), "expects 12 or 14"),
    ("NURBS word count", frame("N", floats(9, 0, 0, 0, 0, 0, 0)), "NURBS word count"),
    ("NURBS sections", frame("N", floats(7, 2, 0, 0, 0, 0, 0, 0)), "NURBS sections"),
    ("NURBS boundaries", frame("N", floats(7, 0, 0, 0, 0, 1, 0, 3)), "NURBS sections add up"),
    ("thickness list", frame("A", floats(*range(9)) + struct.pack("<i", 5) + floats(1), group2=1), "thickness count 5"),
    ("layout code", frame("A", floats(*range(12)), group2=9), "layout code 9"),
    ("half word", frame("G", b"\x01\x02"), "not whole words"),
    ("hinge", frame("H", struct.pack("<iiii", 400, 0, 0, 0)), "hinge name length"),
    ("macro group", frame("U", struct.pack("<ii", 5, 1)), "macro group count 5"),
]

# Damage after one good frame, with the words check must use.
DAMAGE = [
    ("cut inside a frame", lambda good: good + frame("S", floats(1, 2, 3, 4))[:-6], "ends inside a frame"),
    ("cut in the header", lambda good: good + frame("S", floats(1, 2, 3, 4))[:6], "into a frame's header"),
    ("trailer one off", lambda good: good + frame("S", floats(1, 2, 3, 4))[:-4] + struct.pack("<i", 21), "trailer 21 differs"),
    ("length three", lambda good: good + struct.pack("<i", 3) + b"Sxyz" + struct.pack("<i", 3), "frame length 3 is below 4"),
    ("negative length", lambda good: good + struct.pack("<i", -8) + b"S\0\0\0", "frame length -8 is below 4"),
    ("huge length", lambda good: good + struct.pack("<i", 0x7ffffff0) + b"N\0\0\0" + b"\0" * 40, "needs"),
]


class Check(Base):
    def test_model_is_sound(self):
        run = self.gmd("check", "--strict", self.model, expect=0)
        self.assertIn(b"%d record(s), 0 problem(s)" % len(MODEL), run.stdout)

    def test_odd_records_are_reported_with_offset_and_reason(self):
        good = frame("G", floats(0.5))
        for name, data, reason in ODD_RECORDS:
            with self.subTest(name):
                p = self.write("odd.gmd", good + data + good)
                run = self.gmd("check", p, expect=1)
                self.assertIn(("odd.gmd: offset %d (record 1" % len(good)).encode(), run.stdout)
                self.assertIn(reason.encode(), run.stdout)
                self.assertNotIn(b"record 2", run.stdout)

    def test_damaged_frames_stop_the_file(self):
        good = frame("G", floats(0.5))
        for name, make, reason in DAMAGE:
            with self.subTest(name):
                p = self.write("damaged.gmd", make(good))
                run = self.gmd("check", p, expect=1)
                self.assertIn(b"damaged.gmd: damaged at byte %d: " % len(good), run.stderr)
                self.assertIn(reason.encode(), run.stderr)
                self.assertIn(b"1 record(s)", run.stdout)

    def test_strict_geometry(self):
        cases = [
            ("degenerate triangle", frame("P", floats(0, 0, 0, 1, 1, 1, 2, 2, 2))),
            ("zero-length segment", frame("L", floats(1, 2, 3, 1, 2, 3))),
            ("non-finite value in 'vertices'", frame("L", floats(0, 0, float("nan"), 1, 1, 1))),
            ("non-finite value in 'center'", frame("S", floats(float("inf"), 0, 0, 1))),
            ("zero disk normal", frame("D", floats(0, 0, 0, 0, 0, 0, 1))),
            ("zero left normal", frame("W", floats(0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0))),
            ("non-positive radius", frame("S", floats(0, 0, 0, -1))),
        ]
        for warning, data in cases:
            with self.subTest(warning):
                p = self.write("odd.gmd", data)
                self.gmd("check", p, expect=0)
                run = self.gmd("check", "--strict", p, expect=1)
                self.assertIn(("warning: " + warning).encode(), run.stdout)

    def test_exit_codes_over_several_files(self):
        bad = self.write("bad.gmd", frame("S", floats(1)))
        self.gmd("check", self.model, self.model, expect=0)
        self.gmd("check", self.model, bad, expect=1)
        self.gmd("check", self.model, self.path("missing.gmd"), expect=2)
        self.assertIn(b"missing.gmd", self.gmd("check", self.path("missing.gmd")).stderr)


class StopReasons(Base):
    """Every command that reads a GMD file names the file and why it stops."""

    COMMANDS = [
        ("info", lambda f, out: ["info", f]),
        ("dump", lambda f, out: ["dump", f]),
        ("check", lambda f, out: ["check", f]),
        ("diff", lambda f, out: ["diff", f, f]),
        ("convert", lambda f, out: ["convert", "--from", "gmd", f, out + ".vtu"]),
        ("jsonl", lambda f, out: ["convert", "--from", "gmd", f, out + ".jsonl"]),
        ("render", lambda f, out: ["render", f, "-o", out + ".png", "--size", "16x16"]),
    ]

    def test_every_reading_command(self):
        frames = parse_frames(self.model_bytes)
        cases = [
            ("truncated", self.write("cut.gmd", self.model_bytes[:-5]), 1,
             b"cut.gmd: damaged at byte %d: the file ends inside a frame" % frames[-1][0]),
            ("foreign", self.write("readme.gmd", b"# A README, not a model\n" * 4), 1,
             b"readme.gmd: not a GMD file: "),
            ("folder", self.tmp.name, 2, self.tmp.name.encode() + b": is a folder, not a file"),
            ("missing", self.path("missing.gmd"), 2, b"missing.gmd: no such file"),
        ]
        for name, path, code, message in cases:
            for command, argv in self.COMMANDS:
                with self.subTest(name=name, command=command):
                    out = self.path("out-" + name)
                    run = self.gmd(*argv(path, out), expect=code)
                    self.assertIn(message, run.stderr)
                    self.assertEqual([f for f in os.listdir(self.tmp.name) if f.startswith("out-")], [])


class Diff(Base):
    def test_differences(self):
        frames = parse_frames(self.model_bytes)
        sphere = [f for f in frames if f[1] == "S"][0]
        at = sphere[0] + 8 + 12  # the radius word
        nudged = bytearray(self.model_bytes)
        nudged[at:at + 4] = floats(1.0001)
        other = self.write("nudged.gmd", bytes(nudged))
        self.gmd("diff", self.model, self.model, expect=0)
        run = self.gmd("diff", self.model, other, expect=1)
        self.assertIn(b"record 16 (offset %d / %d): field 'radius': 1 vs 1.0001" % (sphere[0], sphere[0]), run.stdout)
        self.gmd("diff", "--tolerance", "0.001", self.model, other, expect=0)
        self.gmd("diff", "--tolerance", "0.00001", self.model, other, expect=1)
        shorter = self.write("shorter.gmd", self.model_bytes[:frames[-1][0]])
        self.assertIn(b"record count 28 vs 27", self.gmd("diff", self.model, shorter, expect=1).stdout)
        regrouped = bytearray(self.model_bytes)
        regrouped[frames[3][0] + 6] = 9
        run = self.gmd("diff", self.model, self.write("regrouped.gmd", bytes(regrouped)), expect=1)
        self.assertIn(b"record 3 ", run.stdout)
        self.assertIn(b"group 1 vs 9", run.stdout)
        self.gmd("diff", self.model, self.path("missing.gmd"), expect=2)

    def test_unordered(self):
        frames = parse_frames(self.model_bytes)
        whole = [self.model_bytes[o:o + 12 + len(p)] for o, _, _, _, p in frames]
        shuffled = self.write("shuffled.gmd", b"".join(reversed(whole)))
        self.gmd("diff", self.model, shuffled, expect=1)
        self.gmd("diff", "--unordered", self.model, shuffled, expect=0)
        # A record twice in one file and once in the other is a difference.
        doubled = self.write("doubled.gmd", b"".join(reversed(whole)) + whole[16])
        run = self.gmd("diff", "-u", self.model, doubled, expect=1)
        self.assertEqual(len(run.stdout.splitlines()), 1)
        self.assertRegex(run.stdout, rb"^only in the second: record \d+ \(offset \d+, S sphere, group 5\)\n$")
        swapped = self.write("swapped.gmd", b"".join(whole[:16]) + whole[17] + whole[16] + b"".join(whole[18:]))
        self.gmd("diff", "-u", self.model, swapped, expect=0)


class RoundTrip(Base):
    def round_trip(self, data):
        src = self.write("in.gmd", data)
        jsonl, back = self.path("out.jsonl"), self.path("back.gmd")
        self.gmd("convert", "--force", src, jsonl, expect=0)
        self.gmd("convert", jsonl, back, expect=0)
        with open(back, "rb") as f:
            self.assertEqual(f.read(), data)
        with open(jsonl) as f:
            return [json.loads(l) for l in f]

    def test_model_goes_through_fields_only(self):
        lines = self.round_trip(self.model_bytes)
        self.assertEqual([l["letter"] for l in lines], [m[0] for m in MODEL])
        self.assertEqual([l for l in lines if "raw" in l], [])

    def test_odd_and_damaged_files_come_back_byte_for_byte(self):
        good = frame("G", floats(0.25), group=-5)
        extra = [
            frame("P", floats(*range(8))),                      # legacy form read as a segment
            frame("S", floats(1, 2, 3, 4), group=-128),         # a group byte no setter takes
            frame("S", floats(1, 2, 3, 4), count=9),            # a word count byte that disagrees
            frame("E", floats(0, 0, 0, 0, 0, 2, 1, 0, 0, 1, 1, 0.5, 0, 2, 0)),  # nonzero lower extent
            frame("G", floats(float("nan"))),
            frame("G", struct.pack("<I", 0x7fc00123)),          # a NaN with a payload
            frame("S", floats(-0.0, 1e-45, 3.4028235e38, 0.1)),  # text that must read back to the same bits
            frame("M", b"\xd7J.I"),                             # a name that is not UTF-8
        ]
        for name, data, _ in ODD_RECORDS:
            extra.append(data)
        for i, data in enumerate(extra):
            with self.subTest(i):
                self.round_trip(good + data + good)
        for name, make, _ in DAMAGE:
            with self.subTest(name):
                lines = self.round_trip(make(good))
                self.assertIn("tail", lines[-1])

    def test_jsonl_edits_reach_the_file(self):
        lines = self.round_trip(self.model_bytes)
        sphere = [l for l in lines if l["letter"] == "S"][0]
        sphere["fields"]["radius"] = 2.5
        sphere["group"] = 12
        src = self.path("edited.jsonl")
        with open(src, "w") as f:
            f.write("\n".join(json.dumps(l) for l in lines) + "\n")
        out = self.path("edited.gmd")
        self.gmd("convert", src, out, expect=0)
        with open(out, "rb") as f:
            frames = parse_frames(f.read())
        s = [fr for fr in frames if fr[1] == "S"][0]
        self.assertEqual(s[2], 12)
        self.assertEqual(s[4], floats(5, 0, 0, 2.5))

    def test_bad_jsonl_names_the_line(self):
        cases = [
            ('{"letter":"S","fields":{"center":[1,2],"radius":1}}', b"'center' needs 3"),
            ('{"letter":"S","fields":{"radius":1}}', b"'center'"),
            ('not json', b"not JSON"),
            ('{"letter":"S","group":300,"fields":{}}', b"'group'"),
            ('{"letter":"Q","fields":{}}', b"letter Q has no fields"),
            ('{"letter":"S","raw":"abc"}', b"odd length"),
        ]
        for text, message in cases:
            with self.subTest(text):
                src = self.write("bad.jsonl", ('{"letter":"G","fields":{"tolerance":1}}\n' + text + "\n").encode())
                run = self.gmd("convert", src, self.path("bad.gmd"), expect=1)
                self.assertIn(b"bad.jsonl: line 2: ", run.stderr)
                self.assertIn(message, run.stderr)


class Meshes(Base):
    N = 8

    def convert(self, ext):
        out = self.path("model." + ext)
        self.gmd("convert", "--resolution", str(self.N), self.model, out, expect=0)
        return out

    def test_meshes_read_in_meshio_and_vtk(self):
        points, cells = expected_mesh(self.N)
        faces, total = cells["triangle"] + cells["quad"], sum(cells.values())
        triangles = cells["triangle"] + 2 * cells["quad"]
        vtu = meshio.read(self.convert("vtu"))
        # Shared points: each distinct point once, and fewer than the cells'
        # corners.
        self.assertEqual(len(numpy.unique(vtu.points, axis=0)), len(vtu.points))
        self.assertLess(len(vtu.points), points)
        got = {}
        for block in vtu.cells:
            got[block.type] = got.get(block.type, 0) + len(block.data)
        self.assertEqual(got, cells)
        for name in ("record", "record_type", "group", "volume1", "volume2", "thickness"):
            self.assertEqual(sum(len(a) for a in vtu.cell_data[name]), total, name)
        types = set(numpy.concatenate(vtu.cell_data["record_type"]).tolist())
        self.assertEqual(types, {76, 108, 3, 4, 1, 2, 5, 6, 87, 119, 101, 118, 83, 82, 68, 67, 69, 70, 78, 79})
        self.assertIn(7, set(numpy.concatenate(vtu.cell_data["volume1"]).tolist()))
        self.assertAlmostEqual(float(max(numpy.concatenate(vtu.cell_data["thickness"]))), 0.35, places=6)
        obj = meshio.read(self.convert("obj"))
        self.assertEqual(len(obj.points), len(vtu.points))
        self.assertEqual(sum(len(b.data) for b in obj.cells), faces)
        stl = self.convert("stl")
        self.assertEqual(os.path.getsize(stl), 84 + 50 * triangles)
        for reader, path, count in ((vtk.vtkXMLUnstructuredGridReader(), self.path("model.vtu"), total),
                                    (vtk.vtkOBJReader(), self.path("model.obj"), faces + cells["line"]),
                                    (vtk.vtkSTLReader(), stl, triangles)):
            reader.SetFileName(path)
            reader.Update()
            self.assertEqual(reader.GetOutput().GetNumberOfCells(), count, path)
        # VTK sees the points and cells meshio sees, in every encoding.
        from vtk.util.numpy_support import vtk_to_numpy
        for encoding in ("raw", "base64", "ascii"):
            with self.subTest(encoding=encoding):
                path = self.path("model-%s.vtu" % encoding)
                self.gmd("convert", "-r", str(self.N), "--vtu-encoding", encoding, self.model, path, expect=0)
                reader = vtk.vtkXMLUnstructuredGridReader()
                reader.SetFileName(path)
                reader.Update()
                grid = reader.GetOutput()
                numpy.testing.assert_array_equal(vtk_to_numpy(grid.GetPoints().GetData()), vtu.points)
                corners = vtk_to_numpy(grid.GetCells().GetConnectivityArray())
                numpy.testing.assert_array_equal(corners, numpy.concatenate([b.data.ravel() for b in vtu.cells]))
                groups = vtk_to_numpy(grid.GetCellData().GetArray("group"))
                numpy.testing.assert_array_equal(groups, numpy.concatenate(vtu.cell_data["group"]))

    def records(self, name, data, expect=0):
        out = self.path(name + ".gmd")
        run = self.gmd("convert", self.write(name, data), out, expect=expect)
        if expect:
            self.assertFalse(os.path.exists(out))
            return run.stderr
        return [json.loads(l) for l in self.gmd("dump", "--json", out, expect=0).stdout.splitlines()]

    def test_import_keeps_groups_and_names(self):
        facet = (b" facet normal 0 0 1\n  outer loop\n   vertex 0 0 %d\n   vertex 1 0 0\n   vertex 0 1 0\n"
                 b"  endloop\n endfacet\n")
        stl = b"solid Surface 1\n" + facet % 1 + facet % 2 + b"endsolid\nsolid Surface 2\n" + facet % 3 + b"endsolid\n"
        obj = (b"v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
               b"f 1 2 3\ng Door-01\nf 1 2 3 4\no Wall\nl 1 3\ng Door-01\nf 4 3 2\n")
        cases = [
            ("solids.stl", stl, [("M", 0, "Surface 1"), ("P", 0, None), ("P", 0, None), ("M", 1, "Surface 2"), ("P", 1, None)]),
            ("groups.obj", obj, [("P", 0, None), ("M", 1, "Door-01"), ("P", 1, None), ("M", 2, "Wall"), ("L", 2, None),
                                 ("P", 1, None)]),
        ]
        for name, data, want in cases:
            with self.subTest(name):
                got = [(l["letter"], l["group"], l["fields"]["name"].rstrip() if l["letter"] == "M" else None)
                       for l in self.records(name, data)]
                self.assertEqual(got, want)

    def test_concave_polygon_is_cut_along_its_inside(self):
        # An L-shaped hexagon tilted out of every axis plane: its triangles
        # must cover its area exactly, none of them the notch.
        corners = [(0, 0), (2, 0), (2, 1), (1, 1), (1, 2), (0, 2)]
        lift = lambda x, y: (x, y, 0.5 * x + 0.25 * y)
        obj = b"".join(b"v %g %g %g\n" % lift(x, y) for x, y in corners) + b"f 1 2 3 4 5 6\n"
        triangles = [l["fields"]["vertices"] for l in self.records("l.obj", obj)]
        self.assertEqual(len(triangles), 4)
        area = 0
        for t in triangles:
            (ax, ay), (bx, by), (cx, cy) = t[0:2], t[3:5], t[6:8]
            area += abs((bx - ax) * (cy - ay) - (by - ay) * (cx - ax)) / 2
            centroid = ((ax + bx + cx) / 3, (ay + by + cy) / 3)
            self.assertFalse(centroid[0] > 1 and centroid[1] > 1, t)
        self.assertAlmostEqual(area, 3)
        crossed = b"v 0 0 0\nv 2 2 0\nv 2 0 0\nv 0 2 0\nv 1 3 0\nf 1 2 3 4 5\n"
        self.assertIn(b"crosses itself", self.records("bow.obj", crossed, expect=1))

    def test_bad_meshes_are_refused(self):
        binary = bytearray(84 + 50 * 3)
        binary[80:84] = struct.pack("<I", 3)
        cases = [
            ("text.obj", b"Dear user,\nthis is a letter.\n", 2, b"text.obj: line 1: 'Dear' is no OBJ statement"),
            ("wide.obj", "v 0 0 0\n".encode("utf-16"), 2, b"wide.obj: UTF-16 text"),
            ("points.obj", b"v 0 0 0\n", 2, b"no faces or lines"),
            ("index.obj", b"v 0 0 0\nf 1 2 3\n", 1, b"index.obj: line 2: vertex index out of range"),
            ("cut.stl", bytes(binary[:-20]), 1, b"cut.stl: truncated binary STL"),
            ("huge.stl", bytes(binary[:80]) + struct.pack("<I", 4000000000) + bytes(100), 1, b"truncated binary STL"),
            ("facet.stl", b"solid x\n facet normal 0 0 1\n outer loop\n vertex 0 0 0\n vertex 1 0 0\n endloop\n endfacet\n", 1,
             b"facet.stl: line 7: a facet with 2 vertices"),
            ("text.stl", b"Just some words that are long enough to be a binary header but are text.\n" * 2, 2, b"not STL"),
        ]
        for name, data, code, message in cases:
            with self.subTest(name):
                self.assertIn(message, self.records(name, data, expect=code))
        run = self.gmd("convert", self.model, self.path("model.ply"), expect=2)
        self.assertIn(b"python3 -m gmd convert", run.stderr)

    def test_own_stl_comes_back(self):
        stl = self.convert("stl")
        back = self.path("back.gmd")
        self.gmd("convert", stl, back, expect=0)
        info = json.loads(self.gmd("info", "--json", back, expect=0).stdout)
        _, cells = expected_mesh(self.N)
        self.assertEqual(info["types"], {"triangle": cells["triangle"] + 2 * cells["quad"]})


def read_png(path):
    reader = vtk.vtkPNGReader()
    reader.SetFileName(path)
    reader.Update()
    image = reader.GetOutput()
    from vtk.util.numpy_support import vtk_to_numpy
    pixels = vtk_to_numpy(image.GetPointData().GetScalars())
    return image.GetDimensions(), pixels


class Render(Base):
    def test_views_and_options(self):
        out = self.path("iso.png")
        self.gmd("render", self.model, "-o", out, "--view", "iso", "--size", "320x200", expect=0)
        (w, h, _), pixels = read_png(out)
        self.assertEqual((w, h), (320, 200))
        background = numpy.all(pixels[:, :3] == 255, axis=1)
        self.assertGreater(1 - background.mean(), 0.05, "picture nearly blank")
        self.assertGreater(len({tuple(p) for p in pixels[:, :3].tolist()}), 8, "too few colours to be shaded")
        by_type = self.path("type.png")
        self.gmd("render", self.model, "-o", out, "--size", "64x48", "--view", "top", expect=0)
        self.gmd("render", self.model, "-o", by_type, "--size", "64x48", "--view", "top", "--color", "type", expect=0)
        self.assertFalse(numpy.array_equal(read_png(out)[1], read_png(by_type)[1]))
        up = self.path("up.png")
        self.gmd("render", self.model, "-o", up, "--size", "64x48", "--view", "top", "--up", "y", expect=0)
        self.assertFalse(numpy.array_equal(read_png(out)[1], read_png(up)[1]))
        png = self.gmd("render", self.model, "-o", "-", "--size", "10x10", expect=0).stdout
        self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
        for bad in (["--size", "0x10"], ["--size", "big"], ["--view", "below"]):
            self.assertNotEqual(self.gmd("render", self.model, "-o", self.path("x.png"), *bad).returncode, 0)


class Robustness(Base):
    def test_mutated_files_never_crash(self):
        rng = random.Random(20240607)
        data = self.model_bytes
        for i in range(20):
            mutated = bytearray(data)
            for _ in range(rng.randint(1, 6)):
                mutated[rng.randrange(len(mutated))] = rng.randrange(256)
            if i % 3 == 0:
                mutated = mutated[:rng.randrange(len(mutated))]
            p = self.write("fuzz.gmd", bytes(mutated))
            with self.subTest(i):
                for args in (["info", p], ["dump", "--json", p], ["check", "--strict", p],
                             ["convert", "-r", "4", p, self.path("fuzz.vtu")],
                             ["render", p, "-o", self.path("fuzz.png"), "--size", "32x32", "-r", "4"]):
                    self.gmd(*args)
                jsonl, back = self.path("fuzz.jsonl"), self.path("fuzz-back.gmd")
                self.gmd("convert", "--force", p, jsonl, expect=0)
                self.gmd("convert", jsonl, back, expect=0)
                with open(back, "rb") as f:
                    self.assertEqual(f.read(), bytes(mutated))


if __name__ == "__main__":
    GMD, WRITE_MODEL = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=1)
