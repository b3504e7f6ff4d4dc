"""Misuse raises GmdError saying what was refused, and writes nothing."""
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
]


@pytest.mark.parametrize("make, message", BAD_RECORDS, ids=[m for _, m in BAD_RECORDS])
def test_records_the_format_cannot_hold_are_refused(make, message):
    with pytest.raises(gmd.GmdError, match=message.replace("(", r"\(").replace(")", r"\)")):
        make()


REFUSED_WRITES = [
    (gmd.Sphere([0, 0, 0], 1, group=128), "GMD_SetGroup refused group 128"),
    (gmd.Sphere([0, 0, 0], 1, group2=-128), "GMD_SetGroup2 refused group2 -128"),
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


def test_opening_a_missing_file_is_refused(tmp_path):
    with pytest.raises(gmd.GmdError, match="cannot open .*missing.gmd for reading"):
        gmd.open(tmp_path / "missing.gmd")
    assert not (tmp_path / "missing.gmd").exists()


def test_creating_in_a_missing_folder_is_refused(tmp_path):
    with pytest.raises(gmd.GmdError, match="for writing"):
        gmd.create(tmp_path / "no" / "such.gmd")


def test_a_closed_writer_refuses_records(tmp_path):
    out = gmd.create(tmp_path / "closed.gmd")
    out.close()
    with pytest.raises(gmd.GmdError, match="already closed"):
        out.write(gmd.Tolerance(1))
