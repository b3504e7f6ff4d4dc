"""Misuse raises GmdError saying what was refused, and writes nothing; files
that cannot be opened raise the OSError their errno names."""
import errno
import os

import numpy as np
import pytest

import gmd
from model import QUAD, TRIANGLE

BAD_RECORDS = [
    (lambda: gmd.Triangle(TRIANGLE, volumes=[1, 2], thickness=[1]), "both volumes and attributes"),
    (lambda: gmd.Triangle(TRIANGLE, fss_orientation=[0, 0, 1], group2=3), "attribute layout"),
    (lambda: gmd.Triangle(QUAD), "shape (3, 3)"),
    (lambda: gmd.Quad(QUAD, volumes=[1]), "two volume numbers"),
    (lambda: gmd.Junction([0, 0, 0], [1, 0, 0], [0, 0, 1], group2=1), "fixes that header byte"),
    (lambda: gmd.Hinge("x", "y", points=np.zeros((1, 9))), "shape (n, 10)"),
    (lambda: gmd.GroupMaterialName("padded "), "must not end in a space"),
    (lambda: gmd.GroupMaterialName("a\0b"), "NUL"),
    (lambda: gmd.Sphere([0, 0, 0], "big"), "must be a number"),
    (lambda: gmd.MacroGroup([1.5]), "32-bit integers"),
    (lambda: gmd.MacroGroup([2**31]), "32-bit integers"),
    (lambda: gmd.Segment([[0, 0, 0], [1, 0, 0]], volume=1.0), "must be an integer"),
    (lambda: gmd.NurbsSurface([0], [0], np.zeros((2, 2, 3)), np.zeros((2, 3))), "shape (2, 2)"),
    (lambda: gmd.Sphere([0, 0, 0], 1, group=200), "group must be -127 to 127, not 200"),
    (lambda: gmd.Segment([[0, 0, 0], [1, 0, 0]], group2=-128), "group2 must be -127 to 127, not -128"),
]


@pytest.mark.parametrize("make, message", BAD_RECORDS, ids=[m for _, m in BAD_RECORDS])
def test_records_the_format_cannot_hold_are_refused_when_built(make, message):
    with pytest.raises(gmd.GmdValueError, match=message.replace("(", r"\(").replace(")", r"\)")) as caught:
        make()
    assert isinstance(caught.value, ValueError)


REFUSED_WRITES = [
    (gmd.InvalidRecord(), "not a record of a known kind"),
    (gmd.UnknownRecord(code=81), "not a record of a known kind"),
    ("S", "not a record of a known kind"),
]


@pytest.mark.parametrize("record, message", REFUSED_WRITES, ids=[m for _, m in REFUSED_WRITES])
def test_refused_writes_leave_the_file_as_it_was(tmp_path, record, message):
    path = tmp_path / "refused.gmd"
    with gmd.create(path) as out:
        out.write(gmd.Tolerance(1))
        with pytest.raises(gmd.GmdError, match=message):
            out.write(record)
        out.write(gmd.Tolerance(2))
    assert list(gmd.open(path)) == [gmd.Tolerance(1), gmd.Tolerance(2)]


OPEN_FAILURES = [  # (open, path under tmp_path, OSError subclass, errno)
    (gmd.open, "missing.gmd", FileNotFoundError, errno.ENOENT),
    (gmd.open, ".", IsADirectoryError, errno.EISDIR),
    (gmd.read_mesh, "missing.gmd", FileNotFoundError, errno.ENOENT),
    (gmd.read_mesh, ".", IsADirectoryError, errno.EISDIR),
    (gmd.create, "no/such.gmd", FileNotFoundError, errno.ENOENT),
    (gmd.create, ".", IsADirectoryError, errno.EISDIR),
]


@pytest.mark.parametrize("opener, name, kind, code", OPEN_FAILURES,
                         ids=["%s-%s" % (o.__name__, n) for o, n, _, _ in OPEN_FAILURES])
def test_files_that_cannot_be_opened_raise_the_matching_os_error(tmp_path, opener, name, kind, code):
    path = tmp_path / name
    with pytest.raises(kind) as caught:
        opener(path)
    error = caught.value
    assert isinstance(error, gmd.GmdOpenError) and isinstance(error, gmd.GmdError)
    assert (error.errno, error.filename) == (code, os.fspath(path))
    assert os.fspath(path) in str(error)
    assert sorted(p.name for p in tmp_path.iterdir()) == []


def test_a_closed_writer_refuses_records(tmp_path):
    out = gmd.create(tmp_path / "closed.gmd")
    out.close()
    with pytest.raises(gmd.GmdError, match="already closed"):
        out.write(gmd.Tolerance(1))
