"""Loads libgmd and gives its exports ctypes signatures.

The library is taken from the environment variable GMD_LIBRARY when it is
set (a path to the shared object); otherwise from the build tree of this
source tree (build/libgmd.so), then from the system's library path.
"""
import ctypes
import ctypes.util
import os
import pathlib

from ._prototypes import PROTOTYPES


class GmdError(Exception):
    """A call that libgmd refused, or a use of this package it cannot serve."""


class NurbsData(ctypes.Structure):
    """GMD_NurbsData: caller-owned arrays of one NURBS surface."""
    _fields_ = [
        ("uKnots", ctypes.POINTER(ctypes.c_float)),
        ("vKnots", ctypes.POINTER(ctypes.c_float)),
        ("controlPoints", ctypes.POINTER(ctypes.c_float)),
        ("weights", ctypes.POINTER(ctypes.c_float)),
        ("boundaryDimensions", ctypes.POINTER(ctypes.c_int32)),
        ("boundaryPoints", ctypes.POINTER(ctypes.c_float)),
    ]


_TAGS = {
    "handle": ctypes.c_void_p,
    "i32": ctypes.c_int32,
    "u32": ctypes.c_uint32,
    "f32": ctypes.c_float,
    "i32*": ctypes.POINTER(ctypes.c_int32),
    "f32*": ctypes.POINTER(ctypes.c_float),
    "cstr": ctypes.c_char_p,
    "buf": ctypes.c_char_p,
    "nurbs*": ctypes.POINTER(NurbsData),
}

_loaded = None


def _candidates():
    explicit = os.environ.get("GMD_LIBRARY")
    if explicit:
        return [explicit]
    tree = pathlib.Path(__file__).resolve().parents[3] / "build" / "libgmd.so"
    found = [str(tree)] if tree.exists() else []
    system = ctypes.util.find_library("gmd")
    return found + ([system] if system else []) + ["libgmd.so.1"]


def library():
    """The loaded library with every export typed; loaded on first use."""
    global _loaded
    if _loaded is None:
        errors = []
        for candidate in _candidates():
            try:
                lib = ctypes.CDLL(candidate)
                break
            except OSError as error:
                errors.append(str(error))
        else:
            raise GmdError("cannot load libgmd (set GMD_LIBRARY to its path): " + "; ".join(errors))
        for name, (result, arguments) in PROTOTYPES.items():
            try:
                function = getattr(lib, name)
            except AttributeError:
                continue  # an older library; calling the export raises GmdError
            function.restype = _TAGS[result]
            function.argtypes = [_TAGS[tag] for tag in arguments]
        _loaded = lib
    return _loaded
