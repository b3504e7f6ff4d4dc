"""A damaged or foreign file is told from a clean end, by iteration and by
read_mesh alike, and on_damage="stop" keeps what came before the damage."""
import pytest

import gmd
from model import TRIANGLE

TRIANGLES = [gmd.Triangle(TRIANGLE, group=g) for g in (1, 2, 3)]
FRAME = 48  # length, header, nine words, trailer


def spoil_word(at, value):
    return lambda good: good[:at] + value.to_bytes(4, "little", signed=True) + good[at + 4:]


DAMAGE = [  # (spoil the three good frames, stop, good records, offset, exception)
    (lambda good: good[:-10], "truncated", 2, 2 * FRAME, gmd.DamagedFileError),
    (spoil_word(2 * FRAME - 4, 99), "trailer", 1, FRAME, gmd.DamagedFileError),
    (spoil_word(2 * FRAME, 2), "short_length", 2, 2 * FRAME, gmd.DamagedFileError),
    (lambda good: b"# a README renamed x.gmd\n" * 8, "not_gmd", 0, 0, gmd.NotGmdFileError),
]


@pytest.fixture
def good_bytes(tmp_path):
    path = tmp_path / "good.gmd"
    with gmd.create(path) as out:
        for record in TRIANGLES:
            out.write(record)
    return path.read_bytes()


@pytest.mark.parametrize("spoil, stop, kept, offset, kind", DAMAGE, ids=[d[1] for d in DAMAGE])
def test_damage_is_raised_where_reading_reaches_it(tmp_path, good_bytes, spoil, stop, kept, offset, kind):
    path = tmp_path / "damaged.gmd"
    path.write_bytes(spoil(good_bytes))
    reader = gmd.open(path)
    assert len(reader) == kept
    got = []
    with pytest.raises(kind) as caught:
        for record in reader:
            got.append(record)
    assert got == TRIANGLES[:kept]
    error = caught.value
    assert (error.stop, error.offset, error.records_read, error.last_good_record, error.filename) == (
        stop, offset, kept, kept - 1, str(path))
    assert str(path) in str(error) and error.reason
    assert reader.closed

    with pytest.raises(kind, match="damaged|not a GMD"):
        gmd.read_mesh(path)
    if kind is gmd.NotGmdFileError:  # nothing to keep: raised whatever on_damage says
        with pytest.raises(kind):
            list(gmd.open(path, on_damage="stop"))
        with pytest.raises(kind):
            gmd.read_mesh(path, on_damage="stop")
        return
    assert list(gmd.open(path, on_damage="stop")) == TRIANGLES[:kept]
    mesh = gmd.read_mesh(path, on_damage="stop")
    assert mesh.triangles.group.tolist() == [1, 2, 3][:kept]
    assert (mesh.damage.stop, mesh.damage.offset) == (stop, offset)


def test_a_file_that_shrinks_while_it_is_read_is_damage(tmp_path, good_bytes):
    path = tmp_path / "shrinking.gmd"
    path.write_bytes(good_bytes)
    reader = gmd.open(path)
    path.write_bytes(good_bytes[:FRAME + 10])
    with pytest.raises(gmd.DamagedFileError) as caught:
        list(reader)
    assert (caught.value.stop, caught.value.records_read) == ("changed", 1)
