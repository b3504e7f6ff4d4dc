"""Whole meshes as numpy arrays, read and written in bulk by gmdkit.

The arrays are allocated once from gmdkit's counts and filled in place;
nothing is done per record in Python.
"""
import ctypes
import os
from dataclasses import dataclass
from typing import Dict, Mapping, Optional

import numpy as np

from . import _kit
from ._errors import DamagedFileError, GmdValueError
from ._library import kit

# meshio's name and corner count of each kind of cell, in gmdkit's order.
KINDS = (("line", 2), ("triangle", 3), ("quad", 4))


@dataclass
class Cells:
    """The cells of one kind: segments, triangles or quads.

    corners: int64 array (n, k) of 0-based indices into Mesh.points (k = 2,
    3 or 4); group: int32 array (n,), the group byte of each record; volume:
    int32 array (n, 2), its volume numbers, 0 where the record has none (a
    segment has one, so its second column is 0); record: int64 array (n,),
    the 0-based index of the record in the file."""
    corners: np.ndarray
    group: np.ndarray
    volume: np.ndarray
    record: np.ndarray

    def __len__(self) -> int:
        return len(self.corners)

    @classmethod
    def empty(cls, count: int, k: int) -> "Cells":
        return cls(np.empty((count, k), np.int64), np.empty(count, np.int32), np.empty((count, 2), np.int32),
                   np.empty(count, np.int64))

    def _struct(self) -> _kit.CellsStruct:
        return _kit.CellsStruct(len(self), _pointer(self.corners), _pointer(self.group),
                                _pointer(self.volume), _pointer(self.record))


@dataclass
class Mesh:
    """The mesh records of a GMD file (segments 'L' and 'l', triangles and
    quads of every polygon form); the other records are not part of it.

    points: float32 array (n, 3) of coordinates in the file's length unit;
    segments, triangles, quads: Cells; segment_radius: float32 array, the
    wire radius of each segment (0 where the record has none; None in a mesh
    to write: segments without radius); damage: None,
    or the DamagedFileError of a damaged file read with on_damage="stop"."""
    points: np.ndarray
    segments: Cells
    segment_radius: Optional[np.ndarray]
    triangles: Cells
    quads: Cells
    damage: Optional[DamagedFileError] = None

    @property
    def cells(self) -> Dict[str, np.ndarray]:
        """The corner arrays by meshio's cell names: "line", "triangle", "quad"."""
        return {"line": self.segments.corners, "triangle": self.triangles.corners, "quad": self.quads.corners}

    def by_kind(self):
        """(meshio name, Cells) for the three kinds, in gmdkit's order."""
        return (("line", self.segments), ("triangle", self.triangles), ("quad", self.quads))

    def _struct(self) -> _kit.MeshStruct:
        return _kit.MeshStruct(len(self.points), _pointer(self.points), self.segments._struct(),
                               _pointer(self.segment_radius), self.triangles._struct(), self.quads._struct())


_POINTERS = {np.dtype(np.float32): ctypes.POINTER(ctypes.c_float), np.dtype(np.int32): ctypes.POINTER(ctypes.c_int32),
             np.dtype(np.int64): ctypes.POINTER(ctypes.c_int64)}


def _pointer(array):
    if array is None:
        return None
    assert array.flags.c_contiguous
    return array.ctypes.data_as(_POINTERS[array.dtype])


def read_mesh(path, merge_points: bool = False, on_damage: str = "raise") -> Mesh:
    """Reads the segments, triangles and quads of a GMD file into numpy arrays.

    Points are kept as the records give them, each cell corner its own point,
    unless merge_points is true: then exactly equal coordinates are one point
    (in the order of first appearance). A damaged or foreign file raises
    DamagedFileError; on_damage="stop" keeps the cells before the damage and
    sets Mesh.damage instead (a file that is not GMD at all raises
    NotGmdFileError either way)."""
    if on_damage not in ("raise", "stop"):
        raise ValueError("on_damage must be one of raise, stop, not %r" % (on_damage,))
    lib = kit()
    counts, report, reader = _kit.MeshStruct(), _kit.Report(), ctypes.c_void_p()
    options = (_kit.MERGE_POINTS if merge_points else 0) | (_kit.KEEP_DAMAGED if on_damage == "stop" else 0)
    status = lib.gmdk_mesh_open(os.fsencode(path), options, ctypes.byref(reader), ctypes.byref(counts),
                                ctypes.byref(report))
    if status:
        raise _kit.error(lib, status, report, path, "open {} for reading")
    try:
        mesh = Mesh(np.empty((counts.point_count, 3), np.float32), Cells.empty(counts.segments.count, 2),
                    np.empty(counts.segments.count, np.float32), Cells.empty(counts.triangles.count, 3),
                    Cells.empty(counts.quads.count, 4))
        struct = mesh._struct()
        status = lib.gmdk_mesh_fill(reader, ctypes.byref(struct))
        if status:
            raise _kit.error(lib, status, report, path, "read {}")
    finally:
        lib.gmdk_mesh_close(reader)
    if report.stop != _kit.STOP_END:
        mesh.damage = _kit.damage(lib, path, report)
    return mesh


def write_mesh(path, points, cells=None, groups=None, volumes=None, radius=None, append: bool = False) -> None:
    """Writes a mesh as GMD records: each line cell a segment, each triangle
    and quad a polygon record, with its group and volume numbers.

    points: array (n, 3); cells: {"line": (m, 2), "triangle": (m, 3),
    "quad": (m, 4)} arrays of 0-based point indices, or a sequence of such
    (name, array) pairs (meshio's cell blocks do). groups, volumes: by cell
    name, each a number for every cell of that kind or an array with one
    entry per cell (volumes: (m, 2) for polygons, (m,) for segments); groups
    hold -127 to 127. radius: the segments' wire radius, a number or an
    array; without it segments are written without one. A Mesh as `points` writes that mesh, in its record order.
    append: add the records at the end of an existing file."""
    if isinstance(points, Mesh):
        mesh = points
    else:
        mesh = _build(points, _by_name(cells), groups or {}, volumes or {}, radius)
    lib = kit()
    report = _kit.Report()
    struct = mesh._struct()
    status = lib.gmdk_mesh_write(os.fsencode(path), ctypes.byref(struct), 1 if append else 0, ctypes.byref(report))
    if status:
        raise _kit.error(lib, status, report, path, "open {} for " + ("appending" if append else "writing"))


def _by_name(cells):
    if cells is None:
        raise GmdValueError("write_mesh needs cells")
    pairs = cells.items() if isinstance(cells, Mapping) else cells
    found = {}
    for pair in pairs:
        name, data = (pair.type, pair.data) if hasattr(pair, "type") else pair
        if name not in dict(KINDS):
            raise GmdValueError("GMD has no cells of kind %r (only line, triangle and quad)" % (name,))
        found.setdefault(name, []).append(np.asarray(data))
    return {name: np.concatenate(blocks) if len(blocks) > 1 else blocks[0] for name, blocks in found.items()}


def _build(points, cells, groups, volumes, radius):
    points = np.ascontiguousarray(points, np.float32)
    if points.ndim != 2 or points.shape[1] != 3:
        raise GmdValueError("points must have shape (n, 3), not %s" % (points.shape,))
    kinds = {}
    for name, k in KINDS:
        corners = cells.get(name, np.zeros((0, k), np.int64))
        if corners.ndim != 2 or corners.shape[1] != k:
            raise GmdValueError("%s cells must have shape (m, %d), not %s" % (name, k, corners.shape))
        if corners.size and not np.issubdtype(corners.dtype, np.integer):
            raise GmdValueError("%s cells must be point indices (integers), not %s" % (name, corners.dtype))
        count = len(corners)
        kinds[name] = Cells(np.ascontiguousarray(corners, np.int64),
                            _per_cell(groups.get(name, 0), count, np.int32, name + " groups"),
                            _volumes(volumes.get(name), count, name), None)
    segment_radius = None if radius is None else _per_cell(radius, len(kinds["line"]), np.float32, "radius")
    return Mesh(points, kinds["line"], segment_radius, kinds["triangle"], kinds["quad"])


def _per_cell(value, count, dtype, what):
    array = np.asarray(value)
    if dtype is np.int32 and array.size and not np.issubdtype(array.dtype, np.integer):
        raise GmdValueError("%s must be integers, not %s" % (what, array.dtype))
    if array.ndim == 0:
        return np.full(count, array, dtype)
    if array.shape != (count,):
        raise GmdValueError("%s must be one number or %d, not shape %s" % (what, count, array.shape))
    return np.ascontiguousarray(array, dtype)


def _volumes(value, count, name):
    """(count, 2) int32 volume numbers from an array per cell, or from one
    volume (segments) or one pair (polygons) for every cell."""
    if value is None:
        return None
    array = np.asarray(value)
    if array.size and not np.issubdtype(array.dtype, np.integer):
        raise GmdValueError("%s volumes must be integers, not %s" % (name, array.dtype))
    if name == "line" and array.shape in ((), (count,)):
        array = np.stack([np.broadcast_to(array, (count,)), np.zeros(count, array.dtype)], axis=1)
    elif name != "line" and array.shape == (2,):
        array = np.broadcast_to(array, (count, 2))
    if array.shape != (count, 2) or (name == "line" and count and array[:, 1].any()):
        raise GmdValueError("%s volumes must be %s, not shape %s" % (
            name, "one number or %d" % count if name == "line" else "one pair or shape (%d, 2)" % count,
            array.shape))
    return np.ascontiguousarray(array, np.int32)
