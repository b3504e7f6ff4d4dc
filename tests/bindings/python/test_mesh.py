"""Whole meshes as arrays: read_mesh and write_mesh through gmdkit."""
import numpy as np
import pytest

import gmd

A, B, C, D, E = [0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0], [0, 0, 5]
SAMPLE = [  # record index: record
    gmd.Triangle([C, A, B], group=1),
    gmd.Sphere([0, 0, 0], 1),
    gmd.Quad([A, B, C, D], volumes=[1, 2], group=-3),
    gmd.Segment([D, E], radius=0.5, group=4),
    gmd.Segment([A, E], radius=0.25, volume=7),
    gmd.Triangle([A, C, D], thickness=[1.0], group=5),
    gmd.Triangle([A, C, D], volumes=[5, 6], group=2),
]


def write_records(path, records):
    with gmd.create(path) as out:
        for record in records:
            out.write(record)


@pytest.mark.parametrize("merge", [False, True])
def test_read_mesh_gives_each_cell_its_corners_group_volumes_and_record(tmp_path, merge):
    path = tmp_path / "sample.gmd"
    write_records(path, SAMPLE)
    mesh = gmd.read_mesh(path, merge_points=merge)
    assert len(mesh.points) == (5 if merge else 3 + 4 + 2 + 2 + 3 + 3) and mesh.damage is None
    expected = {"line": [3, 4], "triangle": [0, 5, 6], "quad": [2]}
    for name, cells in mesh.by_kind():
        assert cells.record.tolist() == expected[name]
        np.testing.assert_array_equal(mesh.points[cells.corners],
                                      [SAMPLE[i].vertices for i in expected[name]])
        assert cells.group.tolist() == [SAMPLE[i].group for i in expected[name]]
    assert mesh.segments.volume.tolist() == [[0, 0], [7, 0]]
    assert mesh.triangles.volume.tolist() == [[0, 0], [0, 0], [5, 6]]
    assert mesh.quads.volume.tolist() == [[1, 2]]
    assert mesh.segment_radius.tolist() == [0.5, 0.25]
    assert mesh.cells["triangle"] is mesh.triangles.corners
    assert (mesh.points.dtype, mesh.triangles.corners.dtype, mesh.triangles.group.dtype) == (
        np.float32, np.int64, np.int32)


def test_a_mesh_written_from_a_mesh_keeps_its_records_in_order(tmp_path):
    first, second = tmp_path / "first.gmd", tmp_path / "second.gmd"
    records = [r for r in SAMPLE if not isinstance(r, gmd.Sphere) and r.group != 5]
    write_records(first, records)
    gmd.write_mesh(second, gmd.read_mesh(first))
    assert list(gmd.open(second)) == records


def test_write_mesh_writes_segments_triangles_then_quads_with_their_attributes(tmp_path):
    path = tmp_path / "arrays.gmd"
    points = np.array([A, B, C, D, E], np.float64)
    gmd.write_mesh(path, points, [("quad", [[0, 1, 2, 3]]), ("triangle", [[2, 0, 1], [0, 2, 3]]),
                                  ("line", [[3, 4]])],
                   groups={"triangle": [1, -2], "quad": 9}, volumes={"line": 7, "triangle": [[3, 4], [5, 6]]},
                   radius=0.125)
    assert list(gmd.open(path)) == [
        gmd.Segment([D, E], radius=0.125, volume=7),
        gmd.Triangle([C, A, B], volumes=[3, 4], group=1), gmd.Triangle([A, C, D], volumes=[5, 6], group=-2),
        gmd.Quad([A, B, C, D], group=9)]
    gmd.write_mesh(path, points, {"line": [[0, 1]]}, append=True)  # no radius: none written
    assert list(gmd.open(path))[4:] == [gmd.Segment([A, B])]


BAD_MESHES = [  # (points, cells, keywords, message)
    ([A, B, C], {"triangle": [[0, 1, 2]]}, dict(groups={"triangle": 200}), "triangle 0: group 200 outside"),
    ([A, B, C], {"triangle": [[0, 1, 3]]}, {}, "triangle 0: point index 3 out of range"),
    ([A, B, C], {"triangle": [[0, 1]]}, {}, r"shape \(m, 3\)"),
    ([A, B, C], {"tetra": [[0, 1, 2, 2]]}, {}, "no cells of kind 'tetra'"),
    ([[0, 0], [1, 1]], {"line": [[0, 1]]}, {}, r"shape \(n, 3\)"),
    ([A, B], {"line": [[0, 1]]}, dict(volumes={"line": [[1, 2]]}), "line volumes"),
]


@pytest.mark.parametrize("points, cells, keywords, message", BAD_MESHES, ids=[b[3] for b in BAD_MESHES])
def test_meshes_the_format_cannot_hold_are_refused_and_nothing_is_written(tmp_path, points, cells, keywords,
                                                                          message):
    path = tmp_path / "bad.gmd"
    with pytest.raises(gmd.GmdValueError, match=message):
        gmd.write_mesh(path, points, cells, **keywords)
    assert not path.exists() or path.stat().st_size == 0
