# The version of the package; libgmd and libgmdkit of the same release carry it too.
__version__ = "1.0.0"
