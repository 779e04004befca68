#!/usr/bin/python3
"""A test player: a FUSE file system with a FAT volume's rules over a backing folder.

    playerfs.py MOUNTPOINT [--backing DIR] [--size 64M] [--cluster 32K]
                [--write-mbps 20] [--read-mbps 30] [--control FILE] [--fail-write K]

Mounts and stays in the foreground until unmounted (Ctrl-C, `umount MOUNTPOINT`, or
`fusermount -u MOUNTPOINT`). What it keeps to, as a small FAT32 player on USB does:
  - a fixed capacity counted in clusters, reported through statfs; a write past it
    fails with ENOSPC (the part that fits is written first);
  - names compared without case; last-write times kept in 2-second steps; no file of
    4 GiB (EFBIG); extended attributes (Wine's hidden and read-only bits) kept;
  - reads and writes share one link at the given rates (MB/s of 2^20 bytes; 0 is
    unlimited), and every read comes from here, never from the kernel's cache;
  - what was written is in the backing folder (default MOUNTPOINT.data), so a new
    mount of the same folder is the player plugged back.
Lines appended to the control file act at once: `unplug` pulls the player (every later
call fails with EIO, then the mount and its mount point go away and the process ends);
`fail-write K` fails the K-th write from then on. MOUNTPOINT/.bootsector, never listed,
holds a FAT32 boot sector of the volume: as the drive's device (dosdevices/p::) it makes
Wine call the drive FAT32.
Exit code 2 when the machine cannot mount it (no /dev/fuse, no fusepy).
"""
import argparse
import ctypes
import errno
import os
import stat
import struct
import subprocess
import sys
import threading
import time

try:
    import fusepy as fuse
except ImportError:
    try:
        import fuse
    except ImportError:
        fuse = None

FAT_LARGEST = (1 << 32) - 1
TIME_STEP_NS = 2_000_000_000
UTIME_NOW, UTIME_OMIT = (1 << 30) - 1, (1 << 30) - 2  # as nanoseconds of second 0
MB = 1 << 20
BOOT = "/.bootsector"  # opened by name, never listed: the drive's "device" for Wine


def size_arg(text):
    units = {"K": 1 << 10, "M": 1 << 20, "G": 1 << 30}
    text = text.strip().upper().removesuffix("B").removesuffix("I")
    scale = units.get(text[-1:], 1)
    return int(float(text.rstrip("KMG")) * scale)


def fold(name):
    """FAT's comparison: each character upper-cased where that keeps it one character."""
    return "".join(u if len(u := c.upper()) == 1 else c for c in name)


class Link:
    """One device: reads and writes queue for the same transfer time. A gap shorter than
    SLACK (this process's own time between calls) leaves the device busy, as on a real one."""
    SLACK = 0.02

    def __init__(self):
        self.guard = threading.Lock()
        self.free_at = 0.0

    def transfer(self, nbytes, mbps):
        if mbps <= 0 or nbytes <= 0:
            return
        with self.guard:
            self.free_at = max(time.monotonic() - self.SLACK, self.free_at) + nbytes / (mbps * MB)
            done = self.free_at
        time.sleep(max(0.0, done - time.monotonic()))


def boot_sector(size, cluster):
    """The first 2 KiB of a FAT32 volume of this size: what Wine reads to name it FAT32."""
    sector = bytearray(2048)
    sectors = size // 512
    sector[0:11] = b"\xeb\x58\x90MSWIN4.1"
    struct.pack_into("<HBHBHHBHHHII", sector, 11, 512, cluster // 512, 32, 2, 0, 0, 0xF8, 0, 63, 255, 0, sectors)
    struct.pack_into("<IHHIHH", sector, 36, sectors // (cluster // 4) + 1, 0, 0, 2, 1, 6)
    struct.pack_into("<BBBI11s8s", sector, 64, 0x80, 0, 0x29, 0x2E5A3300, b"PLAYER     ", b"FAT32   ")
    sector[510:512] = b"\x55\xaa"
    return bytes(sector)


class Player(fuse.Operations if fuse else object):
    use_ns = True
    flag_utime_omit_ok = 1  # else a time set alone (Wine's way) is dropped without a word

    def __init__(self, args):
        self.root = os.path.abspath(args.backing)
        self.mountpoint = os.path.abspath(args.mountpoint)
        self.cluster = args.cluster
        self.clusters = args.size // args.cluster
        self.write_mbps, self.read_mbps = args.write_mbps, args.read_mbps
        self.control = args.control and os.path.abspath(args.control)
        self.fail_at = args.fail_write or 0
        self.writes = 0
        self.unplugged = False
        self.link = Link()
        self.boot = boot_sector(args.size, args.cluster)
        self.guard = threading.Lock()  # the cluster count and the write counter
        self.used = self._count_used()

    # ---- clusters
    def _of(self, size):
        return -(-size // self.cluster)

    def _count_used(self):
        used = 0
        for top, dirs, files in os.walk(self.root):
            used += len(dirs) + sum(self._of(os.lstat(os.path.join(top, f)).st_size) for f in files)
        return used

    def _grow(self, old, new):
        """Takes the clusters a file of size old needs to reach size new; ENOSPC if none."""
        more = self._of(new) - self._of(old)
        if more > self.clusters - self.used:
            raise fuse.FuseOSError(errno.ENOSPC)
        self.used += more

    # ---- names
    def _real(self, path):
        real = self.root
        for part in filter(None, path.split("/")):
            here = os.path.join(real, part)
            if not os.path.lexists(here) and os.path.isdir(real):
                key = fold(part)
                here = next((os.path.join(real, n) for n in os.listdir(real) if fold(n) == key), here)
            real = here
        return real

    def __call__(self, op, *args):
        if self.unplugged and op not in ("release", "releasedir", "destroy"):
            raise fuse.FuseOSError(errno.EIO)
        return super().__call__(op, *args)

    # ---- the control file
    def init(self, path):
        if self.control:
            threading.Thread(target=self._watch, daemon=True).start()

    def _watch(self):
        done = 0
        while not self.unplugged:
            time.sleep(0.05)
            try:
                with open(self.control, "rb") as f:
                    text = f.read()
            except OSError:
                continue
            if len(text) < done:  # rewritten from the start
                done = 0
            end = text.rfind(b"\n", done) + 1
            for line in text[done:end].decode().splitlines():
                self._command(line.split())
            done = max(done, end)

    def _command(self, words):
        if words[:1] == ["unplug"]:
            self.unplugged = True
            self._unmount()
            os._exit(0)  # the kernel ends the connection: open handles fail from now on
        elif words[:1] == ["fail-write"] and len(words) == 2:
            with self.guard:
                self.fail_at = self.writes + int(words[1])

    def _unmount(self):
        libc = ctypes.CDLL(None, use_errno=True)
        if libc.umount2(self.mountpoint.encode(), 2) != 0:  # MNT_DETACH
            subprocess.run(["fusermount", "-u", "-z", self.mountpoint], check=False)
        try:
            os.rmdir(self.mountpoint)  # the drive letter leads nowhere, as on a pulled player
        except OSError:
            pass

    # ---- what Windows asks of a volume
    def statfs(self, path):
        free = self.clusters - self.used
        return {"f_bsize": self.cluster, "f_frsize": self.cluster, "f_blocks": self.clusters,
                "f_bfree": free, "f_bavail": free, "f_files": 65536, "f_ffree": 65536, "f_namemax": 255}

    def getattr(self, path, fh=None):
        if path == BOOT:
            return {"st_mode": stat.S_IFREG | 0o444, "st_nlink": 1, "st_size": len(self.boot)}
        st = os.fstat(fh) if fh is not None else os.lstat(self._real(path))
        attrs = {k: getattr(st, k) for k in ("st_mode", "st_ino", "st_nlink", "st_uid", "st_gid", "st_size")}
        attrs["st_mtime"] = st.st_mtime_ns // TIME_STEP_NS * TIME_STEP_NS
        attrs["st_atime"], attrs["st_ctime"] = st.st_atime_ns, st.st_ctime_ns
        attrs["st_blocks"] = self._of(st.st_size) * self.cluster // 512
        return attrs

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._real(path))

    def utimens(self, path, times=None):
        real, now = self._real(path), time.time_ns()
        old = os.lstat(real)
        atime, mtime = [old_ns if t == UTIME_OMIT else now if t == UTIME_NOW else t
                        for t, old_ns in zip(times or (now, now), (old.st_atime_ns, old.st_mtime_ns))]
        os.utime(real, ns=(atime, mtime // TIME_STEP_NS * TIME_STEP_NS))

    def chmod(self, path, mode):
        os.chmod(self._real(path), mode)

    def chown(self, path, uid, gid):
        pass  # FAT has no owners

    def getxattr(self, path, name, position=0):
        return os.getxattr(self._real(path), name)

    def setxattr(self, path, name, value, options, position=0):
        os.setxattr(self._real(path), name, value, options)

    def listxattr(self, path):
        return os.listxattr(self._real(path))

    def removexattr(self, path, name):
        os.removexattr(self._real(path), name)

    # ---- folders and names
    def mkdir(self, path, mode):
        with self.guard:
            self._grow(0, 1)
            try:
                os.mkdir(self._real(path), mode)
            except OSError:
                self.used -= 1
                raise

    def rmdir(self, path):
        os.rmdir(self._real(path))
        with self.guard:
            self.used -= 1

    def unlink(self, path):
        real = self._real(path)
        with self.guard:
            size = os.lstat(real).st_size
            os.unlink(real)
            self.used -= self._of(size)

    def rename(self, old, new):
        source, target = self._real(old), self._real(new)
        wanted = os.path.join(os.path.dirname(target), os.path.basename(new))
        freed = 0
        with self.guard:
            if os.path.lexists(target) and not os.path.samefile(source, target):
                freed = 1 if os.path.isdir(target) else self._of(os.lstat(target).st_size)
                if target != wanted:  # the same name in other letters: the new spelling wins
                    os.unlink(target)
            os.rename(source, wanted)
            self.used -= freed

    # ---- files
    def create(self, path, mode, fi=None):
        return os.open(self._real(path), os.O_RDWR | os.O_CREAT, mode)

    def open(self, path, flags):
        if path == BOOT:
            return 0
        return os.open(self._real(path), flags & ~(os.O_CREAT | os.O_EXCL))

    def read(self, path, size, offset, fh):
        if path == BOOT:
            return self.boot[offset:offset + size]
        data = os.pread(fh, size, offset)
        self.link.transfer(len(data), self.read_mbps)
        return data

    def write(self, path, data, offset, fh):
        with self.guard:
            self.writes += 1
            if self.writes == self.fail_at:
                raise fuse.FuseOSError(errno.EIO)
            if offset >= FAT_LARGEST:
                raise fuse.FuseOSError(errno.EFBIG)
            size = os.fstat(fh).st_size
            room = (self._of(size) + self.clusters - self.used) * self.cluster - offset
            data = data[:max(0, min(FAT_LARGEST - offset, room))]
            if not data:
                raise fuse.FuseOSError(errno.ENOSPC)
            self._grow(size, max(size, offset + len(data)))
            written = os.pwrite(fh, data, offset)
        self.link.transfer(written, self.write_mbps)
        return written

    def truncate(self, path, length, fh=None):
        if length > FAT_LARGEST:
            raise fuse.FuseOSError(errno.EFBIG)
        with self.guard:
            size = os.fstat(fh).st_size if fh is not None else os.lstat(self._real(path)).st_size
            self._grow(size, length)
            if fh is not None:
                os.ftruncate(fh, length)
            else:
                os.truncate(self._real(path), length)

    def flush(self, path, fh):
        pass

    def fsync(self, path, datasync, fh):
        pass  # every write already reached the backing folder

    def release(self, path, fh):
        if path != BOOT:
            os.close(fh)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("mountpoint")
    parser.add_argument("--backing", help="folder that holds what the player holds (default MOUNTPOINT.data)")
    parser.add_argument("--size", type=size_arg, default=size_arg("64M"))
    parser.add_argument("--cluster", type=size_arg, default=size_arg("32K"))
    parser.add_argument("--write-mbps", type=float, default=0)
    parser.add_argument("--read-mbps", type=float, default=0)
    parser.add_argument("--control", help="file whose appended lines say unplug or fail-write K")
    parser.add_argument("--fail-write", type=int, help="the K-th write fails with EIO")
    args = parser.parse_args()
    args.backing = args.backing or args.mountpoint.rstrip("/") + ".data"
    if fuse is None or not os.path.exists("/dev/fuse"):
        why = "no /dev/fuse" if fuse else "no fusepy (apt-get install python3-fusepy)"
        print(f"playerfs: cannot mount here: {why}", file=sys.stderr)
        return 2
    os.makedirs(args.backing, exist_ok=True)
    os.makedirs(args.mountpoint, exist_ok=True)
    player = Player(args)
    try:
        fuse.FUSE(player, args.mountpoint, foreground=True, direct_io=True, use_ino=True, hard_remove=True,
                  big_writes=True, max_write=1 << 17, fsname="playerfs", subtype="playerfs")
    except RuntimeError as e:
        print(f"playerfs: cannot mount {args.mountpoint}: {e}", file=sys.stderr)
        return 2
    finally:
        try:
            os.rmdir(args.mountpoint)  # gone with the player, as a drive letter goes
        except OSError:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
