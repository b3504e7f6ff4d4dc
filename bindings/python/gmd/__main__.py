"""python3 -m gmd convert IN OUT: converts between GMD and the mesh formats
of meshio (VTU, Gmsh, STL, OBJ, ...), either way."""
import argparse
import os
import sys
import warnings

import numpy as np


def convert(args) -> int:
    try:
        import meshio
    except ImportError:
        print("python3 -m gmd convert needs meshio (Debian: python3-meshio)", file=sys.stderr)
        return 2
    from ._errors import GmdError
    try:
        mesh = meshio.read(args.input, file_format=args.input_format)
    except (GmdError, OSError, ValueError, meshio.ReadError) as error:
        return _fail(args.input, "read", error)
    extension = os.path.splitext(args.output)[1].lstrip(".")
    to_gmd = (args.output_format or extension) == "gmd"
    output_format = args.output_format
    if extension == "msh" and not output_format:
        # meshio writes Gmsh 4.1 only with its entities and one cell kind;
        # Gmsh 2.2 carries several kinds and their physical groups.
        output_format = "gmsh22"
    options = {}
    if to_gmd:
        options["radius"] = args.radius
    elif output_format and output_format.startswith("gmsh"):
        _to_gmsh(mesh)
    existed = os.path.exists(args.output)
    try:
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            meshio.write(args.output, mesh, file_format=output_format, **options)
        for warning in caught:
            print("gmd convert: %s" % warning.message, file=sys.stderr)
    except (GmdError, OSError, ValueError, meshio.ReadError, meshio.WriteError) as error:
        if not existed and os.path.isfile(args.output):
            os.remove(args.output)  # no partial output
        return _fail(args.output, "write", error)
    return 0


def _to_gmsh(mesh):
    """Groups become physical (and geometrical) tags; volume pairs get a third
    column, since Gmsh data fields have 1, 3 or 9 components."""
    if "gmd:group" in mesh.cell_data and "gmsh:physical" not in mesh.cell_data:
        mesh.cell_data["gmsh:physical"] = mesh.cell_data["gmd:group"]
        mesh.cell_data["gmsh:geometrical"] = mesh.cell_data["gmd:group"]
    if "gmd:volume" in mesh.cell_data:
        mesh.cell_data["gmd:volume"] = [np.pad(v, ((0, 0), (0, 1))) for v in mesh.cell_data["gmd:volume"]]


def _fail(path, verb, error) -> int:
    """Says what failed, naming the file once (gmd's own errors name it)."""
    text = str(error)
    if path not in text:
        text = "cannot %s %s: %s" % (verb, path, text)
    print("gmd convert: %s" % text, file=sys.stderr)
    return 1


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(prog="python3 -m gmd", description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    convert_parser = commands.add_parser(
        "convert", help="convert a mesh between GMD and another format meshio reads or writes",
        description="Converts IN to OUT, each format taken from its extension unless given. Line, "
                    "triangle and quad cells become GMD segments, triangles and quads; Gmsh physical "
                    "groups become GMD groups, and GMD groups become Gmsh physical groups.")
    convert_parser.add_argument("input", metavar="IN")
    convert_parser.add_argument("output", metavar="OUT")
    convert_parser.add_argument("--radius", type=float,
                                help="wire radius of every segment written to GMD (default: the input's "
                                     "gmd:radius cell data, else 0)")
    convert_parser.add_argument("--input-format", help="meshio's name of the input format")
    convert_parser.add_argument("--output-format", help="meshio's name of the output format")
    args = parser.parse_args(argv)
    return convert(args)


if __name__ == "__main__":
    sys.exit(main())
