"""Writes a small model with the Python binding, reads it back and prints
it, then gets the mesh part as numpy arrays. Usage: example.py [file.gmd]"""
import sys

import numpy as np

import gmd


def main(path):
    with gmd.create(path) as out:
        out.write(gmd.Tolerance(1e-4))
        out.write(gmd.GroupMaterialName("Copper", group=1))
        for i in range(3):  # a strip of triangles sharing edges
            out.write(gmd.Triangle([[i, 0, 0], [i + 1, 0, 0], [i, 1, 0]], group=1))
            out.write(gmd.Triangle([[i + 1, 0, 0], [i + 1, 1, 0], [i, 1, 0]], group=1))
        out.write(gmd.Segment([[0, 0, 0], [0, 0, -1]], radius=0.01))
        out.write(gmd.Sphere(center=[1.5, 0.5, 2], radius=0.5))

    for record in gmd.open(path):
        print(type(record).__name__, "group", record.group)

    mesh = gmd.read_mesh(path, merge_points=True)
    points, triangles = mesh.points, mesh.triangles.corners
    print(len(points), "distinct points,", len(triangles), "triangles,", len(mesh.segments), "segment")
    area = 0.5 * np.linalg.norm(np.cross(points[triangles[:, 1]] - points[triangles[:, 0]],
                                         points[triangles[:, 2]] - points[triangles[:, 0]]), axis=1).sum()
    print("surface area", area, "in groups", sorted(set(mesh.triangles.group.tolist())))
    return 0 if (len(points), area) == (9, 3.0) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "example.gmd"))
