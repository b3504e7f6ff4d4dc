"""Loads libgmd and libgmdkit and gives their exports ctypes signatures.

Each library is looked for, first match wins:
  1. the environment variable GMD_LIBRARY (libgmd) or GMDKIT_LIBRARY
     (libgmdkit), a path to the shared object;
  2. LIBDIR of the module gmd/_install.py, which an install of the whole
     project to a prefix writes beside this file;
  3. the build tree of this source tree (build/libgmd.so, build/kit/libgmdkit.so);
  4. the system's loader, by soname (libgmd.so.1, libgmdkit.so.1).
libgmd is loaded first, so that libgmdkit binds to the same copy.
"""
import ctypes
import os
import pathlib

from ._errors import GmdError
from ._kit import KIT_PROTOTYPES
from ._prototypes import PROTOTYPES


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

# name -> (environment variable, soname, place in the build tree)
_LIBRARIES = {
    "gmd": ("GMD_LIBRARY", "libgmd.so.1", "libgmd.so"),
    "gmdkit": ("GMDKIT_LIBRARY", "libgmdkit.so.1", "kit/libgmdkit.so"),
}
_loaded = {}


def _candidates(name):
    variable, soname, in_tree = _LIBRARIES[name]
    explicit = os.environ.get(variable)
    if explicit:
        return [explicit]
    found = []
    try:
        from . import _install
        found.append(os.path.join(_install.LIBDIR, soname))
    except ImportError:
        pass
    root = pathlib.Path(__file__).resolve().parents[3]
    if (root / "include" / "gmd.h").exists() and (root / "build" / in_tree).exists():
        found.append(str(root / "build" / in_tree))
    return found + [soname]


def _load(name):
    errors = []
    for candidate in _candidates(name):
        try:
            # errno tells why an open export failed.
            return ctypes.CDLL(candidate, use_errno=True)
        except OSError as error:
            errors.append(str(error))
    raise GmdError("cannot load lib%s (set %s to its path): %s"
                   % (name, _LIBRARIES[name][0], "; ".join(errors)))


# The exports' ctypes signatures, from the generated table of tags.
_SIGNATURES = {name: (_TAGS[result], [_TAGS[tag] for tag in arguments])
               for name, (result, arguments) in PROTOTYPES.items()}


def _typed(name, prototypes):
    """lib<name> loaded once, each function of `prototypes` given its ctypes
    signature. A function an older library lacks is left untyped: calling it
    then fails where it is called."""
    lib = _loaded.get(name)
    if lib is None:
        lib = _load(name)
        for function_name, (result, arguments) in prototypes.items():
            function = getattr(lib, function_name, None)
            if function is not None:
                function.restype = result
                function.argtypes = arguments
        _loaded[name] = lib
    return lib


def library():
    """libgmd with every export typed; loaded on first use."""
    return _typed("gmd", _SIGNATURES)


def kit():
    """libgmdkit with its C interface typed; loaded on first use, after libgmd."""
    library()
    return _typed("gmdkit", KIT_PROTOTYPES)
