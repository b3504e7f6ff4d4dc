"""One class per kind of GMD record.

Coordinates and other real values are float32 numpy arrays (a point is an
array of 3, a list of points an array of shape (n, 3)); scalars are Python
floats holding float32 values, so a record read back compares equal to the
record written. Every record carries its group byte (`group`); most also
carry the second header byte (`group2`), except where the format gives that
byte a fixed meaning (junctions, junction group names, hinges, polygons with
attributes).
"""
import ctypes
import dataclasses
from dataclasses import dataclass, field
from typing import ClassVar, Optional

import numpy as np

from . import _handle as H
from ._errors import GmdError, GmdValueError
from ._library import NurbsData
from ._prototypes import (RECORD_ATTRIBUTED_QUAD, RECORD_ATTRIBUTED_TRIANGLE, RECORD_QUAD,
                          RECORD_TRIANGLE, RECORD_VOLUME_QUAD, RECORD_VOLUME_TRIANGLE)


def _f32(value, what):
    try:
        return float(np.float32(value))
    except (TypeError, ValueError):
        raise GmdValueError("%s must be a number, not %r" % (what, value)) from None


def _i32(value, what):
    if isinstance(value, (bool, float)) or not isinstance(value, (int, np.integer)):
        raise GmdValueError("%s must be an integer, not %r" % (what, value))
    if not -2**31 <= int(value) < 2**31:
        raise GmdValueError("%s does not fit 32 bits: %d" % (what, value))
    return int(value)


def _header_byte(value, what):
    # -128 fits the byte but is refused by libgmd's setters, so no record
    # built here carries it (one read from a file may).
    value = _i32(value, what)
    if not -127 <= value <= 127:
        raise GmdValueError("%s must be -127 to 127, not %d" % (what, value))
    return value


def _same(a, b):
    if isinstance(a, np.ndarray) or isinstance(b, np.ndarray):
        if a is None or b is None:
            return False
        a, b = np.asarray(a), np.asarray(b)
        return a.shape == b.shape and a.dtype.kind == b.dtype.kind and np.array_equal(a, b)
    return a == b


@dataclass(eq=False)
class Record:
    """Base of every record class.

    group: the record's group byte, -127 to 127 (which element group it
    belongs to); group2: the second header byte, -127 to 127, free for most
    records. Both are checked when the record is built. Lengths are in the
    model's unit: the file carries none."""
    group: int = field(default=0, kw_only=True)
    group2: int = field(default=0, kw_only=True)

    # Normalisation of fields: name -> shape of a float32 array, "f" for a
    # float, "i" for an int, "i[]" for an int32 array, "f[]" for a float32
    # array, "v3" for a point, "s" for a name; a leading "?" allows None.
    _fields: ClassVar[dict] = {}
    _codes: ClassVar[tuple] = ()
    _claims_group2: ClassVar[bool] = False

    def __post_init__(self):
        what = type(self).__name__
        self.group = _header_byte(self.group, what + ".group")
        self.group2 = _header_byte(self.group2, what + ".group2")
        if self._claims_group2 and self.group2:
            raise GmdValueError("%s cannot carry group2: the format fixes that header byte" % what)
        for name, kind in self._fields.items():
            value = getattr(self, name)
            label = "%s.%s" % (what, name)
            optional = isinstance(kind, str) and kind.startswith("?")
            kind = kind[1:] if optional else kind
            if value is None:
                if not optional:
                    raise GmdValueError("%s is required" % label)
            elif kind == "f":
                value = _f32(value, label)
            elif kind == "i":
                value = _i32(value, label)
            elif kind == "i[]":
                value = H.int_array(value, label)
            elif kind == "s":
                value = _name(value, label)
            elif kind == "v3":
                value = H.float_array(value, label, (3,))
            elif kind == "f[]":
                value = H.float_array(value, label)
                if value.ndim != 1:
                    raise GmdValueError("%s must be a list of numbers" % label)
            else:
                value = H.float_array(value, label, kind)
            setattr(self, name, value)

    def __eq__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        return all(_same(getattr(self, f.name), getattr(other, f.name))
                   for f in dataclasses.fields(self) if f.compare)

    def _write(self, h):
        raise GmdError("%s records cannot be written" % type(self).__name__)


def _name(value, what):
    if not isinstance(value, str):
        raise GmdValueError("%s must be a str, not %r" % (what, value))
    if "\0" in value:
        raise GmdValueError("%s must not hold a NUL character" % what)
    if value.endswith(" "):
        raise GmdValueError("%s must not end in a space: names are padded with spaces on file" % what)
    return value


def _encode(text):
    return text.encode("utf-8", "surrogateescape")


# ----- plain float records: one full setter and one getter -------------------

@dataclass(eq=False)
class _FloatRecord(Record):
    """A record whose words are the fields in order, set and read in one call.
    Subclasses name their setter and getter and may add derived fields that
    only reading fills (getter name and count)."""
    _setter: ClassVar[str] = ""
    _getter: ClassVar[str] = ""
    _derived: ClassVar[dict] = {}

    def _layout(self):
        return [(name, shape) for name, shape in self._fields.items()]

    def _write(self, h):
        values = np.concatenate([np.atleast_1d(np.float32(getattr(self, name)))
                                 for name, _ in self._layout()])
        h.do(self._setter, H.fptr(values), what="the %s" % type(self).__name__)

    @classmethod
    def _read(cls, h, code):
        sizes = [(name, 1 if shape == "f" else int(np.prod(shape))) for name, shape in cls._fields.items()]
        values = h.floats(cls._getter, sum(n for _, n in sizes))
        if values is None:
            return None
        kwargs, at = {}, 0
        for name, n in sizes:
            kwargs[name] = float(values[at]) if cls._fields[name] == "f" else values[at:at + n].reshape(cls._fields[name])
            at += n
        record = cls(**kwargs)
        for name, (getter, count) in cls._derived.items():
            setattr(record, name, h.float_value(getter) if count == 1 else h.floats(getter, count))
        return record


@dataclass(eq=False)
class Sphere(_FloatRecord):
    """A sphere ('S'): center (3,) and radius."""
    center: np.ndarray
    radius: float
    _fields = {"center": (3,), "radius": "f"}
    _codes = (ord("S"),)
    _setter, _getter = "GMD_SetSphere", "GMD_GetSphere"


@dataclass(eq=False)
class Scatterer(_FloatRecord):
    """A scatterer ('R'): a sphere with two radii, center (3,), radius (the
    body) and em_radius (its electromagnetic radius)."""
    center: np.ndarray
    radius: float
    em_radius: float
    _fields = {"center": (3,), "radius": "f", "em_radius": "f"}
    _codes = (ord("R"),)
    _setter, _getter = "GMD_SetScatter", "GMD_GetScatter"


@dataclass(eq=False)
class Disk(_FloatRecord):
    """A disk ('D'): center (3,), normal (3,), stored as given (not made
    unit length), and radius."""
    center: np.ndarray
    normal: np.ndarray
    radius: float
    _fields = {"center": (3,), "normal": (3,), "radius": "f"}
    _codes = (ord("D"),)
    _setter, _getter = "GMD_SetDisk", "GMD_GetDisk"


@dataclass(eq=False)
class CircularCylinder(_FloatRecord):
    """A circular cylinder ('C'): the centres of its lower and upper ends
    (3,) and its radius. Reading also gives height, the distance between
    the end centres."""
    lower_center: np.ndarray
    upper_center: np.ndarray
    radius: float
    height: Optional[float] = field(default=None, compare=False)
    _fields = {"lower_center": (3,), "upper_center": (3,), "radius": "f"}
    _codes = (ord("C"),)
    _setter, _getter = "GMD_SetCircularCylinder", "GMD_GetCircularCylinder"
    _derived = {"height": ("GMD_GetCylinderHeight", 1)}


@dataclass(eq=False)
class EllipticalCylinder(_FloatRecord):
    """A cylinder of elliptical cross-section ('E') between two end centres.

    lower_center, upper_center (3,): the ends on its axis; x_direction (3,):
    the direction of the X semi-axis; x_semi_axis, y_semi_axis: the ellipse;
    lower_tilt_angle, upper_tilt_angle: the tilt of each end, carried as
    given (the record fixes no unit). Reading also gives center, height and
    the y_direction and z_direction the library derives (Z along the axis,
    Y = Z x X)."""
    lower_center: np.ndarray
    upper_center: np.ndarray
    x_direction: np.ndarray
    x_semi_axis: float
    y_semi_axis: float
    lower_tilt_angle: float
    upper_tilt_angle: float
    center: Optional[np.ndarray] = field(default=None, compare=False)
    height: Optional[float] = field(default=None, compare=False)
    y_direction: Optional[np.ndarray] = field(default=None, compare=False)
    z_direction: Optional[np.ndarray] = field(default=None, compare=False)
    _fields = {"lower_center": (3,), "upper_center": (3,), "x_direction": (3,), "x_semi_axis": "f",
               "y_semi_axis": "f", "lower_tilt_angle": "f", "upper_tilt_angle": "f"}
    _codes = (ord("E"),)
    _setter, _getter = "GMD_SetEllipticalCylinder", "GMD_GetEllipticalCylinder"
    _derived = {"center": ("GMD_GetEllipticalCylinderCenter", 3),
                "height": ("GMD_GetEllipticalCylinderHeight", 1),
                "y_direction": ("GMD_GetEllipticalCylinderYdirection", 3),
                "z_direction": ("GMD_GetEllipticalCylinderZdirection", 3)}


@dataclass(eq=False)
class Cone(_FloatRecord):
    """A truncated cone of elliptical cross-section ('F') between two end centres.

    lower_center, upper_center (3,): the ends on its axis; x_direction (3,):
    the direction of the X semi-axes; lower_/upper_x_semi_axis and
    lower_/upper_y_semi_axis: the ellipse at each end; lower_tilt_angle,
    upper_tilt_angle: the tilt of each end, carried as given. Reading also
    gives height and the y_direction and z_direction the library derives."""
    lower_center: np.ndarray
    upper_center: np.ndarray
    x_direction: np.ndarray
    lower_x_semi_axis: float
    lower_y_semi_axis: float
    upper_x_semi_axis: float
    upper_y_semi_axis: float
    lower_tilt_angle: float
    upper_tilt_angle: float
    height: Optional[float] = field(default=None, compare=False)
    y_direction: Optional[np.ndarray] = field(default=None, compare=False)
    z_direction: Optional[np.ndarray] = field(default=None, compare=False)
    _fields = {"lower_center": (3,), "upper_center": (3,), "x_direction": (3,),
               "lower_x_semi_axis": "f", "lower_y_semi_axis": "f", "upper_x_semi_axis": "f",
               "upper_y_semi_axis": "f", "lower_tilt_angle": "f", "upper_tilt_angle": "f"}
    _codes = (ord("F"),)
    _setter, _getter = "GMD_SetCone", "GMD_GetCone"
    _derived = {"height": ("GMD_GetConeHeight", 1),
                "y_direction": ("GMD_GetConeYdirection", 3),
                "z_direction": ("GMD_GetConeZdirection", 3)}


@dataclass(eq=False)
class Junction(_FloatRecord):
    """A junction ('O'): first_vertex and second_vertex (3,) and a normal
    (3,). The format fixes its second header byte, so group2 must be 0."""
    first_vertex: np.ndarray
    second_vertex: np.ndarray
    normal: np.ndarray
    _fields = {"first_vertex": (3,), "second_vertex": (3,), "normal": (3,)}
    _codes = (ord("O"),)
    _claims_group2 = True
    _setter, _getter = "GMD_SetJunction", "GMD_GetJunction"


@dataclass(eq=False)
class Wedge(_FloatRecord):
    """A straight edge where two faces meet ('W', or 'w' with the adjacent
    polygons): first_vertex, second_vertex (3,), the normals of the faces on
    its left and right (3,), and optionally left_polygon and right_polygon,
    the numbers of those faces (when either is given the other is 0)."""
    first_vertex: np.ndarray
    second_vertex: np.ndarray
    left_normal: np.ndarray
    right_normal: np.ndarray
    left_polygon: Optional[int] = None
    right_polygon: Optional[int] = None
    _fields = {"first_vertex": (3,), "second_vertex": (3,), "left_normal": (3,), "right_normal": (3,),
               "left_polygon": "?i", "right_polygon": "?i"}
    _codes = (ord("W"), ord("w"))
    _setter, _getter = "GMD_SetWedge", "GMD_GetWedge"

    def __post_init__(self):
        if (self.left_polygon is None) != (self.right_polygon is None):
            self.left_polygon = self.left_polygon or 0
            self.right_polygon = self.right_polygon or 0
        super().__post_init__()

    def _layout(self):
        return list(self._fields.items())[:4]

    def _write(self, h):
        super()._write(h)
        if self.left_polygon is not None:
            h.do("GMD_SetWedgeLeftAdjacentPolygon", self.left_polygon, what="the left polygon")
            h.do("GMD_SetWedgeRightAdjacentPolygon", self.right_polygon, what="the right polygon")

    @classmethod
    def _read(cls, h, code):
        values = h.floats("GMD_GetWedge", 12)
        if values is None:
            return None
        return cls(*values.reshape(4, 3), left_polygon=h.int_value("GMD_GetEWLeftAdjacentPolygon"),
                   right_polygon=h.int_value("GMD_GetEWRightAdjacentPolygon"))


@dataclass(eq=False)
class Edge(Record):
    """The one-sided form of a wedge ('e'): first_vertex, second_vertex,
    left_normal, right_normal (3,) and polygon, the one adjacent face."""
    first_vertex: np.ndarray
    second_vertex: np.ndarray
    left_normal: np.ndarray
    right_normal: np.ndarray
    polygon: int
    _fields = {"first_vertex": (3,), "second_vertex": (3,), "left_normal": (3,), "right_normal": (3,),
               "polygon": "i"}
    _codes = (ord("e"),)

    def _write(self, h):
        h.do("GMD_SetEdgeAdjacentPolygon", self.polygon, what="the adjacent polygon")
        geometry = np.concatenate([self.first_vertex, self.second_vertex, self.left_normal, self.right_normal])
        h.do("GMD_SetWedge", H.fptr(geometry), what="the edge geometry")

    @classmethod
    def _read(cls, h, code):
        values = h.floats("GMD_GetWedge", 12)
        polygon = h.int_value("GMD_GetEWLeftAdjacentPolygon")
        if values is None or polygon is None:
            return None
        return cls(*values.reshape(4, 3), polygon=polygon)


@dataclass(eq=False)
class Tolerance(Record):
    """The model tolerance ('G'): one number, stored as given (any float32,
    zero and negative ones included)."""
    tolerance: float
    _fields = {"tolerance": "f"}
    _codes = (ord("G"),)

    def _write(self, h):
        h.do("GMD_SetTolerance", self.tolerance, what="the tolerance")

    @classmethod
    def _read(cls, h, code):
        value = h.float_value("GMD_GetTolerance")
        return None if value is None else cls(value)


# ----- mesh elements -----------------------------------------------------------

@dataclass(eq=False)
class Segment(Record):
    """A straight wire between two vertices ('L', or 'l' with a volume).

    vertices: (2, 3); radius: the wire radius, optional; volume: the volume
    number, an optional integer. A segment with a volume number always has a
    radius (0.0 when not given)."""
    vertices: np.ndarray
    radius: Optional[float] = None
    volume: Optional[int] = None
    _fields = {"vertices": (2, 3), "radius": "?f", "volume": "?i"}
    _codes = (ord("L"), ord("l"))

    def __post_init__(self):
        if self.volume is not None and self.radius is None:
            self.radius = 0.0
        super().__post_init__()

    def _write(self, h):
        h.do("GMD_SetSegment", H.fptr(self.vertices), what="the segment vertices")
        if self.volume is not None:
            h.do("GMD_SetSegmentVolume", self.volume, what="the segment volume")
        if self.radius is not None:
            h.do("GMD_SetSegmentRadius", self.radius, what="the segment radius")

    @classmethod
    def _read(cls, h, code):
        vertices = h.floats("GMD_GetSegment", 6)
        if vertices is None:
            return None
        return cls(vertices.reshape(2, 3), h.float_value("GMD_GetSegmentRadius"),
                   h.int_value("GMD_GetSegmentVolume"))


@dataclass(eq=False)
class _Polygon(Record):
    """A triangle or quad of a surface mesh ('P'; 'p' with volumes; 'A' with
    attributes).

    vertices: (3, 3) or (4, 3), in the order given; volumes: two volume
    numbers (the volumes on either side), optional; fss_orientation (3,)
    and thickness (a list of layer thicknesses): the attributes, optional.
    A polygon has volumes or attributes, not both; with attributes its
    second header byte holds their layout, so group2 must be 0."""
    vertices: np.ndarray
    volumes: Optional[np.ndarray] = None
    fss_orientation: Optional[np.ndarray] = None
    thickness: Optional[np.ndarray] = None
    _corners: ClassVar[int] = 0
    _setter: ClassVar[str] = ""
    _getter: ClassVar[str] = ""

    def __post_init__(self):
        super().__post_init__()
        what = type(self).__name__
        if self.volumes is not None and self.volumes.shape != (2,):
            raise GmdValueError("%s.volumes must be two volume numbers" % what)
        attributed = self.fss_orientation is not None or self.thickness is not None
        if attributed and self.volumes is not None:
            raise GmdValueError("%s cannot have both volumes and attributes (FSS orientation, thickness)" % what)
        if attributed and self.group2:
            raise GmdValueError("%s with attributes cannot carry group2: it holds the attribute layout" % what)

    def _write(self, h):
        what = "the %s" % type(self).__name__.lower()
        h.do(self._setter, H.fptr(self.vertices), what=what + " vertices")
        if self.volumes is not None:
            h.do("GMD_SetPolygonVolumes", int(self.volumes[0]), int(self.volumes[1]), what=what + " volumes")
        if self.thickness is not None:
            h.do("GMD_SetPolygonThickness", len(self.thickness), H.fptr(self.thickness),
                 what=what + " thickness list")
        if self.fss_orientation is not None:
            h.do("GMD_SetPolygonFSSorientation", H.fptr(self.fss_orientation), what=what + " FSS orientation")

    @classmethod
    def _read(cls, h, code):
        vertices = h.floats(cls._getter, 3 * cls._corners)
        if vertices is None:
            return None
        attributed = code in (RECORD_ATTRIBUTED_TRIANGLE, RECORD_ATTRIBUTED_QUAD)
        volumes, thickness = None, None
        if code in (RECORD_VOLUME_TRIANGLE, RECORD_VOLUME_QUAD):
            first, second = ctypes.c_int32(), ctypes.c_int32()
            if h.call("GMD_GetPolygonVolumes", ctypes.byref(first), ctypes.byref(second)):
                volumes = [first.value, second.value]
        count = h.int_value("GMD_GetPolygonNumThickness") if attributed else None
        if count is not None and count >= 0:
            thickness = h.floats("GMD_GetPolygonThickness", count)
        return cls(vertices.reshape(cls._corners, 3), volumes=volumes,
                   fss_orientation=h.floats("GMD_GetPolygonFSSorientation", 3) if attributed else None,
                   thickness=thickness, group2=0 if attributed else h.int_value("GMD_GetGroup2"))


@dataclass(eq=False)
class Triangle(_Polygon):
    """A triangle: see the fields of a polygon (vertices has shape (3, 3))."""
    _corners = 3
    _fields = {"vertices": (3, 3), "volumes": "?i[]", "fss_orientation": "?v3", "thickness": "?f[]"}
    _codes = (RECORD_VOLUME_TRIANGLE, RECORD_TRIANGLE, RECORD_ATTRIBUTED_TRIANGLE)
    _setter, _getter = "GMD_SetTriangle", "GMD_GetTriangle"


@dataclass(eq=False)
class Quad(_Polygon):
    """A quad: see the fields of a polygon (vertices has shape (4, 3))."""
    _corners = 4
    _fields = {"vertices": (4, 3), "volumes": "?i[]", "fss_orientation": "?v3", "thickness": "?f[]"}
    _codes = (RECORD_VOLUME_QUAD, RECORD_QUAD, RECORD_ATTRIBUTED_QUAD)
    _setter, _getter = "GMD_SetQuad", "GMD_GetQuad"


@dataclass(eq=False)
class ScatteredVertex(Record):
    """A scattered vertex ('v'): position (3,) and a list of integer
    adjacency entries."""
    position: np.ndarray
    adjacent: np.ndarray = field(default_factory=lambda: np.zeros(0, np.int32))
    _fields = {"position": (3,), "adjacent": "i[]"}
    _codes = (ord("v"),)

    def _write(self, h):
        h.do("GMD_SetScattVertexPosition", H.fptr(self.position), what="the vertex position")
        h.do("GMD_SetScattVertexAdjacent", len(self.adjacent), H.iptr(self.adjacent),
             what="the adjacency list")

    @classmethod
    def _read(cls, h, code):
        count = h.int_value("GMD_GetScattVertexNumAdjacent")
        position = h.floats("GMD_GetScattVertexPosition", 3)
        if count is None or count < 0 or position is None:
            return None
        return cls(position, h.ints("GMD_GetScattVertexAdjacent", count))


@dataclass(eq=False)
class MacroGroup(Record):
    """A macro group ('U'): the element group numbers it gathers and an
    optional name."""
    groups: np.ndarray
    name: Optional[str] = None
    _fields = {"groups": "i[]", "name": "?s"}
    _codes = (ord("U"),)

    def _write(self, h):
        h.do("GMD_SetMacroGroupGroups", len(self.groups), H.iptr(self.groups), what="the group list")
        if self.name is not None:
            h.do("GMD_SetMacroGroupName", _encode(self.name), what="the macro group name")

    @classmethod
    def _read(cls, h, code):
        count = h.int_value("GMD_GetMacroGroupNumGroups")
        if count is None or count < 0:
            return None
        return cls(h.ints("GMD_GetMacroGroupGroups", count), h.text("GMD_GetMacroGroupName"))


# ----- surfaces, hinges and names ----------------------------------------------

@dataclass(eq=False)
class NurbsSurface(Record):
    """A trimmed NURBS surface ('N').

    u_knots, v_knots: the knot vectors; control_points: (nu, nv, 3), u
    along the first axis; weights: (nu, nv); boundary_points: (n, 2)
    parameter points of the trimming curves, boundary_dimensions: the number
    of points of each curve; hole_origin: an integer carried as given."""
    u_knots: np.ndarray
    v_knots: np.ndarray
    control_points: np.ndarray
    weights: np.ndarray
    boundary_dimensions: np.ndarray = field(default_factory=lambda: np.zeros(0, np.int32))
    boundary_points: np.ndarray = field(default_factory=lambda: np.zeros((0, 2), np.float32))
    hole_origin: int = 0
    _fields = {"u_knots": "f[]", "v_knots": "f[]", "boundary_dimensions": "i[]", "hole_origin": "i"}
    _codes = (ord("N"),)

    def __post_init__(self):
        super().__post_init__()
        what = type(self).__name__
        self.control_points = H.float_array(self.control_points, what + ".control_points")
        if self.control_points.ndim != 3 or self.control_points.shape[2] != 3:
            raise GmdValueError("%s.control_points must have shape (nu, nv, 3)" % what)
        self.weights = H.float_array(self.weights, what + ".weights", self.control_points.shape[:2])
        self.boundary_points = H.float_array(self.boundary_points, what + ".boundary_points")
        if self.boundary_points.ndim != 2 or self.boundary_points.shape[1] != 2:
            raise GmdValueError("%s.boundary_points must have shape (n, 2)" % what)

    def _sizes(self):
        nu, nv, _ = self.control_points.shape
        return np.array([len(self.u_knots), len(self.v_knots), nu, nv, len(self.boundary_dimensions),
                         len(self.boundary_points), self.hole_origin], dtype=np.int32)

    @staticmethod
    def _data(u, v, points, weights, dimensions, boundary):
        return NurbsData(H.fptr(u), H.fptr(v), H.fptr(points), H.fptr(weights), H.iptr(dimensions),
                         H.fptr(boundary))

    def _write(self, h):
        h.do("GMD_SetNurbsSizes", H.iptr(self._sizes()), what="the surface sizes")
        data = self._data(self.u_knots, self.v_knots, self.control_points, self.weights,
                          self.boundary_dimensions, self.boundary_points)
        h.do("GMD_SetNurbsData", ctypes.byref(data), what="the surface data")

    @classmethod
    def _read(cls, h, code):
        sizes = h.ints("GMD_GetNurbsSizes", 7)
        if sizes is None or (sizes[:6] < 0).any():
            return None
        nu_knots, nv_knots, nu, nv, bounds, points, hole = (int(s) for s in sizes)
        arrays = (np.zeros(nu_knots, np.float32), np.zeros(nv_knots, np.float32),
                  np.zeros((nu, nv, 3), np.float32), np.zeros((nu, nv), np.float32),
                  np.zeros(bounds, np.int32), np.zeros((points, 2), np.float32))
        if not h.call("GMD_GetNurbsData", ctypes.byref(cls._data(*arrays))):
            return None
        return cls(*arrays, hole_origin=hole)


@dataclass(eq=False)
class Hinge(Record):
    """A hinge ('H'): a name, a type, hinge points of ten values each (shape
    (n, 10), kept in the order given) and the group numbers it moves. The
    format fixes its second header byte, so group2 must be 0."""
    name: str
    type: str
    points: np.ndarray = field(default_factory=lambda: np.zeros((0, 10), np.float32))
    groups: np.ndarray = field(default_factory=lambda: np.zeros(0, np.int32))
    _fields = {"name": "s", "type": "s", "groups": "i[]"}
    _codes = (ord("H"),)
    _claims_group2 = True

    def __post_init__(self):
        super().__post_init__()
        self.points = H.float_array(self.points, "Hinge.points")
        if self.points.ndim != 2 or self.points.shape[1] != 10:
            raise GmdValueError("Hinge.points must have shape (n, 10)")

    def _write(self, h):
        h.do("GMD_SetHingeName", _encode(self.name), what="the hinge name")
        h.do("GMD_SetHingeType", _encode(self.type), what="the hinge type")
        h.do("GMD_SetHingePointsData", len(self.points), H.fptr(self.points), what="the hinge points")
        h.do("GMD_SetHingeGroups", len(self.groups), H.iptr(self.groups), what="the hinge groups")

    @classmethod
    def _read(cls, h, code):
        values = h.int_value("GMD_GetHingeNumPoints")
        groups = h.int_value("GMD_GetHingeNumGroups")
        if values is None or groups is None or values < 0 or values % 10 or groups < 0:
            return None
        return cls(h.text("GMD_GetHingeName"), h.text("GMD_GetHingeType"),
                   h.floats("GMD_GetHingePointsData", values).reshape(-1, 10),
                   h.ints("GMD_GetHingeGroups", groups))


@dataclass(eq=False)
class _NameRecord(Record):
    """A record that carries only a name: text without NUL characters or
    trailing spaces (names are padded with spaces on file)."""
    name: str
    _fields = {"name": "s"}
    _setter: ClassVar[str] = ""
    _getter: ClassVar[str] = ""

    def _write(self, h):
        h.do(self._setter, _encode(self.name), what="the name")

    @classmethod
    def _read(cls, h, code):
        name = h.text(cls._getter)
        return None if name is None else cls(name)


@dataclass(eq=False)
class GroupMaterialName(_NameRecord):
    """The material name of a group ('M'); the record's group byte says which."""
    _codes = (ord("M"),)
    _setter, _getter = "GMD_SetGroupMaterialName", "GMD_GetMaterialName"


@dataclass(eq=False)
class VolumeMaterialName(_NameRecord):
    """The material name of a volume ('m'); the record carries only the name
    and its header bytes, which volume it names is the writer's convention."""
    _codes = (ord("m"),)
    _setter, _getter = "GMD_SetVolumeMaterialName", "GMD_GetMaterialName"


@dataclass(eq=False)
class JunctionGroupName(_NameRecord):
    """The name of a junction group ('Z'); group2 must be 0 (the format fixes it)."""
    _codes = (ord("Z"),)
    _claims_group2 = True
    _setter, _getter = "GMD_SetJunctionGroupName", "GMD_GetJunctionGroupName"


# ----- what reading can give besides ------------------------------------------

@dataclass(eq=False)
class InvalidRecord(Record):
    """A frame the library read but found invalid for its letter (record type
    code 0); its contents are not available."""


@dataclass(eq=False)
class UnknownRecord(Record):
    """A valid frame with a letter no record class knows; code is the record
    type code (the letter's byte as a signed value)."""
    code: int = 0
    _fields = {"code": "i"}


KINDS = {code: cls for cls in (Sphere, Scatterer, Disk, CircularCylinder, EllipticalCylinder, Cone,
                               Junction, Wedge, Edge, Tolerance, Segment, Triangle, Quad, ScatteredVertex,
                               MacroGroup, NurbsSurface, Hinge, GroupMaterialName, VolumeMaterialName,
                               JunctionGroupName)
         for code in cls._codes}
