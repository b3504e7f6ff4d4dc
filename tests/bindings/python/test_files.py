"""The binding against the C API: same bytes, same records."""
import os
import subprocess

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


def test_the_package_and_its_client_library_are_one_release():
    assert gmd.__version__ == gmd._library.kit().gmdk_version().decode()
