"""The reference model of reference_model.c, as record objects, and the
record type codes the C API reports for it."""
import numpy as np

import gmd

WEDGE = dict(first_vertex=[0, 0, 0], second_vertex=[0, 0, 1], left_normal=[1, 0, 0], right_normal=[0, 1, 0])
SEGMENT = [[0, 0, 0], [1, 0, 0]]
TRIANGLE = [[0, 0, 0], [1, 0, 0], [0, 1, 0]]
QUAD = [[0, 0, 1], [1, 0, 1], [1, 1, 1], [0, 1, 1]]

REFERENCE = [
    gmd.Tolerance(0.001, group=-5),
    gmd.Segment(SEGMENT, radius=0.125),
    gmd.Segment(SEGMENT, radius=0.5, volume=3),
    gmd.Triangle(TRIANGLE, group=1, group2=7),
    gmd.Quad(QUAD, volumes=[1, 2]),
    gmd.Triangle(TRIANGLE, fss_orientation=[0, 0, 1], thickness=[0.5, 0.25]),
    gmd.Wedge(**WEDGE),
    gmd.Wedge(**WEDGE, left_polygon=11, right_polygon=12),
    gmd.Edge(**WEDGE, polygon=13),
    gmd.MacroGroup([4, 9, 2], name="wing"),
    gmd.ScatteredVertex([2, 3, 4], [7, 8]),
    gmd.Sphere([1, 2, 3], 4),
    gmd.Scatterer([1, 2, 3], 4, 5),
    gmd.Disk([0, 0, 0], [0, 0, 5], 2),
    gmd.CircularCylinder([0, 0, 0], [0, 0, 2], 1),
    gmd.EllipticalCylinder([1, 1, 1], [1, 1, 4], [1, 0, 0], 2, 1, 0, 0),
    gmd.Cone([0, 0, 0], [0, 0, 2], [1, 0, 0], 2, 1, 1, 0.5, 0, 0),
    gmd.NurbsSurface([0, 0, 1, 1], [0, 0, 1, 1],
                     control_points=[[[0, 0, 0], [0, 1, 0]], [[1, 0, 0], [1, 1, 0.1]]],
                     weights=[[1, 1], [1, 2]], boundary_dimensions=[3, 1],
                     boundary_points=[[0, 0], [1, 0], [1, 1], [0.5, 0.5]], hole_origin=-1),
    gmd.Junction([0, 0, 0], [1, 0, 0], [0, 0, 1]),
    gmd.Hinge("AB", "flap", np.arange(20).reshape(2, 10), [5, 6]),
    gmd.GroupMaterialName("Copper1"),
    gmd.VolumeMaterialName("Steel"),
    gmd.JunctionGroupName("J1"),
]

REFERENCE_TYPES = [ord("G"), ord("L"), ord("l"), 3, 2, 5, ord("W"), ord("w"), ord("e"), ord("U"), ord("v"),
                   ord("S"), ord("R"), ord("D"), ord("C"), ord("E"), ord("F"), ord("N"), ord("O"), ord("H"),
                   ord("M"), ord("m"), ord("Z")]
