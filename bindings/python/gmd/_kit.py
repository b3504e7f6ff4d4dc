"""The C interface of libgmdkit (kit/include/gmdkit.h) in ctypes terms, and
the translation of its statuses and reports into this package's exceptions."""
import ctypes
import os

from ._errors import DamagedFileError, GmdError, GmdValueError, NotGmdFileError, open_error

STATUS_OK = 0
STATUS_OPEN_FAILED = 1
STATUS_DAMAGED = 2
STATUS_NOT_GMD = 3
STATUS_NO_MEMORY = 4
STATUS_BAD_ARGUMENT = 5
STATUS_WRITE_FAILED = 6
STATUS_READ_FAILED = 7

STOP_END = 0
# GMDK_STOP_* by the name DamagedFileError.stop gives them.
STOP_NAMES = {1: "truncated", 2: "short_length", 3: "trailer", 4: "not_gmd", 5: "unreadable"}

MERGE_POINTS = 1
KEEP_DAMAGED = 2

_I32, _I64, _F32 = ctypes.POINTER(ctypes.c_int32), ctypes.POINTER(ctypes.c_int64), ctypes.POINTER(ctypes.c_float)


class Report(ctypes.Structure):
    """GMDK_Report: what a scan found and why reading stopped."""
    _fields_ = [
        ("stop", ctypes.c_int32),
        ("os_error", ctypes.c_int32),
        ("file_size", ctypes.c_uint64),
        ("stop_offset", ctypes.c_uint64),
        ("frames", ctypes.c_uint64),
        ("last_good_record", ctypes.c_int64),
        ("letters", ctypes.c_uint64 * 256),
        ("reason", ctypes.c_char * 200),
    ]


class CellsStruct(ctypes.Structure):
    """GMDK_Cells: one kind of cell as caller-owned arrays."""
    _fields_ = [("count", ctypes.c_int64), ("corners", _I64), ("group", _I32), ("volume", _I32),
                ("record", _I64)]


class MeshStruct(ctypes.Structure):
    """GMDK_Mesh: points and the three kinds of cells."""
    _fields_ = [("point_count", ctypes.c_int64), ("points", _F32), ("segments", CellsStruct),
                ("segment_radius", _F32), ("triangles", CellsStruct), ("quads", CellsStruct)]


_REPORT, _MESH = ctypes.POINTER(Report), ctypes.POINTER(MeshStruct)
KIT_PROTOTYPES = {
    "gmdk_scan_file": (ctypes.c_int, [ctypes.c_char_p, _REPORT]),
    "gmdk_describe": (ctypes.c_size_t, [ctypes.c_int, _REPORT, ctypes.c_char_p, ctypes.c_size_t]),
    "gmdk_mesh_open": (ctypes.c_int, [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(ctypes.c_void_p), _MESH,
                                      _REPORT]),
    "gmdk_mesh_fill": (ctypes.c_int, [ctypes.c_void_p, _MESH]),
    "gmdk_mesh_close": (None, [ctypes.c_void_p]),
    "gmdk_mesh_write": (ctypes.c_int, [ctypes.c_char_p, _MESH, ctypes.c_int, _REPORT]),
    "gmdk_version": (ctypes.c_char_p, []),
}


def describe(lib, status, report):
    """gmdkit's one line for a status and its report."""
    text = ctypes.create_string_buffer(512)
    lib.gmdk_describe(status, ctypes.byref(report), text, len(text))
    return text.value.decode("utf-8", "replace")


def damage(lib, path, report, status=STATUS_DAMAGED):
    """The DamagedFileError for a report whose stop is not the clean end."""
    kind = NotGmdFileError if report.stop == 4 else DamagedFileError
    return kind(os.fspath(path), int(report.stop_offset), describe(lib, status, report), int(report.frames),
                STOP_NAMES.get(report.stop, "damaged"))


def error(lib, status, report, path, action):
    """The exception for a failed gmdkit call on the file `path`."""
    if status in (STATUS_OPEN_FAILED, STATUS_READ_FAILED):
        return open_error(report.os_error, path, action)
    if status in (STATUS_DAMAGED, STATUS_NOT_GMD):
        return damage(lib, path, report, status)
    if status == STATUS_NO_MEMORY:
        return MemoryError("%s: out of memory" % os.fspath(path))
    text = "%s: %s" % (os.fspath(path), describe(lib, status, report))
    if status == STATUS_BAD_ARGUMENT:
        return GmdValueError(text)
    if status == STATUS_WRITE_FAILED and report.os_error:
        return open_error(report.os_error, path, action)
    return GmdError(text)
