"""One open libgmd handle and the typed calls the record classes make on it."""
import ctypes
import os
import weakref

import numpy as np

from ._errors import GmdError, GmdValueError, open_error
from ._library import library

_F32 = ctypes.POINTER(ctypes.c_float)
_I32 = ctypes.POINTER(ctypes.c_int32)


def float_array(values, what, shape=None):
    """values as a C-contiguous float32 array, optionally of a given shape."""
    try:
        array = np.ascontiguousarray(values, dtype=np.float32)
    except (TypeError, ValueError) as error:
        raise GmdValueError("%s must be numbers: %s" % (what, error)) from None
    if shape is not None and array.shape != shape:
        raise GmdValueError("%s must have shape %s, not %s" % (what, shape, array.shape))
    return array


def int_array(values, what, ndim=1):
    try:
        array = np.asarray(values)
        if array.size and not np.issubdtype(array.dtype, np.integer):
            raise TypeError("not integers")
        if array.size and (array.min() < -2**31 or array.max() >= 2**31):
            raise ValueError("outside 32-bit integers")
        array = np.ascontiguousarray(array, dtype=np.int32)
    except (TypeError, ValueError) as error:
        raise GmdValueError("%s must be 32-bit integers: %s" % (what, error)) from None
    if array.ndim != ndim:
        raise GmdValueError("%s must have %d dimension(s), not %d" % (what, ndim, array.ndim))
    return array


def fptr(array):
    return array.ctypes.data_as(_F32)


def iptr(array):
    return array.ctypes.data_as(_I32)


class Handle:
    """A libgmd handle: opened in the constructor, closed by close() or,
    at the latest, when the handle is collected or the interpreter exits.
    Closing flushes what was written, so records committed through a handle
    nobody closed still reach the file."""

    def __init__(self, opener, path, purpose):
        self.lib = library()
        self.path = os.fspath(path)
        ctypes.set_errno(0)
        self.ptr = getattr(self.lib, opener)(os.fsencode(self.path))
        if not self.ptr:
            raise open_error(ctypes.get_errno(), self.path, "open {} for " + purpose)
        self._closer = weakref.finalize(self, self.lib.GMD_CloseFile, self.ptr)

    def close(self):
        """Closes the file; returns False when its last bytes could not be written."""
        if self.ptr:
            self.ptr = None
            return bool(self._closer())
        return True

    def live(self):
        if not self.ptr:
            raise GmdError("%s is already closed" % self.path)
        return self.ptr

    def call(self, name, *args):
        try:
            function = getattr(self.lib, name)
        except AttributeError:
            raise GmdError("the loaded libgmd (%s) lacks %s" % (self.lib._name, name)) from None
        return function(self.live(), *args)

    def do(self, name, *args, what="the record"):
        """Calls a setter; a refusal becomes a GmdError naming the call."""
        if not self.call(name, *args):
            raise GmdError("%s refused %s" % (name, what))

    # Getters: None when the library refuses.
    def floats(self, name, count, *lead):
        out = np.zeros(count, dtype=np.float32)
        return out if self.call(name, *lead, fptr(out)) else None

    def ints(self, name, count, *lead):
        out = np.zeros(count, dtype=np.int32)
        return out if self.call(name, *lead, iptr(out)) else None

    def float_value(self, name, *lead):
        out = ctypes.c_float()
        return float(out.value) if self.call(name, *lead, ctypes.byref(out)) else None

    def int_value(self, name, *lead):
        out = ctypes.c_int32()
        return int(out.value) if self.call(name, *lead, ctypes.byref(out)) else None

    def text(self, name):
        """A name getter's text without its padding spaces. The library gives
        no way to learn a name's length first; a name read from a file is no
        longer than the file, so a buffer of the file's size is enough."""
        try:
            room = os.path.getsize(self.path) + 8
        except OSError:
            room = 1 << 16
        buffer = ctypes.create_string_buffer(room + 1)
        if not self.call(name, buffer):
            return None
        return buffer.value.decode("utf-8", "surrogateescape").rstrip(" ")
