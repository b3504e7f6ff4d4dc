"""Reading and writing GMD files record by record."""
import numpy as np

from . import _handle as H
from ._library import GmdError
from ._prototypes import (RECORD_ATTRIBUTED_QUAD, RECORD_ATTRIBUTED_TRIANGLE, RECORD_QUAD,
                          RECORD_TRIANGLE, RECORD_VOLUME_QUAD, RECORD_VOLUME_TRIANGLE)
from .records import KINDS, InvalidRecord, Record, UnknownRecord


class _File:
    """Closes its handle at close() or at the end of a with block."""
    _handle = None

    def close(self):
        self._handle.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Reader(_File):
    """Iterates over the records of a GMD file, in file order, as record
    objects. Reading stops at the end of the file or at the first damaged
    frame (the library does not tell the two apart)."""

    def __init__(self, path):
        self._handle = H.Handle("GMD_OpenReadFile", path, "reading")

    def __iter__(self):
        return self

    def __next__(self):
        h = self._handle
        if h.ptr is None or not h.call("GMD_GetRecord"):
            raise StopIteration
        code = h.call("GMD_GetRecordType")
        group, group2 = h.int_value("GMD_GetGroup"), h.int_value("GMD_GetGroup2")
        kind = KINDS.get(code)
        if code == 0:
            record = InvalidRecord()
        elif kind is None:
            record = UnknownRecord(code=code)
        else:
            record = kind._read(h, code)
            if record is None:
                raise GmdError("%s: the library refused to give the contents of a record of type %d"
                               % (h.path, code))
        record.group = group
        if not record._claims_group2 and not getattr(record, "group2", 0):
            record.group2 = group2 if code not in (RECORD_ATTRIBUTED_TRIANGLE, RECORD_ATTRIBUTED_QUAD) else 0
        return record



class Writer(_File):
    """Writes record objects to a GMD file, one frame per write()."""

    def __init__(self, path, append=False):
        if append:
            self._handle = H.Handle("GMD_OpenAppendFile", path, "appending")
        else:
            self._handle = H.Handle("GMD_OpenWriteFile", path, "writing")

    def write(self, record):
        """Sets the handle's record from `record` and commits it. Raises
        GmdError, writing nothing, when the library refuses a part of it."""
        if not isinstance(record, Record) or isinstance(record, (InvalidRecord, UnknownRecord)):
            raise GmdError("cannot write %r: not a record of a known kind" % (record,))
        h = self._handle
        h.live()
        try:
            h.do("GMD_SetGroup", record.group,
                 what="group %d (a group byte holds -127 to 127)" % record.group)
            h.do("GMD_SetGroup2", record.group2,
                 what="group2 %d (a header byte holds -127 to 127)" % record.group2)
            record._write(h)
        except BaseException:
            h.call("GMD_ResetRecord")
            raise
        if not h.call("GMD_WriteRecord"):
            raise GmdError("%s: writing the record failed" % h.path)



def open(path):  # noqa: A001 - the package's reading entry point, like io.open
    """Opens a GMD file for reading; iterate over the result for its records."""
    return Reader(path)


def create(path):
    """Creates (or truncates) a GMD file and returns a Writer for it."""
    return Writer(path)


def append(path):
    """Opens (or creates) a GMD file to add records at its end; returns a Writer."""
    return Writer(path, append=True)


_MESH_CALLS = {
    ord("L"): ("line", "GMD_GetSegment", 2), ord("l"): ("line", "GMD_GetSegment", 2),
    RECORD_TRIANGLE: ("triangle", "GMD_GetTriangle", 3),
    RECORD_VOLUME_TRIANGLE: ("triangle", "GMD_GetTriangle", 3),
    RECORD_ATTRIBUTED_TRIANGLE: ("triangle", "GMD_GetTriangle", 3),
    RECORD_QUAD: ("quad", "GMD_GetQuad", 4),
    RECORD_VOLUME_QUAD: ("quad", "GMD_GetQuad", 4),
    RECORD_ATTRIBUTED_QUAD: ("quad", "GMD_GetQuad", 4),
}


def read_mesh(path):
    """Reads the segments, triangles and quads of a GMD file in one pass.

    Returns (points, cells): points is a float32 array of shape (n, 3) holding
    each distinct vertex once, in the order of first appearance; cells maps
    "line", "triangle" and "quad" to int64 arrays of shape (m, 2), (m, 3) and
    (m, 4) of indices into points, in file order. Other records are skipped.
    """
    h = H.Handle("GMD_OpenReadFile", path, "reading")
    kinds, vertices = [], []
    buffer = np.zeros(12, dtype=np.float32)
    pointer = H.fptr(buffer)
    try:
        while h.call("GMD_GetRecord"):
            entry = _MESH_CALLS.get(h.call("GMD_GetRecordType"))
            if entry is not None and h.call(entry[1], pointer):
                kinds.append(entry[0])
                vertices.append(buffer[:3 * entry[2]].reshape(-1, 3).copy())
    finally:
        h.close()
    found = {"line": [], "triangle": [], "quad": []}
    if vertices:
        unique, first, inverse = np.unique(np.concatenate(vertices), axis=0,
                                           return_index=True, return_inverse=True)
        order = np.argsort(first, kind="stable")
        rank = np.empty(len(order), dtype=np.int64)
        rank[order] = np.arange(len(order))
        points, index = unique[order], rank[inverse.reshape(-1)]
        at = 0
        for kind, corners in zip(kinds, vertices):
            found[kind].append(index[at:at + len(corners)])
            at += len(corners)
    else:
        points = np.zeros((0, 3), dtype=np.float32)
    cells = {kind: np.array(found[kind], dtype=np.int64).reshape(len(found[kind]), n)
             for kind, n in (("line", 2), ("triangle", 3), ("quad", 4))}
    return points, cells
