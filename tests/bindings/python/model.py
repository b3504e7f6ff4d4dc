"""The model of tests/tool/write_model.c (a record of every family, written
through the C API), as record objects."""
import numpy as np

import gmd

SEGMENT = [[0, 0, 0], [1, 0, 0]]
TRIANGLE = [[0, 0, 1], [1, 0, 1], [0, 1, 1]]
QUAD = [[2, 0, 0], [3, 0, 0], [3, 1, 0], [2, 1, 0]]
TRIANGLE2 = [[0, 0, 2], [1, 0, 2], [0, 1, 2.5]]
QUAD2 = [[2, 0, 1], [3, 0, 1], [3, 1, 1.5], [2, 1, 1.5]]
WEDGE = dict(first_vertex=[0, 0, 3], second_vertex=[1, 0, 3], left_normal=[0, 0, 1], right_normal=[0, 1, 0])
W = 0.70710678


def frame(letter, words, group=0):
    """The bytes of one record frame holding float32 words."""
    length = (4 + 4 * len(words)).to_bytes(4, "little")
    return length + bytes([ord(letter), len(words), group & 0xFF, 0]) + np.float32(words).tobytes() + length


REFERENCE = [
    gmd.Tolerance(0.001),
    gmd.Segment(SEGMENT, group=1),
    gmd.Segment([[1, 0, 0], [1, 1, 0]], radius=0.01, group=1),
    gmd.Segment([[1, 1, 0], [0, 1, 0.5]], radius=0.02, volume=7, group=1),
    gmd.Triangle(TRIANGLE, group=2),
    gmd.Quad(QUAD, group=2),
    gmd.Triangle(TRIANGLE2, volumes=[3, 4], group=2),
    gmd.Quad(QUAD2, volumes=[5, 6], group=2),
    gmd.Triangle(TRIANGLE, thickness=[0.1, 0.25], group=3),
    gmd.Quad(QUAD, thickness=[0.1], fss_orientation=[0, 0, 1], group=3),
    gmd.Triangle(TRIANGLE2, fss_orientation=[0, 0, 1], group=3),
    gmd.Wedge(**WEDGE, group=4),
    gmd.Wedge(**WEDGE, left_polygon=4, right_polygon=5, group=4),
    gmd.Edge(**WEDGE, polygon=6, group=4),
    gmd.MacroGroup([1, 2, 3], name="wires"),
    gmd.ScatteredVertex([-1, -1, -1], [10, 11]),
    gmd.Sphere([5, 0, 0], 1, group=5),
    gmd.Scatterer([5, 3, 0], 0.5, 0.75, group=5),
    gmd.Disk([8, 0, 0], [0, 0, 1], 1.5, group=5),
    gmd.CircularCylinder([10, 0, 0], [10, 0, 2], 0.5, group=6),
    gmd.EllipticalCylinder([12, 0, 0], [12, 0, 3], [1, 0, 0], 1, 0.5, 0, 0, group=6),
    gmd.Cone([14, 0, 0], [14, 0, 2], [1, 0, 0], 1, 0.5, 0.5, 0.25, 0, 0, group=-5),
    gmd.NurbsSurface([0, 0, 0, 1, 1, 1], [0, 0, 1, 1],
                     control_points=[[[2, 0, 0], [2, 0, 1]], [[2, 2, 0], [2, 2, 1]], [[0, 2, 0], [0, 2, 1]]],
                     weights=[[1, 1], [W, W], [1, 1]], boundary_dimensions=[5],
                     boundary_points=[[0, 0], [1, 0], [1, 1], [0, 1], [0, 0]], hole_origin=0, group=7),
    gmd.Junction([0, 0, 4], [0, 0, 5], [1, 0, 0], group=8),
    gmd.Hinge("door", "pin", np.arange(10).reshape(1, 10), [2, 3], group=8),
    gmd.GroupMaterialName("Copper1", group=1),
    gmd.VolumeMaterialName("air", group=1),
    gmd.JunctionGroupName("feeds", group=8),
]
