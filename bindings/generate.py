#!/usr/bin/python3
"""Generates the per-function binding tables from include/gmd.h.

Every export of the header is one line `GMD_API <result> <name>(<params>);`
preceded by its one-line `/** ... */` contract.  From those lines this script
writes

  bindings/fortran/gmd_c_api.f90        interface blocks of module gmd_c_api
  bindings/fortran/gmd_text.inc         module gmd's wrappers of the text functions
  bindings/python/gmd/_prototypes.py    ctypes signatures for the Python package

and from the codes of kit/include/gmdkit.h

  bindings/fortran/gmdkit_codes.inc     the GMDK_ status, stop and option codes

All of them are checked in.  `generate.py --check` exits 1 when either differs
from what the header gives now, which is what the test suite runs.
"""
import argparse
import pathlib
import re
import sys
import textwrap

ROOT = pathlib.Path(__file__).resolve().parent.parent
HEADER = ROOT / "include" / "gmd.h"
KIT_HEADER = ROOT / "kit" / "include" / "gmdkit.h"
FORTRAN_OUT = ROOT / "bindings" / "fortran" / "gmd_c_api.f90"
FORTRAN_TEXT_OUT = ROOT / "bindings" / "fortran" / "gmd_text.inc"
FORTRAN_KIT_OUT = ROOT / "bindings" / "fortran" / "gmdkit_codes.inc"
PYTHON_OUT = ROOT / "bindings" / "python" / "gmd" / "_prototypes.py"

# Pointer parameters named like this point to arrays; every other `T *x`
# points to one value.
ARRAY_NAMES = {"groups", "values", "points", "knots", "dimensions", "adjacent", "thickness"}
# Dummy names that would read badly or clash in Fortran.
FORTRAN_RENAME = {"type": "type_text"}

DECL = re.compile(r"^GMD_API\s+(?P<result>.+?)\s*\b(?P<name>GMD_\w+)\((?P<params>[^)]*)\);\s*$")
DOC = re.compile(r"^/\*\*\s*(?P<text>.*?)\s*\*/\s*$")
PARAM = re.compile(
    r"^(?P<const>const\s+)?(?P<type>GMD_File|GMD_NurbsData|int32_t|uint32_t|float|char)\s*"
    r"(?P<ptr>\*)?\s*(?P<name>\w+)(?:\[(?P<dim>\d+)\])?$")
DEFINE = re.compile(r"^#define\s+(GMD_RECORD_\w+)\s+(\d+)")
KIT_DEFINE = re.compile(r"^#define\s+(GMDK_\w+)\s+(\d+)\b")


class Param:
    def __init__(self, text):
        m = PARAM.match(text.strip())
        if not m:
            raise ValueError("unsupported parameter: " + text)
        self.const = bool(m["const"])
        self.ctype = m["type"]
        self.pointer = bool(m["ptr"])
        self.name = m["name"]
        self.dim = int(m["dim"]) if m["dim"] else None
        if self.ctype == "GMD_File" and not self.pointer:
            raise ValueError("handle passed by value: " + text)

    @property
    def kind(self):
        """One of: handle, scalar, out_scalar, array, cstring, buffer, nurbs."""
        if self.ctype == "GMD_File":
            return "handle"
        if self.ctype == "GMD_NurbsData":
            return "nurbs"
        if self.ctype == "char":
            return "cstring" if self.const else "buffer"
        if self.dim is not None or (self.pointer and self.name in ARRAY_NAMES):
            return "array"
        return "out_scalar" if self.pointer else "scalar"


class Function:
    def __init__(self, name, result, params, doc):
        self.name = name
        self.result = result.replace(" ", "")
        self.params = params
        self.doc = doc
        if self.result not in ("int32_t", "GMD_File*"):
            raise ValueError("unsupported result type of " + name + ": " + result)


def parse(header_text):
    functions, constants, doc = [], [], ""
    for line in header_text.splitlines():
        d = DOC.match(line)
        if d:
            doc = d["text"]
            continue
        c = DEFINE.match(line)
        if c:
            constants.append((c.group(1), int(c.group(2))))
            continue
        m = DECL.match(line)
        if m:
            params = [Param(p) for p in m["params"].split(",")]
            functions.append(Function(m["name"], m["result"], params, doc))
            doc = ""
        elif line.startswith("GMD_API"):
            raise ValueError("declaration not on one line: " + line)
    return functions, constants


# ----- Fortran ---------------------------------------------------------------

F_SCALAR = {"int32_t": "integer(c_int32_t)", "uint32_t": "integer(c_int32_t)", "float": "real(c_float)"}


def fortran_decl(p):
    name = FORTRAN_RENAME.get(p.name, p.name)
    intent = "intent(in)" if p.const else "intent(out)"
    kind = p.kind
    if kind == "handle":
        return "type(c_ptr), value :: " + name
    if kind == "scalar":
        return F_SCALAR[p.ctype] + ", value :: " + name
    if kind == "out_scalar":
        return F_SCALAR[p.ctype] + ", intent(out) :: " + name
    if kind == "array":
        return "%s, %s :: %s(%s)" % (F_SCALAR[p.ctype], intent, name, p.dim or "*")
    if kind == "cstring":
        return "character(kind=c_char), intent(in) :: " + name + "(*)"
    if kind == "buffer":
        return "character(kind=c_char), intent(out) :: " + name + "(*)"
    return "type(gmd_nurbs_data_c), intent(in) :: " + name


def fortran_doc(text, indent):
    """A doc comment over as many lines as it takes."""
    return [indent + ("!> " if i == 0 else "!! ") + line for i, line in enumerate(textwrap.wrap(text, 92))]


def fortran_wrap(text, indent, width=100):
    """Splits a free-form statement with & continuations."""
    out, line = [], indent
    for word in text.split(" "):
        if len(line) + len(word) + 1 > width and line.strip():
            out.append(line + " &")
            line = indent + "    "
        line += ("" if line.endswith(" ") or line == indent else " ") + word
    out.append(line)
    return "\n".join(out)


def fortran(functions, constants):
    lines = [
        "! Generated by bindings/generate.py from include/gmd.h; do not edit.",
        "! One interface per export of libgmd, named as in C. uint32_t indices are",
        "! passed as integer(c_int32_t) (the bits are the same); output names are",
        "! NUL-terminated character arrays; module gmd adds Fortran-friendly wrappers.",
        "module gmd_c_api",
        "  use, intrinsic :: iso_c_binding, only: c_ptr, c_int32_t, c_float, c_char",
        "  implicit none",
        "  private :: c_ptr, c_int32_t, c_float, c_char",
        "",
        "  !> The caller-owned arrays of one NURBS surface (GMD_NurbsData).",
        "  type, bind(C) :: gmd_nurbs_data_c",
        "    type(c_ptr) :: u_knots, v_knots, control_points, weights, boundary_dimensions, boundary_points",
        "  end type gmd_nurbs_data_c",
        "",
    ]
    for name, value in constants:
        lines.append("  integer(c_int32_t), parameter :: %s = %d" % (name, value))
    lines += ["", "  interface"]
    for f in functions:
        args = ", ".join(FORTRAN_RENAME.get(p.name, p.name) for p in f.params)
        lines += fortran_doc(f.doc, "    ")
        if f.result == "GMD_File*":
            lines.append(fortran_wrap('function %s(%s) bind(C, name="%s")' % (f.name, args, f.name), "    "))
        else:
            lines.append(fortran_wrap(
                'function %s(%s) bind(C, name="%s") result(status)' % (f.name, args, f.name), "    "))
        lines.append("      import :: c_ptr, c_int32_t, c_float, c_char, gmd_nurbs_data_c")
        lines.append("      implicit none")
        for p in f.params:
            lines.append("      " + fortran_decl(p))
        if f.result == "GMD_File*":
            lines.append("      type(c_ptr) :: " + f.name)
        else:
            lines.append("      integer(c_int32_t) :: status")
        lines.append("    end function " + f.name)
    lines += ["  end interface", "end module gmd_c_api", ""]
    return "\n".join(lines)


def snake(name):
    """GMD_SetHingeName -> gmd_set_hinge_name."""
    words = re.findall(r"[A-Z]+(?![a-z])|[A-Z][a-z0-9]*|[a-z0-9]+", name[len("GMD_"):])
    return "gmd_" + "_".join(word.lower() for word in words)


def fortran_text(functions):
    """Wrappers taking and giving Fortran strings for every export whose only
    argument besides the handle is a C string: open (path, without its
    trailing blanks), set (text) and get (text, optional capacity)."""
    lines = ["! Generated by bindings/generate.py from include/gmd.h; do not edit.",
             "! Included by module gmd: Fortran-string wrappers of the text functions.", ""]
    for f in functions:
        kinds = [p.kind for p in f.params]
        name = snake(f.name)
        if kinds == ["cstring"]:
            body = fortran_doc(f.doc, "  ") + [
                    "  type(c_ptr) function %s(path)" % name,
                    "    character(*), intent(in) :: path",
                    "    %s = %s(c_path(path))" % (name, f.name)]
        elif kinds == ["handle", "cstring"]:
            body = fortran_doc(f.doc, "  ") + [
                    "  integer(c_int32_t) function %s(handle, text)" % name,
                    "    type(c_ptr), intent(in) :: handle",
                    "    character(*), intent(in) :: text",
                    "    %s = set_text(%s, handle, text)" % (name, f.name)]
        elif kinds == ["handle", "buffer"]:
            body = fortran_doc(f.doc + " Trailing spaces are removed.", "  ") + [
                    "  integer(c_int32_t) function %s(handle, text, capacity)" % name,
                    "    type(c_ptr), intent(in) :: handle",
                    "    character(:), allocatable, intent(out) :: text",
                    "    integer, intent(in), optional :: capacity",
                    "    %s = get_text(%s, handle, text, capacity)" % (name, f.name)]
        else:
            continue
        lines += body + ["  end function " + name, ""]
    return "\n".join(lines)


def fortran_kit_codes(kit_header_text):
    """The integer codes of gmdkit.h as named constants of module gmdkit_c_api."""
    lines = ["! Generated by bindings/generate.py from kit/include/gmdkit.h; do not edit.",
             "! Included by module gmdkit_c_api: the status, stop and option codes.", ""]
    for line in kit_header_text.splitlines():
        m = KIT_DEFINE.match(line)
        if m:
            lines.append("  integer(c_int), parameter :: %s = %s" % (m.group(1), m.group(2)))
    return "\n".join(lines + [""])


# ----- Python ----------------------------------------------------------------

PY_TAG = {
    ("handle", None): "handle",
    ("scalar", "int32_t"): "i32", ("scalar", "uint32_t"): "u32", ("scalar", "float"): "f32",
    ("out_scalar", "int32_t"): "i32*", ("out_scalar", "float"): "f32*",
    ("array", "int32_t"): "i32*", ("array", "float"): "f32*",
    ("cstring", None): "cstr", ("buffer", None): "buf", ("nurbs", None): "nurbs*",
}


def py_tag(p):
    key = (p.kind, None if p.kind in ("handle", "cstring", "buffer", "nurbs") else p.ctype)
    return PY_TAG[key]


def python(functions, constants):
    lines = [
        '"""ctypes signatures of every export of libgmd.',
        "",
        "Generated by bindings/generate.py from include/gmd.h; do not edit.",
        "Each entry: name -> (result tag, argument tags); _library.py maps tags to ctypes.",
        '"""',
        "",
    ]
    for name, value in constants:
        lines.append("%s = %d" % (name[len("GMD_"):], value))
    lines += ["", "PROTOTYPES = {"]
    for f in functions:
        result = "handle" if f.result == "GMD_File*" else "i32"
        tags = ", ".join('"%s"' % py_tag(p) for p in f.params)
        lines.append('    "%s": ("%s", (%s,)),' % (f.name, result, tags))
    lines += ["}", ""]
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--check", action="store_true", help="fail if a generated file is out of date")
    ap.add_argument("--header", type=pathlib.Path, default=HEADER)
    args = ap.parse_args()
    functions, constants = parse(args.header.read_text())
    outputs = {FORTRAN_OUT: fortran(functions, constants), FORTRAN_TEXT_OUT: fortran_text(functions),
               FORTRAN_KIT_OUT: fortran_kit_codes(KIT_HEADER.read_text()),
               PYTHON_OUT: python(functions, constants)}
    stale = [path for path, text in outputs.items()
             if not path.exists() or path.read_text() != text]
    if args.check:
        for path in stale:
            print("%s is out of date with %s: run bindings/generate.py" % (path.relative_to(ROOT), args.header.name))
        print("%d exports; %s" % (len(functions), "generated files out of date" if stale else "generated files up to date"))
        return 1 if stale else 0
    for path in stale:
        path.write_text(outputs[path])
        print("wrote", path.relative_to(ROOT))
    return 0


if __name__ == "__main__":
    sys.exit(main())
