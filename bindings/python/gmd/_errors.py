"""The exceptions of the package.

Everything the package raises on purpose is a GmdError. Files that cannot be
opened also raise an OSError (FileNotFoundError, IsADirectoryError,
PermissionError, ... by errno), values a record cannot hold also raise a
ValueError, so callers can catch them in the idiom they already use.
"""
import errno as _errno
import os
from typing import Optional


class GmdError(Exception):
    """A call that libgmd or gmdkit refused, or a use of this package it cannot serve."""


class GmdValueError(GmdError, ValueError):
    """A value the GMD format cannot hold, refused when a record or mesh is built."""


class GmdOpenError(GmdError, OSError):
    """A file that could not be opened (or read or written) at all; errno,
    strerror and filename are set as for any OSError."""

    action = "open {} for reading"

    def __str__(self):
        return "cannot %s: %s" % (self.action.format(self.filename), self.strerror)


class DamagedFileError(GmdError):
    """Reading reached a damaged frame: the file does not end cleanly there.

    filename: the file; offset: byte offset of the first unreadable frame;
    reason: what is wrong with it, in words; records_read: good records before
    it (so last_good_record is records_read - 1, -1 when there is none);
    stop: "truncated", "short_length", "trailer", "not_gmd" or "changed"."""

    def __init__(self, filename, offset: Optional[int], reason: str, records_read: int, stop: str):
        self.filename = filename
        self.offset = offset
        self.reason = reason
        self.records_read = records_read
        self.last_good_record = records_read - 1
        self.stop = stop
        super().__init__("%s: %s" % (filename, reason))


class NotGmdFileError(DamagedFileError):
    """The file is not a GMD file at all (its first frame is implausible)."""


# Open failures by errno, each also the matching OSError subclass, so that
# `except FileNotFoundError` catches a missing file.
class GmdFileNotFoundError(GmdOpenError, FileNotFoundError):
    """The file (or a folder on its path) does not exist."""


class GmdIsADirectoryError(GmdOpenError, IsADirectoryError):
    """The path names a folder."""


class GmdNotADirectoryError(GmdOpenError, NotADirectoryError):
    """A part of the path that should be a folder is a file."""


class GmdPermissionError(GmdOpenError, PermissionError):
    """The file may not be read or written by this user."""


_BY_ERRNO = {_errno.ENOENT: GmdFileNotFoundError, _errno.EISDIR: GmdIsADirectoryError,
             _errno.ENOTDIR: GmdNotADirectoryError, _errno.EACCES: GmdPermissionError,
             _errno.EPERM: GmdPermissionError}


def open_error(code: int, filename, action: str) -> GmdOpenError:
    """The exception for a file on which `action` ("open {} for writing",
    "read {}", ...) failed with errno `code`; 0 (the call gave none) becomes
    EIO, a folder EISDIR."""
    filename = os.fspath(filename)
    if not code:
        code = _errno.EISDIR if os.path.isdir(filename) else _errno.EIO
    error = _BY_ERRNO.get(code, GmdOpenError)(code, os.strerror(code), filename)
    error.action = action
    return error
