"""Reading and writing GMD files record by record."""
import ctypes
import os
from typing import Iterator

from . import _handle as H
from . import _kit
from ._errors import DamagedFileError, GmdError, NotGmdFileError
from ._library import kit
from ._prototypes import RECORD_ATTRIBUTED_QUAD, RECORD_ATTRIBUTED_TRIANGLE
from .records import KINDS, InvalidRecord, Record, UnknownRecord

ON_DAMAGE = ("raise", "stop")


def scan(path, on_damage: str = "raise"):
    """Scans the frames of the file at `path`. Returns the gmdkit report and
    the DamagedFileError describing where the file stops (None at a clean
    end). Raises GmdOpenError when the file cannot be read."""
    if on_damage not in ON_DAMAGE:
        raise ValueError("on_damage must be one of %s, not %r" % (", ".join(ON_DAMAGE), on_damage))
    lib = kit()
    report = _kit.Report()
    status = lib.gmdk_scan_file(os.fsencode(path), ctypes.byref(report))
    if status in (_kit.STATUS_DAMAGED, _kit.STATUS_NOT_GMD):
        return report, _kit.damage(lib, path, report, status)
    if status:
        raise _kit.error(lib, status, report, path, "open {} for reading")
    return report, None


class _File:
    """Closes its handle at close(), at the end of a with block, or when it
    is collected."""
    _handle = None

    def close(self) -> None:
        if self._handle is not None and not self._handle.close():
            raise GmdError("%s: closing the file failed: its last records may be lost" % self._handle.path)

    @property
    def closed(self) -> bool:
        return self._handle is None or self._handle.ptr is None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Reader(_File):
    """Iterates over the records of a GMD file, in file order, as record
    objects. The file is scanned when it is opened, so len() is the number
    of good records and `damage` tells whether the file ends cleanly.

    At a damaged file, iteration raises DamagedFileError when it reaches the
    damage (on_damage="raise") or just ends there, after the last good record
    (on_damage="stop"). A file that is not GMD at all raises NotGmdFileError
    either way. The file is closed when iteration ends."""

    def __init__(self, path, on_damage: str = "raise"):
        self._report, self.damage = scan(path, on_damage)
        self._raise = on_damage == "raise" or isinstance(self.damage, NotGmdFileError)
        self._read = 0
        self._handle = H.Handle("GMD_OpenReadFile", path, "reading")

    def __len__(self) -> int:
        return int(self._report.frames)

    def __iter__(self) -> Iterator[Record]:
        return self

    def __next__(self) -> Record:
        h = self._handle
        if h.ptr is None:
            raise StopIteration
        if self._read == self._report.frames:
            self.close()
            if self.damage is not None and self._raise:
                raise self.damage
            raise StopIteration
        if not h.call("GMD_GetRecord"):
            self.close()
            raise DamagedFileError(h.path, None, "record %d could not be read, though the scan at open found "
                                   "%d good records: the file changed" % (self._read, self._report.frames),
                                   self._read, "changed")
        self._read += 1
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
    """Writes record objects to a GMD file, one frame per write(). Every
    record write() accepted is in the file once the writer is closed, also
    when it is closed only by being collected."""

    def __init__(self, path, append=False):
        if append:
            self._handle = H.Handle("GMD_OpenAppendFile", path, "appending")
        else:
            self._handle = H.Handle("GMD_OpenWriteFile", path, "writing")

    def write(self, record: Record) -> None:
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


def open(path, on_damage: str = "raise") -> Reader:  # noqa: A001 - the package's reading entry point
    """Opens a GMD file for reading; iterate over the result for its records.
    on_damage="stop" ends iteration quietly before a damaged frame (not in a
    file that is not GMD at all)."""
    return Reader(path, on_damage)


def create(path) -> Writer:
    """Creates (or truncates) a GMD file and returns a Writer for it."""
    return Writer(path)


def append(path) -> Writer:
    """Opens (or creates) a GMD file to add records at its end; returns a Writer."""
    return Writer(path, append=True)
