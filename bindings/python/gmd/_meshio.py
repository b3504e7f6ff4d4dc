"""GMD as a format of meshio: "gmd", extension .gmd.

Reading gives shared points, the cell blocks "line", "triangle" and "quad",
and the cell data "gmd:group" (group byte), "gmd:volume" (two volume numbers
per cell, 0 where none) and, when there are segments, "gmd:radius". Writing
takes the corners of line, triangle and quad cells (also of their
higher-order forms), the groups from "gmd:group" or else Gmsh's physical
groups ("gmsh:physical"), volumes from "gmd:volume", and the segment radius
from "gmd:radius" unless radius= is given. Other cells are left out with a
warning.
"""
import warnings

import meshio
import numpy as np

from ._errors import GmdValueError
from ._mesh import KINDS, read_mesh, write_mesh

# meshio cell types whose first nodes are the corners of a GMD cell.
CORNER_KINDS = {"line": "line", "line3": "line", "triangle": "triangle", "triangle6": "triangle",
                "triangle7": "triangle", "quad": "quad", "quad8": "quad", "quad9": "quad"}
GROUP_KEYS = ("gmd:group", "gmsh:physical")


def read(filename) -> meshio.Mesh:
    mesh = read_mesh(filename, merge_points=True)
    blocks, group, volume, radius = [], [], [], []
    for name, cells in mesh.by_kind():
        if len(cells):
            blocks.append((name, cells.corners))
            group.append(cells.group)
            volume.append(cells.volume)
            radius.append(mesh.segment_radius if name == "line" else np.zeros(len(cells), np.float32))
    data = {"gmd:group": group, "gmd:volume": volume}
    if len(mesh.segments):
        data["gmd:radius"] = radius
    return meshio.Mesh(mesh.points, blocks, cell_data=data)


def write(filename, mesh: meshio.Mesh, radius=None, append: bool = False) -> None:
    points = np.asarray(mesh.points)
    if points.ndim == 2 and points.shape[1] == 2:  # a planar mesh lies in z = 0
        points = np.column_stack([points, np.zeros(len(points), points.dtype)])
    group_key = next((key for key in GROUP_KEYS if key in mesh.cell_data), None)
    found = {name: {"cells": [], "groups": [], "volumes": [], "radius": []} for name, _ in KINDS}
    left_out = set()
    for i, block in enumerate(mesh.cells):
        kind = CORNER_KINDS.get(block.type)
        if kind is None:
            left_out.add(block.type)
            continue
        count, into = len(block.data), found[kind]
        into["cells"].append(np.asarray(block.data)[:, :dict(KINDS)[kind]])
        into["groups"].append(_column(mesh, group_key, i, count, 0))
        if "gmd:volume" in mesh.cell_data:
            # A third column is padding some formats (Gmsh, VTK) add.
            into["volumes"].append(np.asarray(mesh.cell_data["gmd:volume"][i]).reshape(count, -1)[:, :2])
        if radius is not None or "gmd:radius" in mesh.cell_data:
            into["radius"].append(np.full(count, radius, np.float32) if radius is not None
                                  else _column(mesh, "gmd:radius", i, count, 0.0))
    if left_out:
        warnings.warn("%s: GMD holds line, triangle and quad cells only; left out: %s"
                      % (filename, ", ".join(sorted(left_out))), stacklevel=2)
    kinds = {name: {part: np.concatenate(arrays) if arrays else None for part, arrays in parts.items()}
             for name, parts in found.items() if parts["cells"]}
    if not kinds:
        raise GmdValueError("%s: the mesh has no line, triangle or quad cells to write" % filename)
    volumes = {name: parts["volumes"] for name, parts in kinds.items() if parts["volumes"] is not None}
    if "line" in volumes and volumes["line"].shape[1] == 1:
        volumes["line"] = volumes["line"][:, 0]
    write_mesh(filename, points, {name: parts["cells"] for name, parts in kinds.items()},
               groups={name: parts["groups"] for name, parts in kinds.items()}, volumes=volumes,
               radius=kinds.get("line", {}).get("radius"), append=append)


def _column(mesh, key, block, count, default):
    """One value per cell of a block from cell data `key` (its first column
    when it has several), or `default`."""
    if key is None or key not in mesh.cell_data:
        return np.full(count, default)
    return np.asarray(mesh.cell_data[key][block]).reshape(count, -1)[:, 0]


_registered = False


def register() -> None:
    global _registered
    if not _registered:
        meshio.register_format("gmd", [".gmd"], read, {"gmd": write})
        _registered = True
