"""GMD among meshio's formats: meshio.read/write and python3 -m gmd convert,
on meshes meshio itself wrote (VTU, Gmsh)."""
import os
import subprocess
import sys

import numpy as np
import pytest

import gmd

meshio = pytest.importorskip("meshio")

POINTS = np.array([[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0], [0, 0, 1]], float)
CELLS = [("line", [[3, 4]]), ("triangle", [[0, 1, 2], [0, 2, 3]]), ("quad", [[0, 1, 2, 3]]),
         ("triangle6", [[0, 1, 4, 1, 4, 0]]), ("tetra", [[0, 1, 2, 4]])]
PHYSICAL = ((7,), (1, 2), (3,), (5,), (4,))


def convert(*args):
    return subprocess.run([sys.executable, "-m", "gmd", "convert", *map(str, args)], capture_output=True,
                          text=True, env=os.environ)


def corners(mesh):
    """Each cell as its corner coordinates, by kind: independent of how the
    points are numbered."""
    return {block.type: mesh.points[block.data].tolist() for block in mesh.cells}


@pytest.mark.parametrize("source", ["vtu", "msh"])
def test_convert_takes_lines_triangles_and_quads_with_gmsh_groups(tmp_path, source):
    path, out = tmp_path / ("in." + source), tmp_path / "out.gmd"
    data = {"gmsh:physical": list(PHYSICAL), "gmsh:geometrical": list(PHYSICAL)} if source == "msh" else {}
    meshio.write(path, meshio.Mesh(POINTS, CELLS, cell_data=data), file_format="gmsh22" if data else None)
    done = convert(path, out, "--radius", 0.25)
    assert done.returncode == 0, done.stderr
    assert "left out: tetra" in done.stderr
    mesh = gmd.read_mesh(out)
    assert [mesh.points[c.corners].tolist() for _, c in mesh.by_kind()] == [  # triangle6 by its corners
        POINTS[cells].tolist() for cells in ([[3, 4]], [[0, 1, 2], [0, 2, 3], [0, 1, 4]], [[0, 1, 2, 3]])]
    assert mesh.segment_radius.tolist() == [0.25]
    groups = [c.group.tolist() for _, c in mesh.by_kind()]
    assert groups == ([[7], [1, 2, 5], [3]] if source == "msh" else [[0], [0, 0, 0], [0]])


def test_meshio_reads_and_writes_gmd_with_groups_and_volumes(tmp_path):
    path, copy = tmp_path / "model.gmd", tmp_path / "copy.gmd"
    gmd.write_mesh(path, POINTS, dict(CELLS[:3]), groups={"line": 7, "triangle": [1, 2], "quad": 3},
                   volumes={"triangle": [[4, 5], [0, 0]]}, radius=0.5)
    mesh = meshio.read(path)
    assert corners(mesh) == {kind: POINTS[cells].tolist() for kind, cells in CELLS[:3]}
    assert [g.tolist() for g in mesh.cell_data["gmd:group"]] == [[7], [1, 2], [3]]
    assert mesh.cell_data["gmd:volume"][1].tolist() == [[4, 5], [0, 0]]
    assert mesh.cell_data["gmd:radius"][0].tolist() == [0.5]
    meshio.write(copy, mesh)
    assert list(gmd.open(copy)) == list(gmd.open(path))


def test_gmd_groups_become_gmsh_physical_groups(tmp_path):
    path, msh = tmp_path / "model.gmd", tmp_path / "model.msh"
    gmd.write_mesh(path, POINTS, dict(CELLS[1:3]), groups={"triangle": [1, 2], "quad": -3})
    assert convert(path, msh).returncode == 0
    mesh = meshio.read(msh)
    assert corners(mesh) == {kind: POINTS[cells].tolist() for kind, cells in CELLS[1:3]}
    assert [g.tolist() for g in mesh.cell_data["gmsh:physical"]] == [[1, 2], [-3]]


def test_convert_refuses_a_damaged_file_and_writes_nothing(tmp_path):
    path, out = tmp_path / "cut.gmd", tmp_path / "out.vtu"
    gmd.write_mesh(path, POINTS, dict(CELLS[1:2]))
    path.write_bytes(path.read_bytes()[:-3])
    done = convert(path, out)
    assert done.returncode == 1
    assert str(path) in done.stderr and "damaged at byte 48" in done.stderr
    assert not out.exists()
