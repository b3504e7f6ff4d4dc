"""Round trips of every record family through the Python binding."""
import numpy as np

import gmd
from model import QUAD, REFERENCE, SEGMENT, TRIANGLE, WEDGE, frame


def write_all(path, records):
    with gmd.create(path) as out:
        for record in records:
            out.write(record)


def read_all(path):
    with gmd.open(path) as source:
        return list(source)


VARIANTS = [
    gmd.Segment(SEGMENT),
    gmd.Segment(SEGMENT, volume=-4),
    gmd.Triangle(TRIANGLE, volumes=[-1, 2**31 - 1], group=127, group2=-127),
    gmd.Triangle(TRIANGLE, thickness=[]),
    gmd.Triangle(TRIANGLE, fss_orientation=[0.1, 0.2, 0.3]),
    gmd.Quad(QUAD),
    gmd.Quad(QUAD, thickness=[1.5]),
    gmd.Quad(QUAD, fss_orientation=[0, 1, 0]),
    gmd.Quad(QUAD, fss_orientation=[0, 1, 0], thickness=[1, 2, 3]),
    gmd.Wedge(**WEDGE, right_polygon=7),
    gmd.ScatteredVertex([1, 2, 3]),
    gmd.MacroGroup([]),
    gmd.MacroGroup([1], name=""),
    gmd.MacroGroup([], name="exactly12chr"),
    gmd.NurbsSurface([], [], np.zeros((0, 0, 3)), np.zeros((0, 0)), hole_origin=5),
    gmd.Hinge("", "", group=3),
    gmd.GroupMaterialName(""),
    gmd.Tolerance(-0.0),
]


def test_a_whole_model_reads_back_in_order(tmp_path):
    path = tmp_path / "model.gmd"
    write_all(path, REFERENCE + VARIANTS)
    assert read_all(path) == REFERENCE + VARIANTS


def test_append_adds_after_the_existing_records(tmp_path):
    path = tmp_path / "grown.gmd"
    write_all(path, REFERENCE[:3])
    with gmd.append(path) as out:
        for record in REFERENCE[3:]:
            out.write(record)
    assert read_all(path) == REFERENCE


def test_solids_give_the_derived_geometry(tmp_path):
    path = tmp_path / "solids.gmd"
    write_all(path, [gmd.EllipticalCylinder([1, 1, 1], [1, 1, 4], [1, 0, 0], 2, 1, 0, 0),
                     gmd.Cone([0, 0, 0], [0, 0, 2], [1, 0, 0], 2, 1, 1, 0.5, 0, 0),
                     gmd.CircularCylinder([0, 0, 0], [0, 3, 4], 1)])
    elliptical, cone, cylinder = read_all(path)
    assert elliptical.height == 3.0
    np.testing.assert_array_equal(elliptical.center, [1, 1, 1])
    np.testing.assert_array_equal(elliptical.y_direction, [0, 1, 0])
    np.testing.assert_array_equal(elliptical.z_direction, [0, 0, 1])
    assert cone.height == 2.0
    np.testing.assert_array_equal(cone.y_direction, [0, 1, 0])
    assert cylinder.height == 5.0


def test_values_are_kept_as_float32(tmp_path):
    path = tmp_path / "float.gmd"
    write_all(path, [gmd.Sphere([0.1, 1e-30, -3e38], 1 / 3)])
    (sphere,) = read_all(path)
    assert sphere.center.dtype == np.float32
    np.testing.assert_array_equal(sphere.center, np.float32([0.1, 1e-30, -3e38]))
    assert sphere.radius == float(np.float32(1 / 3))


def test_unknown_and_invalid_frames_are_delivered_and_reading_goes_on(tmp_path):
    path = tmp_path / "odd.gmd"
    path.write_bytes(frame("S", [1, 2, 3, 4]) + frame("Q", [1]) + frame("S", [1, 2, 3, 4, 5]))
    assert read_all(path) == [gmd.Sphere([1, 2, 3], 4), gmd.UnknownRecord(code=ord("Q")),
                              gmd.InvalidRecord()]
