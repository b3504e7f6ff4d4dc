"""The binding against the C API: same bytes, same records, mesh arrays."""
import os
import subprocess

import numpy as np
import pytest

import gmd
from model import REFERENCE

HELPER = os.environ.get("GMD_WRITE_MODEL")
needs_helper = pytest.mark.skipif(not HELPER, reason="GMD_WRITE_MODEL not set")


@needs_helper
def test_python_writes_the_bytes_the_c_api_writes(tmp_path):
    from_c, from_python = tmp_path / "c.gmd", tmp_path / "python.gmd"
    subprocess.run([HELPER, str(from_c)], check=True)
    with gmd.create(from_python) as out:
        for record in REFERENCE:
            out.write(record)
    assert from_python.read_bytes() == from_c.read_bytes()


@needs_helper
def test_python_reads_what_the_c_api_wrote(tmp_path):
    path = tmp_path / "c.gmd"
    subprocess.run([HELPER, str(path)], check=True)
    assert list(gmd.open(path)) == REFERENCE


def test_read_mesh_shares_vertices_and_keeps_file_order(tmp_path):
    path = tmp_path / "mesh.gmd"
    a, b, c, d = [0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0]
    with gmd.create(path) as out:
        out.write(gmd.Triangle([c, a, b]))
        out.write(gmd.Sphere([0, 0, 0], 1))
        out.write(gmd.Quad([a, b, c, d], volumes=[1, 2]))
        out.write(gmd.Segment([d, [0, 0, 5]], radius=0.1))
        out.write(gmd.Triangle([a, c, d], thickness=[1.0]))
    points, cells = gmd.read_mesh(path)
    np.testing.assert_array_equal(points, np.float32([c, a, b, d, [0, 0, 5]]))
    np.testing.assert_array_equal(cells["triangle"], [[0, 1, 2], [1, 0, 3]])
    np.testing.assert_array_equal(cells["quad"], [[1, 2, 0, 3]])
    np.testing.assert_array_equal(cells["line"], [[3, 4]])
    assert points.dtype == np.float32 and cells["line"].dtype == np.int64


def test_read_mesh_of_a_file_without_mesh_records(tmp_path):
    path = tmp_path / "solids.gmd"
    with gmd.create(path) as out:
        out.write(gmd.Sphere([0, 0, 0], 1))
    points, cells = gmd.read_mesh(path)
    assert points.shape == (0, 3)
    assert {kind: array.shape for kind, array in cells.items()} == {
        "line": (0, 2), "triangle": (0, 3), "quad": (0, 4)}
