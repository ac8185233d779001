"""A folder that hands out its files slowly, as an online-only cloud folder
or a slow network share does: the first read of each opened file waits
before any byte comes, as the file is fetched. Everything else (listing,
sizes) answers at once, so the file looks like any other on a disk.

usage: slow_folder.py SOURCE MOUNTPOINT SECONDS  (runs until unmounted)
"""
import os
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations


class SlowFolder(Operations):
    def __init__(self, source, delay):
        self.source = source
        self.delay = delay
        self.fetched = set()  # file handles whose first read has waited
        self.lock = threading.Lock()

    def _path(self, path):
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self._path(path))
        except OSError as error:
            raise FuseOSError(error.errno)
        names = ("st_mode", "st_size", "st_nlink", "st_uid", "st_gid", "st_atime", "st_mtime", "st_ctime")
        return {name: getattr(st, name) for name in names}

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._path(path))

    def open(self, path, flags):
        return os.open(self._path(path), os.O_RDONLY)

    def read(self, path, size, offset, fh):
        with self.lock:
            first = fh not in self.fetched
            self.fetched.add(fh)
        if first:
            time.sleep(self.delay)
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        with self.lock:
            self.fetched.discard(fh)
        os.close(fh)


if __name__ == "__main__":
    source, mountpoint, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    # direct_io: every open reads through us, never from the page cache.
    FUSE(SlowFolder(source, seconds), mountpoint, foreground=True, ro=True, direct_io=True)
