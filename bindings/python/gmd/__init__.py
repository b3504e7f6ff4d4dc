"""Python binding of libgmd: read and write GMD geometry-record files.

    import gmd
    with gmd.create("ball.gmd") as out:
        out.write(gmd.Sphere(center=[0, 0, 0], radius=1.5, group=2))
    for record in gmd.open("ball.gmd"):
        print(record)
    points, cells = gmd.read_mesh("mesh.gmd")

The shared library is found through the environment variable GMD_LIBRARY,
else in the build tree, else on the system's library path. Whatever the
library refuses raises GmdError saying what was refused.
"""
from ._files import Reader, Writer, append, create, open, read_mesh  # noqa: A004
from ._library import GmdError, library
from .records import (CircularCylinder, Cone, Disk, Edge, EllipticalCylinder, GroupMaterialName, Hinge,
                      InvalidRecord, Junction, JunctionGroupName, MacroGroup, NurbsSurface, Quad, Record,
                      Scatterer, ScatteredVertex, Segment, Sphere, Tolerance, Triangle, UnknownRecord,
                      VolumeMaterialName, Wedge)

__all__ = [
    "Reader", "Writer", "append", "create", "open", "read_mesh", "GmdError", "library",
    "CircularCylinder", "Cone", "Disk", "Edge", "EllipticalCylinder", "GroupMaterialName", "Hinge",
    "InvalidRecord", "Junction", "JunctionGroupName", "MacroGroup", "NurbsSurface", "Quad", "Record",
    "Scatterer", "ScatteredVertex", "Segment", "Sphere", "Tolerance", "Triangle", "UnknownRecord",
    "VolumeMaterialName", "Wedge",
]
