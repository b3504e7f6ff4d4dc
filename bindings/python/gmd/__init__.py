"""Python binding of libgmd: read and write GMD geometry-record files.

    import gmd
    with gmd.create("ball.gmd") as out:
        out.write(gmd.Sphere(center=[0, 0, 0], radius=1.5, group=2))
    for record in gmd.open("ball.gmd"):
        print(record)
    mesh = gmd.read_mesh("mesh.gmd")          # numpy arrays, in bulk
    gmd.write_mesh("copy.gmd", mesh.points, mesh.cells)

The shared libraries libgmd and libgmdkit are found through the environment
variables GMD_LIBRARY and GMDKIT_LIBRARY, else where the project was
installed, else in the build tree, else on the system's library path.

Errors are GmdError: GmdOpenError (also an OSError, e.g. FileNotFoundError)
when a file cannot be opened, DamagedFileError when reading reaches a damaged
frame, GmdValueError (also a ValueError) for a value the format cannot hold.
When meshio is installed, importing gmd registers the format "gmd" (.gmd)
with it; `python3 -m gmd convert IN OUT` converts between GMD and meshio's
formats.
"""
from ._errors import (DamagedFileError, GmdError, GmdFileNotFoundError, GmdIsADirectoryError,
                      GmdNotADirectoryError, GmdOpenError, GmdPermissionError, GmdValueError, NotGmdFileError)
from ._files import Reader, Writer, append, create, open  # noqa: A004
from ._library import library
from ._mesh import Cells, Mesh, read_mesh, write_mesh
from ._version import __version__
from .records import (CircularCylinder, Cone, Disk, Edge, EllipticalCylinder, GroupMaterialName, Hinge,
                      InvalidRecord, Junction, JunctionGroupName, MacroGroup, NurbsSurface, Quad, Record,
                      Scatterer, ScatteredVertex, Segment, Sphere, Tolerance, Triangle, UnknownRecord,
                      VolumeMaterialName, Wedge)

__all__ = [
    "Reader", "Writer", "append", "create", "open", "read_mesh", "write_mesh", "Mesh", "Cells", "library",
    "GmdError", "GmdValueError", "GmdOpenError", "GmdFileNotFoundError", "GmdIsADirectoryError",
    "GmdNotADirectoryError", "GmdPermissionError", "DamagedFileError", "NotGmdFileError", "__version__",
    "CircularCylinder", "Cone", "Disk", "Edge", "EllipticalCylinder", "GroupMaterialName", "Hinge",
    "InvalidRecord", "Junction", "JunctionGroupName", "MacroGroup", "NurbsSurface", "Quad", "Record",
    "Scatterer", "ScatteredVertex", "Segment", "Sphere", "Tolerance", "Triangle", "UnknownRecord",
    "VolumeMaterialName", "Wedge",
]

try:
    from ._meshio import register as _register_with_meshio
except ImportError:  # no meshio: nothing to register with
    pass
else:
    _register_with_meshio()
